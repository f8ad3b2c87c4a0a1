#include "petlist.h"

#include <algorithm>

#include "jsontext.h"
#include "petcode.h"

namespace petcalc {
namespace {

constexpr std::int64_t kRecordVersion = 1;
constexpr std::size_t kMaxNameLength = 40;  // characters

std::size_t characters(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xc0) != 0x80; }));
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string nameRefusal(std::string_view name) {
    if (!jsontext::validUtf8(name)) return "名字不是有效的 UTF-8 文字。";
    if (name.empty()) return "名字不能是空的。";
    if (characters(name) > kMaxNameLength) return "名字太长：最多 40 个字。";
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
        return "名字里不能有控制字符。";
    return {};
}

// A record's fields, or why not.
ReadPet fromRecord(const jsontext::Value& v) {
    ReadPet r;
    const jsontext::Value* version = v.member("version");
    if (v.kind != jsontext::Value::Object || !version || version->kind != jsontext::Value::Number)
        return r.refusal = "保存的宠物无法读取：不是 petcalc 的记录。", r;
    if (version->number > kRecordVersion)
        return r.newer = true, r.refusal = "这只宠物由更新版本的 petcalc 保存，这里打不开；它原样保留着。", r;
    const std::string* name = v.string("name");
    const std::string* code = v.string("code");
    if (version->number != kRecordVersion || !name || !code || v.members.size() != 3)
        return r.refusal = "保存的宠物无法读取：记录不完整。", r;
    if (!nameRefusal(*name).empty()) return r.refusal = "保存的宠物无法读取：名字无效。", r;
    DecodedPet d = decodePet(*code, kMaxKeptCodeLength);
    if (!d.pet) return r.refusal = "保存的宠物无法读取：" + d.refusal, r;
    r.pet = KeptPet{*name, std::move(*d.pet)};
    return r;
}

// A pet put in at `at`: the compared one moves with the pets after it.
void inserted(Pets& p, std::size_t at) {
    if (p.compared && *p.compared >= at) ++*p.compared;
}

}  // namespace

std::string freeName(const Pets& p) {
    for (std::size_t n = 1;; ++n) {
        std::string name = "宠物 " + std::to_string(n);
        if (std::none_of(p.pets.begin(), p.pets.end(), [&](const KeptPet& k) { return k.name == name; })) return name;
    }
}

void addPet(Pets& p) {
    p.pets.push_back({freeName(p), {}});
    p.current = p.pets.size() - 1;
}

void duplicatePet(Pets& p) {
    KeptPet copy = p.pets[p.current];
    std::string name = copy.name + " 副本";
    copy.name = nameRefusal(name).empty() ? std::move(name) : freeName(p);
    p.pets.insert(p.pets.begin() + static_cast<std::ptrdiff_t>(p.current) + 1, std::move(copy));
    inserted(p, ++p.current);
}

std::string renamePet(Pets& p, std::size_t i, std::string_view name) {
    name = trimmed(name);
    std::string why = i < p.pets.size() ? nameRefusal(name) : "没有这只宠物。";
    if (why.empty()) p.pets[i].name = name;
    return why;
}

void removePet(Pets& p, std::size_t i) {
    if (i >= p.pets.size()) return;
    p.removed.emplace(i, std::move(p.pets[i]));
    p.pets.erase(p.pets.begin() + static_cast<std::ptrdiff_t>(i));
    if (p.compared == i) p.compared.reset();
    else if (p.compared > i) --*p.compared;
    if (p.pets.empty()) p.pets.push_back({freeName(p), {}});
    if (p.current > i || p.current >= p.pets.size()) p.current = p.current == 0 ? 0 : p.current - 1;
}

bool restoreRemoved(Pets& p) {
    if (!p.removed) return false;
    const std::size_t at = std::min(p.removed->first, p.pets.size());
    p.pets.insert(p.pets.begin() + static_cast<std::ptrdiff_t>(at), std::move(p.removed->second));
    inserted(p, at);
    p.current = at;
    p.removed.reset();
    return true;
}

void switchPet(Pets& p, std::size_t i) {
    if (i < p.pets.size()) p.current = i;
}

bool comparePet(Pets& p, std::size_t i) {
    if (i >= p.pets.size()) return false;
    p.compared = i;
    return true;
}

void sortPets(Pets& p, PetColumn c) {
    const bool again = p.sort && p.sort->column == c;
    p.sort = PetSort{c, again ? !p.sort->descending : c != PetColumn::Name};
}

std::optional<std::size_t> findPet(const Pets& p, const PetState& s) {
    const auto same = std::find_if(p.pets.begin(), p.pets.end(), [&](const KeptPet& k) { return k.state == s; });
    if (same == p.pets.end()) return std::nullopt;
    return static_cast<std::size_t>(same - p.pets.begin());
}

std::string petRecord(const KeptPet& k) {
    return "{\"version\":" + std::to_string(kRecordVersion) + ",\"name\":" + jsontext::quoted(k.name) +
           ",\"code\":" + jsontext::quoted(encodePet(k.state)) + "}";
}

ReadPet readPetRecord(std::string_view record) {
    if (record.size() > kMaxKeptCodeLength + 1024) return {std::nullopt, "保存的宠物无法读取：记录太大。", false};
    const std::optional<jsontext::Value> v = jsontext::read(record);
    if (!v) return {std::nullopt, "保存的宠物无法读取：记录已损坏。", false};
    return fromRecord(*v);
}

std::string exportPets(const Pets& p) {
    std::string out = "{\"petcalc\":\"pets\",\"version\":" + std::to_string(kRecordVersion) + ",\"pets\":[";
    for (std::size_t i = 0; i < p.pets.size(); ++i) out += (i ? ",\n" : "\n") + petRecord(p.pets[i]);
    return out + "\n]}\n";
}

std::string importPets(Pets& p, std::string_view file) {
    if (file.size() > kMaxImportBytes) return std::string(kImportTooLarge);
    const std::optional<jsontext::Value> v = jsontext::read(file);
    const jsontext::Value* version = v ? v->member("version") : nullptr;
    const jsontext::Value* list = v ? v->member("pets") : nullptr;
    const std::string* kind = v ? v->string("petcalc") : nullptr;
    if (!v || !kind || *kind != "pets" || !version || version->kind != jsontext::Value::Number || !list ||
        list->kind != jsontext::Value::Array)
        return "这不是 petcalc 导出的宠物文件。";
    if (version->number > kRecordVersion) return "这个文件来自更新版本的 petcalc：请刷新页面后再导入。";
    if (version->number != kRecordVersion) return "这不是 petcalc 导出的宠物文件。";
    if (list->items.empty()) return "文件里没有宠物。";
    if (p.pets.size() + list->items.size() > kMaxPets) return "宠物太多：最多保存 1000 只。";
    std::vector<KeptPet> added;
    for (std::size_t i = 0; i < list->items.size(); ++i) {
        ReadPet r = fromRecord(list->items[i]);
        if (!r.pet) return "第 " + std::to_string(i + 1) + " 只宠物无法读取，文件没有导入。";
        added.push_back(std::move(*r.pet));
    }
    for (KeptPet& k : added) p.pets.push_back(std::move(k));
    return {};
}

}  // namespace petcalc
