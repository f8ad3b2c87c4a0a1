// Starts petcalc: the main window, shown, until no window is left.

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "appearance.h"
#include "form1.h"

int main(int argc, char* argv[]) {
    // Without a display the toolkit would abort with a long message; say
    // plainly what to do instead. A platform chosen explicitly (offscreen,
    // a Wayland or X display) is left to Qt.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "petcalc: no display found (DISPLAY is not set). "
                     "To run without a screen, use a virtual display: xvfb-run -a petcalc\n");
        return 1;
    }
    // With no session bus to talk to, the D-Bus library would start one of
    // its own (X11 autolaunch) that outlives the program. There is nothing
    // to reach then (no accessibility bus either), so say so up front.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtime.isEmpty() || !QFileInfo::exists(runtime + "/bus"))
            qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("petcalc");
    QApplication::setDesktopFileName("org.petcalc.Petcalc");
    petcalc::ui::applyAppearance(app);
    petcalc::ui::Form1 form1;
    form1.show();
    return app.exec();
}
