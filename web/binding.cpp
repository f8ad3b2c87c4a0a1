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

#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "fault.h"
#include "form1events.h"
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
}

namespace petcalc {
namespace {

int length(std::string_view s) { return static_cast<int>(s.size()); }

class Page : public Form, public Platform {
public:
    std::string text(Box b) const override {
        std::string t(64, '\0');
        int n = page_text(boxNumber(b), t.data(), length(t));
        if (n > length(t)) {  // longer than a number ever is: ask again with room for it
            t.resize(static_cast<std::size_t>(n));
            n = page_text(boxNumber(b), t.data(), n);
        }
        t.resize(static_cast<std::size_t>(n));
        return t;
    }
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

std::string command(int n) { return "Command" + std::to_string(n); }

// A button as the DOM numbers it, or none for a number it does not use.
std::optional<MouseButton> mouseButton(int domButton) {
    constexpr MouseButton kByNumber[] = {MouseButton::Left, MouseButton::Middle, MouseButton::Right,
                                         MouseButton::Back, MouseButton::Forward};
    if (domButton < 0 || domButton >= static_cast<int>(std::size(kByNumber))) return std::nullopt;
    return kByNumber[domButton];
}

}  // namespace
}  // namespace petcalc

using petcalc::command;
using petcalc::events;
using petcalc::mouseButton;

extern "C" {
__attribute__((export_name("pc_start"))) void pc_start() {
    static petcalc::Form1Events wiring(petcalc::page, petcalc::page);
    events = &wiring;
}
__attribute__((export_name("pc_button_down"))) void pc_button_down(int n, int button, int over) {
    if (const auto b = mouseButton(button)) events->buttonDown(command(n), *b, over != 0);
}
__attribute__((export_name("pc_button_up"))) void pc_button_up(int n, int button, int over) {
    if (const auto b = mouseButton(button)) events->buttonUp(command(n), *b, over != 0);
}
__attribute__((export_name("pc_key"))) void pc_key(int n) { events->keyClick(command(n)); }
__attribute__((export_name("pc_pointer_lost"))) void pc_pointer_lost() { events->pointerLost(); }
__attribute__((export_name("pc_tick"))) void pc_tick(int n) { events->tick(n); }
__attribute__((export_name("pc_text_changed"))) void pc_text_changed(int n) {
    if (n >= 1 && n <= petcalc::kBoxCount) events->textChanged(petcalc::boxAt(n));
}
}
