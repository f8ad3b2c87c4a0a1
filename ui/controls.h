#pragma once
// The main window's controls as data: one row a control, built in a loop.
// Positions are twips of the client area (15 twips to a pixel at 96 dpi).

#include <span>
#include <string_view>

namespace petcalc::ui {

enum class Kind { Button, Label, TextBox, CheckBox };

struct ControlSpec {
    std::string_view name;  // objectName: "Command2", "Text19", ...
    Kind kind;
    std::string_view caption;  // shown text; empty for boxes
    int left, top, width, height;  // twips
    int tab;                       // tab index; focus order follows it
    std::string_view accessibleName;
};

std::span<const ControlSpec> mainWindowControls();

// What a hold-to-repeat button does: a point step on one attribute, or a
// level step. Each has its own timer.
struct RepeatSpec {
    std::string_view button;  // "Command7"
    std::string_view timer;   // "Timer2"
    int attr;                 // petcalc::Attr as int, or -1 for a level step
    int step;                 // +1, -1, +5, -5
};

std::span<const RepeatSpec> repeatButtons();

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidth = 8325 / kTwipsPerPixel;   // 555
inline constexpr int kClientHeight = 4920 / kTwipsPerPixel;  // 328

}  // namespace petcalc::ui
