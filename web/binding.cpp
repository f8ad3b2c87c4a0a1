// The WebAssembly module's whole surface toward the page. The page (app.js)
// owns the widgets, the pointer and the timers; the core owns every rule,
// every number and every message. Nothing else crosses.
//
// Exported, called by the page (n is the number in a control's name):
//   _initialize()                 once, before anything else
//   pc_start()                    Form1 is in the page: make its wiring
//   pc_button_down(n, button, over), pc_button_up(n, button, over)
//                                 a mouse button (the DOM's number: 0 primary,
//                                 1 middle, 2 secondary, 3 back, 4 forward)
//                                 went down / up, delivered to CommandN; over:
//                                 the pointer is over it (pointer.h decides)
//   pc_key(n)                     the keyboard's click of CommandN
//   pc_pointer_lost()             no release can come any more (pointer
//                                 cancelled or capture lost, window blurred,
//                                 page hidden)
//   pc_tick(n)                    TimerN fell due
//   pc_text_changed(n)            TextN's text may have changed
//   pc_check_changed()            a check box was clicked (a step to undo)
//   pc_load_begin(), pc_load_record() -> 1 or 0, pc_load_end(current)
//                                 the kept pets, each stored record handed in
//                                 (text) in order: 0 for one that cannot be
//                                 read, set aside; then the pet `current` is
//                                 shown as a reopened page shows it (undo
//                                 starts there)
//   pc_open()                     the code handed in, opened from a link as a
//                                 pet of the list; a refusal is a notice "bad link"
//   pc_paste()                    the text handed in, pasted into "粘贴链接" or
//                                 shared to the installed page: its link's code
//                                 opened as pc_open does
//   pc_shelf(op, index)           a change of "我的宠物" (ShelfOp's number; a
//                                 rename's name handed in); a refusal is a
//                                 notice "bad name" or "pets"
//   pc_import_fits(bytes) -> 1 or 0, pc_import()
//                                 a file of that size can be read (0: a notice
//                                 "bad file"); its bytes handed in, imported
//   pc_export()                   every pet as a file: file(...)
//   pc_undo(), pc_redo()          "撤销", "重做"
//   pc_notice(k)                  shows the notice k (notices.h), in the
//                                 core's words
//   pc_plan(mode, target)         the planner was set: mode 0 "分配剩余潜能",
//                                 1 "全部重新分配"; target a Stat (planner.h)
//   pc_apply()                    "应用" of the plan shown
//
// Imported from the page, module "page" (UTF-8 text as pointer and length):
//   text(n, buffer, capacity) -> length   TextN's text; copies it when it fits
//   set_text(n, pointer, length)          writes TextN (no event needed)
//   checked(n) -> 0 or 1                  CheckN's state
//   show_flag(on)                         the live-recompute flag, shown on Label21
//   start_timer(n, ms), stop_timer(n)     TimerN every ms from now on / off
//   open_growth_table()                   Form2: made anew, or brought forward
//   fault(kind, kindLength, message, messageLength)
//                                         shows the message; the repeats have
//                                         stopped already
//   code(buffer, capacity) -> length      what the page hands in (a code, a
//                                         record, a name, a file), copied when it fits
//   file(pointer, length)                 the exported file to download
//   notice(kind, kindLength, text, textLength)
//                                         shows a notice (notices.h)
// and after every exported call, when they changed since the last:
//   pet(pointer, length)                  the current pet's code (to keep it)
//   history(canUndo, canRedo)             whether there is a step to undo, redo
//   list(names, namesLength, records, recordsLength, current, compared)
//                                         the pets' names and stored records, a
//                                         line each; the one shown and the one
//                                         compared (-1: none)
//   summary(n, value, valueLength, change, changeLength)
//                                         TextN of the potential and the panel:
//                                         its text and its change ("" for none)
//   plan(slot, text, length)              a cell of the planner: 0-4 the points
//                                         added, 5-9 the totals, 10-16 the seven
//                                         boxes after it, 17-23 their changes,
//                                         24 why there is no plan ("": a plan)
// and, as the planner is made again:
//   minimum(stat, buffer, capacity) -> length
//                                         the minimum typed for a Stat

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "changes.h"
#include "fault.h"
#include "form1events.h"
#include "notices.h"
#include "numtext.h"
#include "petcode.h"
#include "phoneentry.h"
#include "shelf.h"
#include "planner.h"
#include "windowtable.h"

#define PAGE_IMPORT(name) __attribute__((import_module("page"), import_name(#name)))

extern "C" {
PAGE_IMPORT(text) int page_text(int n, char* buffer, int capacity);
PAGE_IMPORT(set_text) void page_set_text(int n, const char* text, int length);
PAGE_IMPORT(checked) int page_checked(int n);
PAGE_IMPORT(set_checked) void page_set_checked(int n, int on);
PAGE_IMPORT(show_flag) void page_show_flag(int on);
PAGE_IMPORT(start_timer) void page_start_timer(int n, int intervalMs);
PAGE_IMPORT(stop_timer) void page_stop_timer(int n);
PAGE_IMPORT(open_growth_table) void page_open_growth_table();
PAGE_IMPORT(fault) void page_fault(const char* kind, int kindLength, const char* message, int messageLength);
PAGE_IMPORT(code) int page_code(char* buffer, int capacity);
PAGE_IMPORT(notice) void page_notice(const char* kind, int kindLength, const char* text, int textLength);
PAGE_IMPORT(pet) void page_pet(const char* code, int length);
PAGE_IMPORT(history) void page_history(int canUndo, int canRedo);
PAGE_IMPORT(list) void page_list(const char* names, int namesLength, const char* records, int recordsLength, int current,
                                 int compared);
PAGE_IMPORT(file) void page_file(const char* text, int length);
PAGE_IMPORT(summary) void page_summary(int n, const char* value, int valueLength, const char* change, int changeLength);
PAGE_IMPORT(plan) void page_plan(int slot, const char* text, int length);
PAGE_IMPORT(minimum) int page_minimum(int stat, char* buffer, int capacity);
}

namespace petcalc {
namespace {

int length(std::string_view s) { return static_cast<int>(s.size()); }

// A text the page copies into a buffer: asked again with room for it when
// it is longer than a number ever is.
std::string pageText(int (*get)(int, char*, int), int n) {
    std::string t(64, '\0');
    int k = get(n, t.data(), length(t));
    if (k > length(t)) t.resize(static_cast<std::size_t>(k)), k = get(n, t.data(), k);
    t.resize(static_cast<std::size_t>(k));
    return t;
}

class Page : public Form, public Platform {
public:
    std::string text(Box b) const override { return pageText(page_text, boxNumber(b)); }
    void setText(Box b, const std::string& t) override { page_set_text(boxNumber(b), t.data(), length(t)); }
    bool isChecked(Check c) const override { return page_checked(static_cast<int>(c)) != 0; }
    void setChecked(Check c, bool on) override { page_set_checked(static_cast<int>(c), on ? 1 : 0); }
    void showLiveRecompute(bool on) override { page_show_flag(on ? 1 : 0); }
    void reportFault(const Fault& f) override {
        const std::string_view kind = faultKindName(f.kind);
        const std::string message = faultMessage(f);
        page_fault(kind.data(), length(kind), message.data(), length(message));
    }

    void startTimer(int n) override { page_start_timer(n, kRepeatIntervalMs); }
    void stopTimer(int n) override { page_stop_timer(n); }
    void openGrowthTable() override { page_open_growth_table(); }
};

Page page;
Form1Events* events = nullptr;
Pets pets;
Pets loading;       // the pets read so far while the page hands them in
bool relist = true; // a change of the list: every record written anew

std::string command(int n) { return "Command" + std::to_string(n); }

// What the page hands in. One longer than `cap` is not copied: its length
// alone refuses it.
std::string handed(std::size_t cap = kMaxCodeLength) {
    const auto n = static_cast<std::size_t>(page_code(nullptr, 0));
    std::string text(std::min(n, cap + 1), '\0');
    if (n <= cap) page_code(text.data(), length(text));
    return text;
}

// A stored record, or the bare code the page kept before it kept a list.
bool readKept(const std::string& text) {
    ReadPet r = readPetRecord(text);
    if (!r.pet && !text.starts_with('{'))
        if (DecodedPet d = decodePet(text, kMaxKeptCodeLength); d.pet) r.pet = KeptPet{freeName(loading), std::move(*d.pet)};
    if (r.pet) loading.pets.push_back(std::move(*r.pet));
    return r.pet.has_value();
}

void notice(std::string_view kind, std::string_view text) {
    page_notice(kind.data(), length(kind), text.data(), length(text));
}

// The list, when it or the shown pet changed: only the shown pet's record
// is written anew between changes of the list.
void tellList() {
    static std::vector<std::string> records;
    static std::string told;
    keepShown(pets, *events);
    if (relist) {
        records.clear();
        for (const KeptPet& k : pets.pets) records.push_back(petRecord(k));
    } else {
        records[pets.current] = petRecord(pets.pets[pets.current]);
    }
    std::string names, lines;
    for (std::size_t i = 0; i < records.size(); ++i)
        names += (i ? "\n" : "") + pets.pets[i].name, lines += (i ? "\n" : "") + records[i];
    const int compared = pets.compared ? static_cast<int>(*pets.compared) : -1;
    std::string now = lines + '\n' + std::to_string(pets.current) + ' ' + std::to_string(compared);
    if (now == told) return;
    told = std::move(now);
    relist = false;
    page_list(names.data(), length(names), lines.data(), length(lines), static_cast<int>(pets.current), compared);
}

// The planner as the page set it; its minimums are read as it is made.
PlanRequest planner;

// The summary and the planner's cells, each told when its text changed.
void tellPanel() {
    static std::array<std::string, 2 * kPanelBoxes.size()> toldSummary;
    static std::array<std::string, 25> toldPlan;
    static bool first = true;  // every cell told once: the page starts with none
    if (first) toldPlan.fill("\x7f"), first = false;
    const PetState now = events->state();
    for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) {
        const Box b = kPanelBoxes[i].box;
        std::string value = now.text(b), change;
        for (const PanelChange& c : shownChanges(pets, *events))
            if (c.box == b) change = c.text;
        if (value == toldSummary[2 * i] && change == toldSummary[2 * i + 1]) continue;
        toldSummary[2 * i] = value, toldSummary[2 * i + 1] = change;
        page_summary(boxNumber(b), value.data(), length(value), change.data(), length(change));
    }
    for (int k = 0; k < kStats; ++k) planner.minimum[k] = pageText(page_minimum, k);
    const PlanAnswer a = makePlan(now, planner);
    std::array<std::string, 25> cells;
    if (a.plan) {
        for (int i = 0; i < 5; ++i)
            cells[i] = changeText(0, a.plan->added[i]).value_or(" 0"), cells[5 + i] = displayFormat(a.plan->totals[i]);
        for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) {
            const Var v = kPanelBoxes[i].var;
            cells[10 + i] = displayFormat(at(a.plan->after, v));
            cells[17 + i] = changeText(at(a.plan->now, v), at(a.plan->after, v)).value_or("");
        }
    }
    cells[24] = a.plan ? "" : a.message;
    for (std::size_t k = 0; k < cells.size(); ++k)
        if (cells[k] != toldPlan[k]) toldPlan[k] = cells[k], page_plan(static_cast<int>(k), cells[k].data(), length(cells[k]));
}

// After every call: what changed of the pet's code and the history.
void tell() {
    static std::string told;
    static int toldHistory = -1;
    const std::string code = encodePet(events->state());
    // Told before the page hears it: the page may call back in.
    if (code != told) told = code, page_pet(told.data(), length(told));
    const int h = events->history().canUndo() + 2 * events->history().canRedo();
    if (h != toldHistory) toldHistory = h, page_history(h & 1, h >> 1);
    tellList();
    tellPanel();
}

// A button as the DOM numbers it, or none for a number it does not use.
std::optional<MouseButton> mouseButton(int domButton) {
    constexpr MouseButton kByNumber[] = {MouseButton::Left, MouseButton::Middle, MouseButton::Right,
                                         MouseButton::Back, MouseButton::Forward};
    if (domButton < 0 || domButton >= static_cast<int>(std::size(kByNumber))) return std::nullopt;
    return kByNumber[domButton];
}

// A change of the list, and what it refused.
void shelf(ShelfOp op, std::size_t index, std::string_view kind, const std::string& text) {
    const std::string why = onShelf(pets, *events, op, index, text);
    if (!why.empty()) notice(kind, why);
    relist = true;
    tell();
}

}  // namespace
}  // namespace petcalc

using petcalc::command;
using petcalc::shelf;
using petcalc::events;
using petcalc::mouseButton;
using petcalc::tell;

extern "C" {
__attribute__((export_name("pc_start"))) void pc_start() {
    static petcalc::Form1Events wiring(petcalc::page, petcalc::page);
    events = &wiring;
    tell();
}
__attribute__((export_name("pc_button_down"))) void pc_button_down(int n, int button, int over) {
    if (const auto b = mouseButton(button)) events->buttonDown(command(n), *b, over != 0);
    tell();
}
__attribute__((export_name("pc_button_up"))) void pc_button_up(int n, int button, int over) {
    if (const auto b = mouseButton(button)) events->buttonUp(command(n), *b, over != 0);
    tell();
}
__attribute__((export_name("pc_key"))) void pc_key(int n) { events->keyClick(command(n)), tell(); }
__attribute__((export_name("pc_pointer_lost"))) void pc_pointer_lost() { events->pointerLost(), tell(); }
__attribute__((export_name("pc_tick"))) void pc_tick(int n) { events->tick(n), tell(); }
__attribute__((export_name("pc_text_changed"))) void pc_text_changed(int n) {
    if (n >= 1 && n <= petcalc::kBoxCount) events->textChanged(petcalc::boxAt(n));
    tell();
}
__attribute__((export_name("pc_check_changed"))) void pc_check_changed() { events->checkChanged(), tell(); }
__attribute__((export_name("pc_load_begin"))) void pc_load_begin() { petcalc::loading.pets.clear(); }
__attribute__((export_name("pc_load_record"))) int pc_load_record() {
    return petcalc::readKept(petcalc::handed(petcalc::kMaxKeptCodeLength + 1024)) ? 1 : 0;
}
__attribute__((export_name("pc_load_end"))) void pc_load_end(int current) {
    using petcalc::pets;
    pets = petcalc::loading.pets.empty() ? petcalc::Pets{} : std::move(petcalc::loading);
    pets.current = current > 0 && static_cast<std::size_t>(current) < pets.pets.size() ? static_cast<std::size_t>(current) : 0;
    petcalc::showKept(pets, *events);
    petcalc::relist = true;
    tell();
}
__attribute__((export_name("pc_open"))) void pc_open() {
    shelf(petcalc::ShelfOp::OpenLink, 0, petcalc::kBadLink, petcalc::handed());
}
__attribute__((export_name("pc_paste"))) void pc_paste() {
    const std::string text = petcalc::handed(petcalc::kMaxPastedLength);
    shelf(petcalc::ShelfOp::OpenLink, 0, petcalc::kBadLink, std::string(petcalc::pastedCode(text)));
}
__attribute__((export_name("pc_shelf"))) void pc_shelf(int op, int index) {
    using petcalc::ShelfOp;
    if (op < 0 || op > static_cast<int>(ShelfOp::Uncompare) || op == static_cast<int>(ShelfOp::OpenLink) ||
        op == static_cast<int>(ShelfOp::Import))
        return;
    const auto o = static_cast<ShelfOp>(op);
    shelf(o, static_cast<std::size_t>(std::max(index, 0)), o == ShelfOp::Rename ? "bad name" : "pets",
          o == ShelfOp::Rename ? petcalc::handed() : std::string());
}
__attribute__((export_name("pc_import_fits"))) int pc_import_fits(double bytes) {
    if (bytes <= static_cast<double>(petcalc::kMaxImportBytes)) return 1;
    petcalc::notice("bad file", petcalc::kImportTooLarge);
    return 0;
}
__attribute__((export_name("pc_import"))) void pc_import() {
    shelf(petcalc::ShelfOp::Import, 0, "bad file", petcalc::handed(petcalc::kMaxImportBytes));
}
__attribute__((export_name("pc_export"))) void pc_export() {
    petcalc::keepShown(petcalc::pets, *events);
    const std::string file = petcalc::exportPets(petcalc::pets);
    page_file(file.data(), petcalc::length(file));
}
__attribute__((export_name("pc_undo"))) void pc_undo() { events->undo(), tell(); }
__attribute__((export_name("pc_redo"))) void pc_redo() { events->redo(), tell(); }
__attribute__((export_name("pc_notice"))) void pc_notice(int k) {
    if (k >= 0 && k < static_cast<int>(std::size(petcalc::kNotices)))
        petcalc::notice(petcalc::kNotices[k].kind, petcalc::kNotices[k].text);
}
}

// The planner: set, and its "应用".
extern "C" {
__attribute__((export_name("pc_plan"))) void pc_plan(int mode, int target) {
    petcalc::planner.mode = mode == 1 ? petcalc::PlanMode::All : petcalc::PlanMode::Unspent;
    if (target >= 0 && target < petcalc::kStats) petcalc::planner.target = static_cast<petcalc::Stat>(target);
    tell();
}
__attribute__((export_name("pc_apply"))) void pc_apply() { events->applyPlan(petcalc::planner), tell(); }
}
