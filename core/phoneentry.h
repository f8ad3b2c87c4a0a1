#pragma once
// Typing a pet on a phone in one pass. Each box a player types a number
// into asks for the number keypad; its Enter key goes down the phone's rows
// (level, growth, the five aptitudes, the five points, the equipment) and,
// after the last, is "确定"; in "气血" it is "计算成长". Some keypads have no
// minus sign, so the boxes that may take one offer it in one tap. A shared
// link pasted (or handed to the installed page) opens as the link does.
// The page writes its boxes from here and the replay reference plays Enter
// from here, so both walk alike.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "petcode.h"
#include "petsheet.h"

namespace petcalc {

struct EnterRow {
    Box box;
    // What Enter does: the focus to `next` with its text selected, or,
    // with no next, the keyboard's click of `button` (the keypad closes).
    std::optional<Box> next;
    std::string_view button;
    std::string_view hint;  // the key's label, as enterkeyhint names it
    // A point count goes below 0 when the pet moves down past the level its
    // points were placed at, and a piece of equipment may cost a value:
    // these boxes take a minus sign.
    bool minus;
};

// Every box a player types a number into, in the phone's order.
std::span<const EnterRow> enterRows();
// That box's row, or null: a box that only shows a value (Enter does nothing).
const EnterRow* findEnter(Box b);

// The minus key's caption and accessible name.
inline constexpr std::string_view kMinusCaption = "−";
inline constexpr std::string_view kMinusName = "负号";

// "我的宠物"'s box that takes a pasted link or its bare code.
inline constexpr std::string_view kPasteCaption = "粘贴链接";
// A pasted text longer than a link can be is refused by its length alone.
inline constexpr std::size_t kMaxPastedLength = kMaxCodeLength + 2048;

// The code in a pasted text: what follows the first "#" up to a blank (a
// link, alone or within a chat message), else the whole text less the
// blanks around it; a text over kMaxPastedLength as it is. The decoder
// then judges it as it judges a link's.
std::string_view pastedCode(std::string_view text);

}  // namespace petcalc
