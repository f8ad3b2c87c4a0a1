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
//                                 starts there), the table sorted as the
//                                 text handed in says (petSortText)
//   pc_open()                     the code handed in, opened from a link as a
//                                 pet of the list; a refusal is a notice "bad link"
//   pc_paste()                    the text handed in, pasted into "粘贴链接" or
//                                 shared to the installed page: its link's code
//                                 opened as pc_open does
//   pc_shelf(op, index)           a change of "我的宠物" (a ShelfOp; a
//                                 rename's name handed in); a refusal is a
//                                 notice of refusalKind(op)
//   pc_import_fits(bytes) -> 1 or 0, pc_import()
//                                 a file of that size can be read (0: a notice
//                                 "bad file"); its bytes handed in, imported
//   pc_export()                   every pet as a file: file(...)
//   pc_undo(), pc_redo()          "撤销", "重做"
//   pc_notice(k)                  shows the Notice k (notices.h), in the
//                                 core's words
//   pc_plan(mode, target)         the planner was set: a PlanMode and a Stat
//                                 (planner.h), the minimums handed in, a line
//                                 each by Stat
// Each enum comes to the script by name, in names.js (written with the page
// from the core's tables): the script writes no number that stands for one.
//   pc_apply()                    "应用" of the plan shown
//   pc_warm()                     at idle: every operation run once on a form
//                                 no page shows, so that none waits on the
//                                 browser's compiling at a first tap
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
// and after every exported call, what changed (each a view of the core's,
// views.h, as JSON; `kind` one of kViewNames):
//   view(kind, kindLength, json, jsonLength)
//     "summary": {cell id: text} of the potential and the panel with changes
//     "plan":    {"shown": bool, "cells": {cell id: text}}, when its inputs changed
//     "list":    {"names", "rows", "order", "shown", "compared", "sort"} at a change of the list
//     "row":     {"index", "row", "order"} when only the shown pet changed
//     "history": {"undo", "redo"}
//   keep(index, record, recordLength)   the pet's stored record; index -1:
//                                       every record, a line each, then the
//                                       shown pet's number and the table's
//                                       sort (petSortText), a line each
//   pet(pointer, length)                the current pet's code (to share it)
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
#include "jsontext.h"
#include "numtext.h"
#include "petcode.h"
#include "phoneentry.h"
#include "shelf.h"
#include "planner.h"
#include "views.h"
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
PAGE_IMPORT(view) void page_view(const char* kind, int kindLength, const char* json, int jsonLength);
PAGE_IMPORT(keep) void page_keep(int index, const char* record, int length);
PAGE_IMPORT(file) void page_file(const char* text, int length);
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

// Each box and check box is read from the page once a call: the core reads
// the form many times in one operation, and a user's input comes only
// between calls. A write is read back, as the page keeps it.
class Page : public Form, public Platform {
public:
    std::string text(Box b) const override {
        auto& t = m_texts[boxNumber(b)];
        if (!t) t = pageText(page_text, boxNumber(b));
        return *t;
    }
    // A box that shows the text already is not written again: a write of
    // an input's value costs the page a style pass.
    void setText(Box b, const std::string& t) override {
        auto& was = m_texts[boxNumber(b)];
        if (was && *was == t) return;
        page_set_text(boxNumber(b), t.data(), length(t));
        was.reset();
    }
    bool isChecked(Check c) const override {
        auto& on = m_checks[static_cast<int>(c)];
        if (!on) on = page_checked(static_cast<int>(c)) != 0;
        return *on;
    }
    void setChecked(Check c, bool on) override {
        page_set_checked(static_cast<int>(c), on ? 1 : 0);
        m_checks[static_cast<int>(c)].reset();
    }
    void showLiveRecompute(bool on) override { page_show_flag(on ? 1 : 0); }
    void reportFault(const Fault& f) override {
        const std::string_view kind = faultKindName(f.kind);
        const std::string message = faultMessage(f);
        page_fault(kind.data(), length(kind), message.data(), length(message));
    }

    void startTimer(int n) override { page_start_timer(n, kRepeatIntervalMs); }
    void stopTimer(int n) override { page_stop_timer(n); }
    void openGrowthTable() override { page_open_growth_table(); }

    // A call begins: what was read before may have been typed over.
    void forget() { m_texts = {}, m_checks = {}; }

private:
    mutable std::array<std::optional<std::string>, kBoxCount + 1> m_texts;
    mutable std::array<std::optional<bool>, 9> m_checks;
};

Page page;
Form1Events* events = nullptr;
Pets pets;
Pets loading;       // the pets read so far while the page hands them in
bool relist = true; // a change of the list: every row and record made anew
std::vector<PetRow> rows;  // each pet's row of the table, as its state last gave it

// The planner as the page set it, and the plan it gave for the state it
// was made for: made again only when one of them changes.
PlanRequest planner;
std::optional<std::pair<PetState, PlanRequest>> plannedFor;

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

void notice(NoticeKind kind, std::string_view text) {
    const std::string_view k = noticeKindName(kind);
    page_notice(k.data(), length(k), text.data(), length(text));
}

// The views as JSON: texts quoted, numbers and flags as they are.
using jsontext::quoted;
template <class List, class Each>
std::string array(const List& items, Each each) {
    std::string out = "[";
    for (const auto& item : items) out += (out.size() > 1 ? "," : "") + each(item);
    return out + "]";
}
std::string texts(const auto& items) { return array(items, [](const std::string& t) { return quoted(t); }); }
std::string object(const std::vector<Cell>& cells) {
    std::string out = "{";
    for (const auto& [id, text] : cells) out += (out.size() > 1 ? "," : "") + quoted(id) + ":" + quoted(text);
    return out + "}";
}
std::string order(const PetListView& v) {
    return array(v.order, [](std::size_t i) { return std::to_string(i); });
}
void view(ViewName kind, const std::string& json) {
    const std::string_view k = viewName(kind);
    page_view(k.data(), length(k), json.data(), length(json));
}
void keep(int index, const std::string& record) { page_keep(index, record.data(), length(record)); }

// The list: whole at a change of it, else the shown pet's row alone when
// its state moved; each time with the records to save.
void tellList(bool moved) {
    if (!relist && !moved) return;
    if (relist) rows.clear();
    rows.resize(pets.pets.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (relist || i == pets.current) rows[i] = petRow(pets.pets[i].state);
    const PetListView v = petListView(pets, events->history(), rows);
    if (!relist) {
        view(ViewName::Row, "{\"index\":" + std::to_string(v.shown) + ",\"row\":" + texts(rows[v.shown].cells) +
                                ",\"order\":" + order(v) + "}");
        keep(static_cast<int>(v.shown), petRecord(pets.pets[v.shown]));
        return;
    }
    relist = false;
    std::string records;
    for (const KeptPet& k : pets.pets) records += (records.empty() ? "" : "\n") + petRecord(k);
    const std::string sort = v.sort ? "[" + quoted(kPetColumnNames[static_cast<int>(v.sort->column)]) + "," +
                                          (v.sort->descending ? "true" : "false") + "]"
                                    : "null";
    view(ViewName::List, "{\"names\":" + texts(v.names) +
                             ",\"rows\":" + array(v.rows, [](const PetRow& r) { return texts(r.cells); }) +
                             ",\"order\":" + order(v) + ",\"shown\":" + std::to_string(v.shown) +
                             ",\"compared\":" + (v.compared ? std::to_string(*v.compared) : "null") + ",\"sort\":" + sort + "}");
    keep(-1, records + "\n" + std::to_string(v.shown) + "\n" + petSortText(v.sort));
}

// After every call: the pet's code, the list, the history, the summary, and
// the plan when what it is made from changed. The form is read once: each
// read of it asks the page for every box.
void tell() {
    const PetState now = events->state();
    PetState& kept = pets.pets[pets.current].state;
    const bool moved = relist || !(kept == now);
    kept = now;
    if (moved) {
        // Told before the page hears the rest: the page may call back in.
        const std::string code = encodePet(now);
        page_pet(code.data(), length(code));
    }
    tellList(moved);
    const History& h = events->history();
    view(ViewName::History, std::string("{\"undo\":") + (h.canUndo() ? "true" : "false") + ",\"redo\":" +
                                (h.canRedo() ? "true" : "false") + "}");
    view(ViewName::Summary, object(cells(summaryView(now, shownChanges(pets, *events, now)))));
    if (plannedFor && plannedFor->first == now && plannedFor->second == planner) return;
    plannedFor.emplace(now, planner);
    const PlanView p = planView(makePlan(now, planner));
    view(ViewName::Plan, std::string("{\"shown\":") + (p.shown ? "true" : "false") + ",\"cells\":" + object(cells(p)) + "}");
}

// The first tap of each kind would run code the browser has not compiled
// yet (some ms on a slow phone): each runs once at idle on a form of its
// own, which no page shows.
class Scratch : public Form, public Platform {
public:
    std::string text(Box b) const override { return m_texts[boxNumber(b)]; }
    void setText(Box b, const std::string& t) override { m_texts[boxNumber(b)] = t; }
    bool isChecked(Check c) const override { return static_cast<int>(c) % 2 != 0; }
    void setChecked(Check, bool) override {}
    void reportFault(const Fault&) override {}
    void startTimer(int) override {}
    void stopTimer(int) override {}
    void openGrowthTable() override {}
    std::array<std::string, kBoxCount + 1> m_texts;
};

void warm() {
    Scratch form;
    for (int n = 1; n <= kBoxCount; ++n) form.m_texts[n] = n == 19 ? "1.2" : n >= 6 && n <= 10 ? "" : "100";
    Form1Events e(form, form);
    for (const char* b : {"Command1", "Command2", "Command5", "Command8", "Command26", "Command27", "Command4", "Command3"})
        e.keyClick(b);
    e.undo(), e.redo();
    const PetState s = e.state();
    const std::string seen = encodePet(s) + petRecord(KeptPet{"", s}) + petRow(s).cells[0] +
                             object(cells(summaryView(s, e.changes()))) + object(cells(planView(makePlan(s, planner))));
    static_cast<void>(seen);
}

// A button as the DOM numbers it, or none for a number it does not use.
std::optional<MouseButton> mouseButton(int domButton) {
    constexpr MouseButton kByNumber[] = {MouseButton::Left, MouseButton::Middle, MouseButton::Right,
                                         MouseButton::Back, MouseButton::Forward};
    if (domButton < 0 || domButton >= static_cast<int>(std::size(kByNumber))) return std::nullopt;
    return kByNumber[domButton];
}

// A change of the list, and what it refused.
void shelf(ShelfOp op, std::size_t index = 0, const std::string& text = {}) {
    const std::string why = onShelf(pets, *events, op, index, text);
    if (!why.empty()) notice(refusalKind(op), why);
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
// Every call that reads the form begins afresh: page.forget().
using petcalc::page;

extern "C" {
__attribute__((export_name("pc_start"))) void pc_start() {
    page.forget();
    static petcalc::Form1Events wiring(page, page);
    events = &wiring;
    tell();
}
__attribute__((export_name("pc_button_down"))) void pc_button_down(int n, int button, int over) {
    page.forget();
    if (const auto b = mouseButton(button)) events->buttonDown(command(n), *b, over != 0);
    tell();
}
__attribute__((export_name("pc_button_up"))) void pc_button_up(int n, int button, int over) {
    page.forget();
    if (const auto b = mouseButton(button)) events->buttonUp(command(n), *b, over != 0);
    tell();
}
__attribute__((export_name("pc_key"))) void pc_key(int n) {
    page.forget();
    events->keyClick(command(n)), tell();
}
__attribute__((export_name("pc_pointer_lost"))) void pc_pointer_lost() {
    page.forget();
    events->pointerLost(), tell();
}
__attribute__((export_name("pc_tick"))) void pc_tick(int n) {
    page.forget();
    events->tick(n), tell();
}
__attribute__((export_name("pc_text_changed"))) void pc_text_changed(int n) {
    page.forget();
    if (n >= 1 && n <= petcalc::kBoxCount) events->textChanged(petcalc::boxAt(n));
    tell();
}
__attribute__((export_name("pc_check_changed"))) void pc_check_changed() {
    page.forget();
    events->checkChanged(), tell();
}
__attribute__((export_name("pc_load_begin"))) void pc_load_begin() { petcalc::loading.pets.clear(); }
__attribute__((export_name("pc_load_record"))) int pc_load_record() {
    return petcalc::readKept(petcalc::handed(petcalc::kMaxKeptCodeLength + 1024)) ? 1 : 0;
}
__attribute__((export_name("pc_load_end"))) void pc_load_end(int current) {
    page.forget();
    using petcalc::pets;
    pets = petcalc::loading.pets.empty() ? petcalc::Pets{} : std::move(petcalc::loading);
    pets.sort = petcalc::readPetSort(petcalc::handed(16));
    pets.current = current > 0 && static_cast<std::size_t>(current) < pets.pets.size() ? static_cast<std::size_t>(current) : 0;
    petcalc::showKept(pets, *events);
    petcalc::relist = true;
    tell();
}
__attribute__((export_name("pc_open"))) void pc_open() {
    page.forget();
    shelf(petcalc::ShelfOp::OpenLink, 0, petcalc::handed());
}
__attribute__((export_name("pc_paste"))) void pc_paste() {
    page.forget();
    const std::string text = petcalc::handed(petcalc::kMaxPastedLength);
    shelf(petcalc::ShelfOp::OpenLink, 0, std::string(petcalc::pastedCode(text)));
}
__attribute__((export_name("pc_shelf"))) void pc_shelf(int op, int index) {
    page.forget();
    using petcalc::ShelfOp;
    // A link and a file come by their own calls, with their own caps.
    if (op < 0 || op >= static_cast<int>(std::size(petcalc::kShelfOpNames)) || op == static_cast<int>(ShelfOp::OpenLink) ||
        op == static_cast<int>(ShelfOp::Import))
        return;
    const auto o = static_cast<ShelfOp>(op);
    shelf(o, static_cast<std::size_t>(std::max(index, 0)), o == ShelfOp::Rename ? petcalc::handed() : std::string());
}
__attribute__((export_name("pc_import_fits"))) int pc_import_fits(double bytes) {
    if (bytes <= static_cast<double>(petcalc::kMaxImportBytes)) return 1;
    petcalc::notice(petcalc::NoticeKind::BadFile, petcalc::kImportTooLarge);
    return 0;
}
__attribute__((export_name("pc_import"))) void pc_import() {
    page.forget();
    shelf(petcalc::ShelfOp::Import, 0, petcalc::handed(petcalc::kMaxImportBytes));
}
__attribute__((export_name("pc_export"))) void pc_export() {
    page.forget();
    petcalc::keepShown(petcalc::pets, *events);
    const std::string file = petcalc::exportPets(petcalc::pets);
    page_file(file.data(), petcalc::length(file));
}
__attribute__((export_name("pc_undo"))) void pc_undo() {
    page.forget();
    events->undo(), tell();
}
__attribute__((export_name("pc_redo"))) void pc_redo() {
    page.forget();
    events->redo(), tell();
}
__attribute__((export_name("pc_notice"))) void pc_notice(int k) {
    if (k >= 0 && k < static_cast<int>(std::size(petcalc::kNotices)))
        petcalc::notice(petcalc::kNotices[k].kind, petcalc::kNotices[k].text);
}
}

__attribute__((export_name("pc_warm"))) void pc_warm() { petcalc::warm(); }

// The planner: set, and its "应用".
extern "C" {
__attribute__((export_name("pc_plan"))) void pc_plan(int mode, int target) {
    page.forget();
    using petcalc::planner;
    planner.mode = mode == static_cast<int>(petcalc::PlanMode::All) ? petcalc::PlanMode::All : petcalc::PlanMode::Unspent;
    if (target >= 0 && target < petcalc::kStats) planner.target = static_cast<petcalc::Stat>(target);
    // The minimums as typed, a line each by Stat (a box holds no line break).
    const std::string lines = petcalc::handed(8192);
    std::size_t at = 0;
    for (std::string& m : planner.minimum) {
        const std::size_t end = std::min(lines.find('\n', at), lines.size());
        m = at <= lines.size() ? lines.substr(at, end - at) : std::string();
        at = end + 1;
    }
    tell();
}
__attribute__((export_name("pc_apply"))) void pc_apply() {
    page.forget();
    events->applyPlan(petcalc::planner), tell();
}
}
