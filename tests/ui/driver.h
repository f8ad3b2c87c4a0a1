#pragma once
// Drives the real windows through window-system events, as a user would:
// mouse events enter through the QWindow, so presses, implicit pointer
// grabs and releases are routed exactly as on screen.

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <limits>

#include "form1.h"

namespace petcalc::test {

// Waits until the window is on screen, however long a busy machine takes:
// only a hang reaches the test's outer limit.
inline bool waitExposed(QWidget* w) { return QTest::qWaitForWindowExposed(w, std::numeric_limits<int>::max()); }

inline QPoint windowPos(QWidget* w, QPoint local) { return w->mapTo(w->window(), local); }
inline QWindow* windowOf(QWidget* w) { return w->window()->windowHandle(); }

inline void mousePress(QWidget* w, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(windowOf(w), b, {}, windowPos(w, w->rect().center()));
}
// Released over the button, or well outside it.
inline void mouseRelease(QWidget* w, Qt::MouseButton b = Qt::LeftButton, bool outside = false) {
    const QPoint local = outside ? QPoint(-w->x() + 3, -w->y() + 3) : w->rect().center();
    QTest::mouseRelease(windowOf(w), b, {}, windowPos(w, local));
}
// Lets go of every mouse button still down, so that the next test starts
// with a free mouse (the test library keeps one button state for all).
inline void releaseAllButtons(QWidget* anyControl) {
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (QGuiApplication::mouseButtons() & b) mouseRelease(anyControl, b, true);
}

inline void mouseClick(QWidget* w) {
    mousePress(w);
    mouseRelease(w);
}

// Replaces the whole text as a user does: select all, then type (or
// delete). Printable ASCII arrives as key strokes; anything else (full-width
// digits, CJK, tabs) as an input method's commit, as an IME or a paste does.
inline void typeInto(QLineEdit* e, const QString& text) {
    e->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(e, Qt::Key_Delete);
    for (qsizetype i = 0; i < text.size();) {
        qsizetype j = i;
        const bool ascii = text[i].unicode() >= 0x20 && text[i].unicode() < 0x7f;
        while (j < text.size() && (text[j].unicode() >= 0x20 && text[j].unicode() < 0x7f) == ascii) ++j;
        if (ascii) {
            QTest::keyClicks(e, text.mid(i, j - i));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text.mid(i, j - i));
            QApplication::sendEvent(e, &commit);
        }
        i = j;
    }
}

inline void setChecked(QCheckBox* c, bool on) {
    if (c->isChecked() != on) mouseClick(c);
}

// Keyboard activation of the focused button: a click without a press.
inline void keyActivate(QWidget* w) {
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, Qt::Key_Space);
}

// One tick of a running timer, delivered as its timeout.
inline bool tick(QTimer* t) {
    if (!t->isActive()) return false;
    QMetaObject::invokeMethod(t, "timeout");
    return true;
}

inline QStringList runningTimers(const ui::Form1& f) {
    QStringList names;
    for (int n = 1; n <= 22; ++n) {
        auto* t = f.findChild<QTimer*>(QString("Timer%1").arg(n));
        if (t && t->isActive()) names << t->objectName();
    }
    return names;
}

}  // namespace petcalc::test
