// petcalc-replay: the replay protocol over the real Form1 on the offscreen
// platform. Steps arrive as window-system input (driver.h); the timers
// never tick on their own here (their timer events are dropped), and
// {"op":"tick"} delivers exactly one tick.

#include <QApplication>
#include <string>

#include "appearance.h"
#include "driver.h"
#include "form1.h"
#include "form2.h"
#include "protocol.h"

using namespace petcalc;
using namespace petcalc::replay;
using namespace petcalc::test;

namespace {

Qt::MouseButton qtButton(MouseButton b) {
    return b == MouseButton::Left ? Qt::LeftButton : b == MouseButton::Right ? Qt::RightButton : Qt::MiddleButton;
}
QString qs(const std::string& s) { return QString::fromStdString(s); }

// Drops a timer's own timer events, so that it stays running but ticks
// only when a step says so.
struct NoTicks : QObject {
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Timer; }
};

class Replay {
public:
    Replay() {
        m_form1.setFaultSink([this](const Fault& f, const QString& message) {
            m_fault = std::string(faultKindName(f.kind));
            m_message = message.toStdString();
        });
        for (int n = 1; n <= kTimerCount; ++n) m_form1.findChild<QTimer*>(qs(timerName(n)))->installEventFilter(&m_noTicks);
        m_form1.show();
        QCoreApplication::processEvents();
    }

    State run(const Step& s) {
        m_fault.reset();
        if (!m_form1.isVisible() && !(s.op == StepOp::Close && s.window == "Form2")) throw StepError("Form1 is closed");
        const Qt::MouseButtons down = QGuiApplication::mouseButtons();
        switch (s.op) {
        case StepOp::Type: typeInto(m_form1.box(s.box), qs(s.text)); break;
        case StepOp::Check:
            if (down) throw StepError("a mouse button is down");
            setChecked(m_form1.findChild<QCheckBox*>(QString("Check%1").arg(s.check)), s.checked);
            break;
        case StepOp::Click:
            if (down) throw StepError("a mouse button is down");
            mouseClick(button(s));
            break;
        case StepOp::Press:
            if (down & qtButton(s.button)) throw StepError("that mouse button is down already");
            mousePress(button(s), qtButton(s.button));
            break;
        case StepOp::Release:
            if (!(down & qtButton(s.button))) throw StepError("that mouse button is not down");
            mouseRelease(button(s), qtButton(s.button), s.outside);
            break;
        case StepOp::Key: keyActivate(button(s)); break;
        case StepOp::Tick: {
            auto* t = m_form1.findChild<QTimer*>(qs(timerName(s.timer)));
            if (!tick(t)) throw StepError(timerName(s.timer) + " is not running");
            break;
        }
        case StepOp::Close:
            if (s.window == "Form1") m_form1.close();
            else if (!m_form1.growthTable() || !m_form1.growthTable()->isVisible()) throw StepError("Form2 is not open");
            else m_form1.growthTable()->close();
            break;
        default: break;  // the page's own steps: refused before they come here
        }
        // What the window system queued (a window shown takes the activation)
        // arrives before the next input, as on a desktop.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return state();
    }

private:
    QWidget* button(const Step& s) { return m_form1.findChild<QWidget*>(qs(s.control)); }

    State state() const {
        State s;
        for (int n = 1; n <= kBoxCount; ++n) s.texts[n] = m_form1.box(boxAt(n))->text().toStdString();
        s.flag = m_form1.engine().liveRecompute();
        for (int n = 1; n <= kTimerCount; ++n)
            if (m_form1.findChild<QTimer*>(qs(timerName(n)))->isActive()) s.running.push_back(n);
        s.form1 = m_form1.isVisible();
        s.form2 = m_form1.growthTable() && m_form1.growthTable()->isVisible();
        if (m_fault) {
            s.faultKind = m_fault;
            s.faultMessage = m_message;
        }
        return s;
    }

    NoTicks m_noTicks;
    ui::Form1 m_form1;
    std::optional<std::string> m_fault;
    std::string m_message;
};

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ui::applyAppearance(app);
    Replay replay;
    return replaySteps("petcalc-replay", [&](const Step& step) { return replay.run(step); });
}
