// The window tests run on Qt's offscreen platform: no display needed.
#include <gtest/gtest.h>

#include <QApplication>

#include "appearance.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    petcalc::ui::applyAppearance(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
