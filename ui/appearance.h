#pragma once
// How the windows look, whatever the desktop: the program's own CJK font at
// a fixed pixel size, one widget style, the program's icon.

#include <QFont>
#include <QIcon>
#include <QString>

class QApplication;
class QLineEdit;

namespace petcalc::ui {

// The program's own font (fonts/), carried inside it: every character the
// windows draw, so that they look the same with any or no CJK font on the
// machine. A character outside it falls back to the system's fonts. Every
// caption was measured against it: 12 px fits "成长" into a 25 px label and
// " 4593.039" into a 57 px box.
inline constexpr const char* kFontFamily = "petcalc CJK";
inline constexpr int kFontPixelSize = 12;

// Registers the program's font with Qt (applyAppearance does).
void addProgramFont();

// Sets the style, the font and the icon on the application. Call once,
// before any window is made.
void applyAppearance(QApplication& app);

QIcon appIcon();

// The font of the tall narrow "成长表" button: three lines of it fit 41 px.
QFont tallButtonFont();

// The margin QLineEdit keeps between its frame and its text, each side.
inline constexpr int kInnerMargin = 2;
// Gives a narrow box's inner margins to its text.
void fitBox(QLineEdit* box);
// The width the text of a box can take without scrolling.
int textRoom(const QLineEdit* box);
// A value wider than its box is still readable in full as a tooltip.
void fitToolTip(QLineEdit* box);

}  // namespace petcalc::ui
