// What a user sees and what a screen reader hears: captions that fit their
// controls (run at several scale factors), every glyph in the program's
// font, and the flag as assistive technology reads it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QStyleOptionButton>

#include "appearance.h"
#include "windowtable.h"
#include "driver.h"
#include "fault.h"
#include "form2.h"

namespace petcalc::test {
namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

TEST(Look, EveryCaptionFitsItsControl) {
    ui::Form1 form;
    form.show();
    ASSERT_TRUE(waitExposed(&form));
    EXPECT_EQ(QFontInfo(form.font()).family(), ui::kFontFamily);
    for (const ControlRow& c : mainWindowControls()) {
        QWidget* w = form.findChild<QWidget*>(qs(c.name));
        const QFontMetricsF fm(w->font());
        if (auto* k = qobject_cast<QCheckBox*>(w)) {
            QStyleOptionButton opt;
            opt.initFrom(k);
            const QRect indicator = k->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, k);
            EXPECT_TRUE(k->rect().contains(indicator)) << c.name;
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            const QStringList lines = b->text().split('\n');
            for (const QString& line : lines) EXPECT_LE(fm.horizontalAdvance(line), w->width()) << c.name;
            EXPECT_LE(fm.ascent() + fm.descent() + (lines.size() - 1) * fm.lineSpacing(), w->height() + 0.5)
                << c.name;
        } else if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
            EXPECT_LE(fm.horizontalAdvance(l->text()), w->width()) << c.name;
            EXPECT_LE(fm.ascent() + fm.descent(), w->height() + 0.5) << c.name;
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            EXPECT_GE(e->height(), fm.ascent() + fm.descent()) << c.name;
        }
    }
    // The widest values of the worked examples fit the result boxes whole.
    QLineEdit* hp = form.box(Box::Text6);
    for (const char* t : {" 4593.039", " 559.3334", " 4836.993", " 1596.916", " 285.9933"})
        EXPECT_LE(hp->fontMetrics().horizontalAdvance(t), ui::textRoom(hp)) << t;
    // A value that fits has no tip; one too wide for its box can still be
    // read in full.
    typeInto(hp, " 4593.039");
    EXPECT_TRUE(hp->toolTip().isEmpty());
    typeInto(form.box(Box::Text17), "1.234568E+07");
    EXPECT_EQ(form.box(Box::Text17)->toolTip(), "1.234568E+07");
}

// Every character the windows and their fault messages draw has its glyph in
// the program's own font: none waits for a font the machine may not have.
TEST(Look, EveryDrawnCharacterIsInTheProgramFont) {
    const QRawFont font = QRawFont::fromFont(QApplication::font());
    ASSERT_EQ(font.familyName(), ui::kFontFamily);
    ui::Form1 form;
    form.show();
    mouseClick(form.findChild<QWidget*>("Command25"));
    form.reportFault(Fault{FaultKind::Overflow, Op::Ok, Box::Text3, std::nullopt, std::nullopt});
    QString drawn = form.windowTitle() + form.growthTable()->windowTitle() + form.growthTable()->text1()->toPlainText();
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        if (w->isWindow()) drawn += w->windowTitle();
        if (auto* l = qobject_cast<const QLabel*>(w)) drawn += l->text();
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) drawn += b->text();
    }
    form.growthTable()->close();
    // The message of every operation, attribute, box and variable.
    for (FaultKind k : {FaultKind::Overflow, FaultKind::DivisionByZero, FaultKind::InvalidOperation}) {
        for (int op = 0; op <= static_cast<int>(Op::Reset); ++op)
            for (int a = -1; a < 5; ++a)
                drawn += qs(faultMessage(
                    {k, Op(op), std::nullopt, std::nullopt, a < 0 ? std::nullopt : std::optional(Attr(a))}));
        for (int v = 0; v <= static_cast<int>(Var::zbll); ++v)
            drawn += qs(faultMessage({k, Op::Ok, std::nullopt, Var(v), std::nullopt}));
    }
    for (int b = 1; b <= kBoxCount; ++b)
        drawn += qs(faultMessage({FaultKind::Overflow, Op::Ok, boxAt(b), std::nullopt, std::nullopt}));
    QString missing;
    for (const char32_t c : drawn.remove('\n').toUcs4()) {
        const QString ch = QString::fromUcs4(&c, 1);
        if (!font.supportsCharacter(c) && !missing.contains(ch)) missing += ch;
    }
    EXPECT_EQ(missing.toStdString(), "");
}

// The live-recompute flag as assistive technology reads it: Label21,
// never shown, enabled from "确定" on.
TEST(Accessibility, Label21ShowsTheFlag) {
    ui::Form1 form;
    form.show();
    const auto state = [&] { return QAccessible::queryAccessibleInterface(form.findChild<QWidget*>("Label21"))->state(); };
    EXPECT_TRUE(state().disabled);
    mouseClick(form.findChild<QWidget*>("Command1"));
    EXPECT_FALSE(state().disabled);
    EXPECT_TRUE(state().invisible);
}

}  // namespace
}  // namespace petcalc::test
