#pragma once
// The little JSON that kept pets need (a stored record, an exported file):
// a strict reader of untrusted text and a writer. Objects, arrays, strings,
// whole numbers, true, false and null; nothing after the value; strings must
// be UTF-8 and escapes well formed; nesting and size are capped. No
// exceptions: a text that is not such JSON reads as nothing.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace petcalc::jsontext {

struct Value {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool flag = false;
    std::int64_t number = 0;  // whole numbers only
    std::string text;
    std::vector<Value> items;
    std::map<std::string, Value> members;  // a repeated key makes the text unreadable

    const Value* member(const std::string& key) const;
    const std::string* string(const std::string& key) const;
};

std::optional<Value> read(std::string_view text);

// "…" with the escapes JSON needs (", \ and control characters); the rest
// of the UTF-8 as it is.
std::string quoted(std::string_view s);

bool validUtf8(std::string_view s);

}  // namespace petcalc::jsontext
