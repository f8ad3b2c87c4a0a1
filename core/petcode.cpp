#include "petcode.h"

#include <array>
#include <cstdint>
#include <string>

#include "jsontext.h"
#include "numtext.h"

namespace petcalc {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
// Box text made only of these goes four bits a character; 15 ends it.
constexpr std::string_view kDigits = "0123456789.-+E ";
constexpr unsigned kDigitsEnd = 15;

// The variable behind each box, Text1 .. Text23: the ones the operations
// read it into, and the results the panel shows in it.
constexpr std::array<Var, kBoxCount> kBoxVar = {
    Var::GZ, Var::fz, Var::tl, Var::FL, Var::MZ, Var::hp, Var::MP, Var::SH, Var::fy, Var::sd, Var::tz, Var::ml,
    Var::LL, Var::nl, Var::mj, Var::lli, Var::qn, Var::lv, Var::cz, Var::zbgj, Var::zbfy, Var::zbsd, Var::zbll};

// How a box and its variable are written: the first of these that gives
// both back exactly.
enum Tag : unsigned {
    kParsed = 0,   // the text; the variable is what reading the box gives
    kDisplay = 1,  // the variable; the text is its display format
    kCompact = 2,  // the variable; the text is its compact format
    kBoth = 3,     // the variable, then the text
};

class Bits {
public:
    void put(std::uint32_t v, int n) {
        for (int i = n - 1; i >= 0; --i) m_bits.push_back((v >> i) & 1);
    }
    std::string code() const {
        std::string out(1, kCodeVersion);
        for (std::size_t i = 0; i < m_bits.size(); i += 6) {
            unsigned c = 0;
            for (std::size_t k = i; k < i + 6; ++k) c = c << 1 | (k < m_bits.size() ? m_bits[k] : 0);
            out += kAlphabet[c];
        }
        return out;
    }

private:
    std::basic_string<unsigned char> m_bits;
};

void putText(Bits& b, std::string_view t) {
    if (t.find_first_not_of(kDigits) == std::string_view::npos) {
        b.put(0, 1);
        for (char c : t) b.put(static_cast<std::uint32_t>(kDigits.find(c)), 4);
        b.put(kDigitsEnd, 4);
        return;
    }
    b.put(1, 1);
    for (std::size_t n = t.size();; n >>= 7) {  // seven bits a group, low first; the eighth says more follow
        b.put(static_cast<std::uint32_t>((n & 0x7f) | (n > 0x7f ? 0x80 : 0)), 8);
        if (n <= 0x7f) break;
    }
    for (char c : t) b.put(static_cast<unsigned char>(c), 8);
}

bool same(float a, float b) { return bitsOf(a) == bitsOf(b); }
float readBack(std::string_view t) { return storeRound(parseNumber(t)); }

constexpr const char* kCutShort = "链接不完整（可能没有复制全），无法打开。";
constexpr const char* kDamaged = "链接已损坏，无法打开。";

// Reads a code's bits. The first failure is kept as the refusal; after it
// every read gives 0, so every loop still ends (the page's module has no
// exceptions).
class Reader {
public:
    explicit Reader(std::string_view payload) : m_payload(payload) {}
    std::uint32_t get(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n && m_why.empty(); ++i, ++m_at) {
            if (m_at >= m_payload.size() * 6) return refuse(kCutShort), 0;
            const auto c = static_cast<unsigned>(kAlphabet.find(m_payload[m_at / 6]));
            v = v << 1 | ((c >> (5 - m_at % 6)) & 1);
        }
        return m_why.empty() ? v : 0;
    }
    void refuse(std::string why) {
        if (m_why.empty()) m_why = std::move(why);
    }
    // What is left after the last field: only the bits that fill the last
    // character.
    void end() {
        if (m_payload.size() * 6 - m_at >= 6) refuse("链接末尾有多余的内容，无法打开。");
    }
    const std::string& why() const { return m_why; }

private:
    std::string_view m_payload;
    std::size_t m_at = 0;  // in bits
    std::string m_why;
};

std::string getText(Reader& r, std::size_t limit) {
    std::string t;
    if (r.get(1) == 0) {
        for (std::uint32_t d; (d = r.get(4)) != kDigitsEnd;) {
            if (d >= kDigits.size() || t.size() >= limit) return r.refuse(kDamaged), t;
            t += kDigits[d];
        }
        return t;
    }
    std::size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint32_t g = r.get(8);
        if (shift > 28) return r.refuse(kDamaged), t;
        n |= static_cast<std::size_t>(g & 0x7f) << shift;
        if (!(g & 0x80)) break;
    }
    if (n > limit) return r.refuse(kCutShort), t;
    t.reserve(n);
    for (std::size_t i = 0; i < n; ++i) t += static_cast<char>(r.get(8));
    if (!jsontext::validUtf8(t)) r.refuse("链接里的文字不是有效的 UTF-8 编码，无法打开。");
    return t;
}

}  // namespace

std::string encodePet(const PetState& s) {
    Bits b;
    for (bool c : s.checks) b.put(c, 1);
    b.put(s.live, 1);
    const float flv = s.sheet.flv;
    b.put(same(flv, s.sheet.lv) ? 0 : 1, 1);
    if (!same(flv, s.sheet.lv)) b.put(bitsOf(flv), 32);
    for (int n = 1; n <= kBoxCount; ++n) {
        const std::string& t = s.text(boxAt(n));
        const float v = at(s.sheet, kBoxVar[n - 1]);
        const Tag tag = same(readBack(t), v) ? kParsed
                        : t == displayFormat(v) ? kDisplay
                        : t == compactFormat(v) ? kCompact
                                                : kBoth;
        b.put(tag, 2);
        if (tag != kParsed) b.put(bitsOf(v), 32);
        if (tag == kParsed || tag == kBoth) putText(b, t);
    }
    return b.code();
}

DecodedPet decodePet(std::string_view code, std::size_t maxLength) {
    const auto refused = [](std::string why) { return DecodedPet{std::nullopt, std::move(why)}; };
    if (code.empty()) return refused("链接里没有宠物。");
    if (code.size() > maxLength)
        return refused("链接太长（超过 " + std::to_string(maxLength) + " 个字符），无法打开。");
    if (code[0] != kCodeVersion) {
        if (code[0] > kCodeVersion && code[0] <= '9')
            return refused("这个链接来自更新版本的 petcalc：请刷新页面，再打开一次。");
        return refused("这不是 petcalc 的宠物链接（版本不对），无法打开。");
    }
    const std::string_view payload = code.substr(1);
    if (const std::size_t bad = payload.find_first_not_of(kAlphabet); bad != std::string_view::npos)
        return refused("链接里有无效的字符（第 " + std::to_string(bad + 2) + " 个），无法打开。");
    Reader r(payload);
    PetState s;
    for (bool& c : s.checks) c = r.get(1);
    s.live = r.get(1);
    const bool ownFlv = r.get(1);
    if (ownFlv) s.sheet.flv = fromBits(r.get(32));
    for (int n = 1; n <= kBoxCount && r.why().empty(); ++n) {
        const auto tag = static_cast<Tag>(r.get(2));
        float& v = at(s.sheet, kBoxVar[n - 1]);
        std::string& t = s.text(boxAt(n));
        if (tag != kParsed) v = fromBits(r.get(32));
        if (tag == kParsed || tag == kBoth) t = getText(r, code.size());
        if (tag == kParsed) v = readBack(t);
        if (tag == kDisplay) t = displayFormat(v);
        if (tag == kCompact) t = compactFormat(v);
    }
    if (!ownFlv) s.sheet.flv = s.sheet.lv;
    r.end();
    if (!r.why().empty()) return refused(r.why());
    // One pet, one code: any other spelling of it is not one we wrote.
    if (encodePet(s) != code) return refused(kDamaged);
    return {s, {}};
}

}  // namespace petcalc
