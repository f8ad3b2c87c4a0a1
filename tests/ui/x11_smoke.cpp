// Starts Form1 on the real X11 platform and checks that it maps with every
// control on screen.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <limits>

#include "appearance.h"
#include "windowtable.h"
#include "form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "expected the xcb platform, got %s\n", qPrintable(QGuiApplication::platformName()));
        return 1;
    }
    petcalc::ui::applyAppearance(app);
    petcalc::ui::Form1 form;
    form.show();
    // As long as the server takes: a busy machine is slow, and only a hang
    // reaches the test's outer limit.
    if (!QTest::qWaitForWindowExposed(&form, std::numeric_limits<int>::max())) {
        std::fprintf(stderr, "Form1 was not exposed\n");
        return 1;
    }
    int shown = 0;
    for (const auto& c : petcalc::mainWindowControls()) {
        auto* w = form.findChild<QWidget*>(QString::fromUtf8(c.name.data(), qsizetype(c.name.size())));
        const bool wantVisible = c.name != "Label21";
        if (!w || w->isVisible() != wantVisible) {
            std::fprintf(stderr, "control %s missing or wrongly shown\n", c.name.data());
            return 1;
        }
        shown += wantVisible;
    }
    if (form.size() != QSize(555, 328)) {
        std::fprintf(stderr, "client area %dx%d\n", form.width(), form.height());
        return 1;
    }
    std::printf("Form1 mapped on X11 with %d visible controls\n", shown);
    return 0;
}
