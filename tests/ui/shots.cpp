// petcalc-shots OUTDIR: shows Form1 filled with the first worked example and
// the growth table window, and saves what the screen shows of each. Run it
// under a virtual display (scripts/screenshots.sh).
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <utility>

#include "appearance.h"
#include "driver.h"
#include "form2.h"
#include "output.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    petcalc::ui::applyAppearance(app);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    petcalc::ui::Form1 form;
    form.move(20, 20);
    form.show();
    if (!petcalc::test::waitExposed(&form)) return 1;
    const char* inputs[][2] = {{"Text18", "100"}, {"Text19", "1.2"}, {"Text1", "1500"}, {"Text2", "1400"},
                               {"Text3", "4500"}, {"Text4", "2500"}, {"Text5", "1300"}, {"Text11", "120"},
                               {"Text12", "120"}, {"Text13", "620"}, {"Text14", "120"}, {"Text15", "120"},
                               {"Text20", "100"}, {"Text21", "50"},  {"Text22", "20"},  {"Text23", "30"}};
    for (auto& [name, text] : inputs) petcalc::test::typeInto(form.findChild<QLineEdit*>(name), text);
    petcalc::test::setChecked(form.findChild<QCheckBox*>("Check1"), true);
    petcalc::test::setChecked(form.findChild<QCheckBox*>("Check3"), true);
    petcalc::test::mouseClick(form.findChild<QWidget*>("Command1"));
    petcalc::test::mouseClick(form.findChild<QWidget*>("Command25"));
    auto* table = form.growthTable();
    table->move(620, 20);
    if (!petcalc::test::waitExposed(table)) return 1;
    QTest::qWait(300);
    const std::pair<QPixmap, const char*> shots[] = {{form.grab(), "screenshot-form1.png"},
                                                     {table->grab(), "screenshot-form2.png"},
                                                     {QGuiApplication::primaryScreen()->grabWindow(0), "screen.png"}};
    for (const auto& [picture, name] : shots)
        if (!picture.save(out + "/" + name)) {
            std::fprintf(stderr, "petcalc-shots: cannot write %s/%s\n", qPrintable(out), name);
            return 1;
        }
    std::printf("saved\n");
    return petcalc::output::flushStdout("petcalc-shots") ? 0 : 1;
}
