#include "phoneentry.h"

#include <algorithm>

namespace petcalc {
namespace {

using B = Box;
constexpr EnterRow kRows[] = {
    {B::Text18, B::Text19, "", "next", false}, {B::Text19, B::Text1, "", "next", false},
    {B::Text1, B::Text2, "", "next", false},   {B::Text2, B::Text3, "", "next", false},
    {B::Text3, B::Text4, "", "next", false},   {B::Text4, B::Text5, "", "next", false},
    {B::Text5, B::Text11, "", "next", false},  {B::Text11, B::Text12, "", "next", true},
    {B::Text12, B::Text13, "", "next", true},  {B::Text13, B::Text14, "", "next", true},
    {B::Text14, B::Text15, "", "next", true},  {B::Text15, B::Text20, "", "next", true},
    {B::Text20, B::Text21, "", "next", true},  {B::Text21, B::Text22, "", "next", true},
    {B::Text22, B::Text23, "", "next", true},  {B::Text23, std::nullopt, "Command1", "done", true},
    // The observed HP, typed for the growth estimate.
    {B::Text6, std::nullopt, "Command4", "go", false},
};

constexpr bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::span<const EnterRow> enterRows() { return kRows; }

const EnterRow* findEnter(Box b) {
    const auto* row = std::find_if(std::begin(kRows), std::end(kRows), [b](const EnterRow& r) { return r.box == b; });
    return row == std::end(kRows) ? nullptr : row;
}

std::string_view pastedCode(std::string_view text) {
    if (text.size() > kMaxPastedLength) return text;  // the decoder refuses it by its length
    if (const std::size_t hash = text.find('#'); hash != std::string_view::npos) {
        text.remove_prefix(hash + 1);
        return text.substr(0, static_cast<std::size_t>(std::find_if(text.begin(), text.end(), blank) - text.begin()));
    }
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace petcalc
