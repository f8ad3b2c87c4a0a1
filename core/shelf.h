#pragma once
// The kept pets and Form1 together: each change of the list first puts the
// pet Form1 shows into it, then shows the pet the list then points at. The
// page and the replay reference run every change of "我的宠物" through here.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "form1events.h"
#include "petlist.h"

namespace petcalc {

enum class ShelfOp {
    New,        // "新建"
    Duplicate,  // "复制"
    Rename,     // the shown pet gets `text` as its name
    Remove,     // the shown pet is deleted (Restore brings it back)
    Restore,
    Switch,     // pet `index` is shown
    OpenLink,   // `text` is a link's code: added as a new pet (one step to undo), or the same pet shown
    Import,     // `text` is an exported file: its pets are added
    Compare,    // "对比": pet `index` is the one the panel's changes are measured against
    Uncompare,  // and no longer: they are against what the panel showed before
    Sort,       // the table sorted by column `index` (PetColumn), again the other way
};
// The operations by name, in the enum's order, as the page's script and
// the replay protocol name them.
inline constexpr std::string_view kShelfOpNames[] = {"new",    "duplicate", "rename",  "delete",    "restore", "switch",
                                                     "open",   "import",    "compare", "uncompare", "sort"};

// The message why not (in Chinese), and nothing changed; empty when done.
std::string onShelf(Pets& p, Form1Events& form, ShelfOp op, std::size_t index = 0, std::string_view text = {});

// The shown pet's state into the list (before it is saved), and the list's
// shown pet into Form1 (a page opened on it).
void keepShown(Pets& p, const Form1Events& form);
void showKept(const Pets& p, Form1Events& form);

// The change beside each box of the potential and the panel as the page
// shows it: against the compared pet's panel while one is picked (the
// shown pet against itself: none), else the form's own (changes.h).
std::vector<PanelChange> shownChanges(const Pets& p, const Form1Events& form);
// The same, given the form's state already read (a read of every box).
std::vector<PanelChange> shownChanges(const Pets& p, const Form1Events& form, const PetState& now);

}  // namespace petcalc
