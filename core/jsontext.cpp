#include "jsontext.h"

namespace petcalc::jsontext {
namespace {

constexpr int kDeepest = 16;

class Reader {
public:
    explicit Reader(std::string_view t) : m_t(t) {}

    bool value(Value& v, int depth) {
        if (depth > kDeepest) return false;
        blanks();
        if (m_at >= m_t.size()) return false;
        const char c = m_t[m_at];
        if (c == '{') return object(v, depth);
        if (c == '[') return array(v, depth);
        if (c == '"') return v.kind = Value::String, string(v.text);
        if (word("true")) return v.kind = Value::Bool, v.flag = true;
        if (word("false")) return v.kind = Value::Bool, true;
        if (word("null")) return true;
        return number(v);
    }
    bool done() {
        blanks();
        return m_at == m_t.size();
    }

private:
    void blanks() {
        while (m_at < m_t.size() && (m_t[m_at] == ' ' || m_t[m_at] == '\t' || m_t[m_at] == '\n' || m_t[m_at] == '\r'))
            ++m_at;
    }
    bool eat(char c) {
        blanks();
        if (m_at < m_t.size() && m_t[m_at] == c) return ++m_at, true;
        return false;
    }
    bool word(std::string_view w) {
        if (m_t.substr(m_at, w.size()) != w) return false;
        m_at += w.size();
        return true;
    }
    bool object(Value& v, int depth) {
        v.kind = Value::Object;
        ++m_at;
        if (eat('}')) return true;
        do {
            std::string key;
            blanks();
            if (m_at >= m_t.size() || m_t[m_at] != '"' || !string(key) || !eat(':')) return false;
            Value item;
            if (!value(item, depth + 1) || !v.members.emplace(std::move(key), std::move(item)).second) return false;
        } while (eat(','));
        return eat('}');
    }
    bool array(Value& v, int depth) {
        v.kind = Value::Array;
        ++m_at;
        if (eat(']')) return true;
        do {
            v.items.emplace_back();
            if (!value(v.items.back(), depth + 1)) return false;
        } while (eat(','));
        return eat(']');
    }
    bool number(Value& v) {
        const std::size_t start = m_at;
        const bool negative = m_at < m_t.size() && m_t[m_at] == '-';
        if (negative) ++m_at;
        std::int64_t n = 0;
        std::size_t digits = 0;
        for (; m_at < m_t.size() && m_t[m_at] >= '0' && m_t[m_at] <= '9'; ++m_at, ++digits) {
            if (digits == 15) return false;  // far beyond any count or version
            n = n * 10 + (m_t[m_at] - '0');
        }
        if (digits == 0 || (digits > 1 && m_t[start + negative] == '0')) return false;
        v.kind = Value::Number;
        v.number = negative ? -n : n;
        return true;
    }
    int hex4() {
        if (m_at + 4 > m_t.size()) return -1;
        int v = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = m_t[m_at++];
            const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0) return -1;
            v = v << 4 | d;
        }
        return v;
    }
    static void utf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xc0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3f));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xe0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3f));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | cp >> 18);
            out += static_cast<char>(0x80 | (cp >> 12 & 0x3f));
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3f));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        }
    }
    bool string(std::string& out) {
        ++m_at;  // the opening quote
        while (m_at < m_t.size()) {
            const char c = m_t[m_at++];
            if (c == '"') return validUtf8(out) || (out.clear(), false);
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_t.size()) return false;
            const char e = m_t[m_at++];
            const std::string_view simple = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
            if (const std::size_t k = simple.find(e); k != std::string_view::npos) {
                out += meant[k];
                continue;
            }
            if (e != 'u') return false;
            int cp = hex4();
            if (cp < 0 || (cp >= 0xdc00 && cp <= 0xdfff)) return false;
            if (cp >= 0xd800 && cp <= 0xdbff) {  // a pair
                if (!word("\\u")) return false;
                const int low = hex4();
                if (low < 0xdc00 || low > 0xdfff) return false;
                cp = 0x10000 + ((cp - 0xd800) << 10) + (low - 0xdc00);
            }
            utf8(out, static_cast<std::uint32_t>(cp));
        }
        return false;
    }

    std::string_view m_t;
    std::size_t m_at = 0;
};

}  // namespace

const Value* Value::member(const std::string& key) const {
    const auto it = members.find(key);
    return it == members.end() ? nullptr : &it->second;
}

const std::string* Value::string(const std::string& key) const {
    const Value* v = member(key);
    return v && v->kind == String ? &v->text : nullptr;
}

std::optional<Value> read(std::string_view text) {
    Reader r(text);
    Value v;
    if (!r.value(v, 0) || !r.done()) return std::nullopt;
    return v;
}

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + '"';
}

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80 ? 0 : (c & 0xe0) == 0xc0 ? 1 : (c & 0xf0) == 0xe0 ? 2 : (c & 0xf8) == 0xf0 ? 3 : -1;
        if (n < 0 || i + n >= s.size()) return false;
        std::uint32_t cp = n == 0 ? c : c & (0x3f >> n);
        for (int k = 1; k <= n; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xc0) != 0x80) return false;
            cp = cp << 6 | (d & 0x3f);
        }
        constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[n] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

}  // namespace petcalc::jsontext
