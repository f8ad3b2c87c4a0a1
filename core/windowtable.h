#pragma once
// The two windows as data, for every front end to build its widgets from:
// the main window's controls (one row a control), its hold-to-repeat
// buttons, both windows' captions and client sizes, and the growth table's
// text. Positions and sizes are twips (15 twips to a pixel at 96 dpi).

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "petsheet.h"

namespace petcalc {

// A coordinate in twips as device pixels at `dpi` dots per inch, rounded to
// the nearest pixel. Each edge of a control is rounded on its own, so that
// controls that touch in twips touch on the screen at every DPI.
constexpr int pixels(int twips, int dpi = 96) { return (twips * dpi + 720) / 1440; }
struct PixelRect {
    int x, y, width, height;
};
constexpr PixelRect pixelRect(int left, int top, int width, int height, int dpi = 96) {
    return {pixels(left, dpi), pixels(top, dpi), pixels(left + width, dpi) - pixels(left, dpi),
            pixels(top + height, dpi) - pixels(top, dpi)};
}

enum class Kind { Button, Label, TextBox, CheckBox };

struct ControlRow {
    std::string_view name;  // "Command2", "Text19", ...
    Kind kind;
    std::string_view caption;  // shown text; empty for boxes
    int left, top, width, height;  // twips
    int tab;                       // tab index; focus order follows it
    std::string_view accessibleName;
};

// The number a control's name ends in: 19 for "Text19", 0 for none.
int controlNumber(std::string_view name);
// A button taller than wide ("成长表") shows one character a line.
bool isTall(const ControlRow& c);
// The caption as a control shows it: a tall button's with a line break
// between characters.
std::string shownCaption(const ControlRow& c);

// The 87 controls of Form1, in the order they are laid out (by row).
std::span<const ControlRow> mainWindowControls();
// The control of that name, or null.
const ControlRow* findControl(std::string_view name);

// What a hold-to-repeat button does: a point step on one attribute, or a
// level step. Each has its own timer.
struct RepeatRow {
    std::string_view button;    // "Command7"
    int timer;                  // 2 for Timer2
    std::optional<Attr> attr;   // none for a level step
    int step;                   // +1, -1, +5, -5
};

inline constexpr int kTimerCount = 22;
std::span<const RepeatRow> repeatButtons();
const RepeatRow* findRepeat(std::string_view button);
// "Timer7" for 7.
std::string timerName(int timer);

struct WindowRow {
    std::string_view name;     // "Form1"
    std::string_view caption;  // the title bar
    int width, height;         // client area, twips
};

inline constexpr WindowRow kForm1 = {"Form1", "Form1", 8325, 4920};        // 555 x 328 px
inline constexpr WindowRow kForm2 = {"Form2", "BB成长列表", 5280, 6360};  // 352 x 424 px

// Form2's one control: a multi-line box whose long lines wrap. Its right
// edge lies 15 twips past the client area, so its right border is cut off.
inline constexpr ControlRow kGrowthTableBox = {"text1", Kind::TextBox, "", 240, 360, 5055, 5895, 0, "成长列表"};

// The 34 lines of the growth table, each ended by CR LF.
const std::string& growthTableText();

// The title of the message that reports an arithmetic fault.
inline constexpr std::string_view kFaultTitle = "计算出错";

}  // namespace petcalc
