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
        for (int n = 1; n <= kTimerCount; ++n) timer(n)->installEventFilter(&m_noTicks);
        m_form1.show();
        QCoreApplication::processEvents();
    }

    State run(const Step& s) {
        m_fault.reset();
        switch (s.op) {
        case StepOp::Type: typeInto(m_form1.box(s.box), qs(s.text)); break;
        case StepOp::Check: setChecked(m_form1.findChild<QCheckBox*>(QString("Check%1").arg(s.check)), s.checked); break;
        case StepOp::Click: mouseClick(button(s)); break;
        case StepOp::Press: mousePress(button(s), qtButton(s.button)); break;
        case StepOp::Release: mouseRelease(button(s), qtButton(s.button), s.outside); break;
        case StepOp::Key: keyActivate(button(s)); break;
        case StepOp::Tick: tick(timer(s.timer)); break;
        case StepOp::Close:
            if (s.window == "Form1") m_form1.close();
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

    Situation situation() const {
        Situation now{.form1 = m_form1.isVisible(), .form2 = form2Open()};
        for (int n = 1; n <= kTimerCount; ++n) now.running[n] = timer(n)->isActive();
        for (std::size_t k = 0; k < now.down.size(); ++k)
            now.down[k] = QGuiApplication::mouseButtons().testFlag(qtButton(static_cast<MouseButton>(k)));
        return now;
    }

private:
    QWidget* button(const Step& s) { return m_form1.findChild<QWidget*>(qs(s.control)); }
    QTimer* timer(int n) const { return m_form1.findChild<QTimer*>(qs(timerName(n))); }
    bool form2Open() const { return m_form1.growthTable() && m_form1.growthTable()->isVisible(); }

    State state() const {
        State s;
        for (int n = 1; n <= kBoxCount; ++n) s.texts[n] = m_form1.box(boxAt(n))->text().toStdString();
        s.flag = m_form1.engine().liveRecompute();
        for (int n = 1; n <= kTimerCount; ++n)
            if (timer(n)->isActive()) s.running.push_back(n);
        s.form1 = m_form1.isVisible();
        s.form2 = form2Open();
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
    return replaySteps(
        "petcalc-replay", [&] { return replay.situation(); }, [&](const Step& step) { return replay.run(step); });
}
