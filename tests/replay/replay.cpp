// petcalc-replay: drives the real Form1 on the offscreen platform with JSON
// Lines steps from stdin and prints the window's state after each step.
// A test tool: the timers never tick on their own here (the event loop is
// not run between steps); {"op":"tick"} delivers exactly one tick.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "appearance.h"
#include "driver.h"
#include "form1.h"
#include "form2.h"

using namespace petcalc;
using namespace petcalc::test;

namespace {

struct StepError {
    QString what;
};

Qt::MouseButton buttonOf(const QJsonObject& step) {
    const QString b = step.value("button").toString("left");
    if (b == "left") return Qt::LeftButton;
    if (b == "right") return Qt::RightButton;
    if (b == "middle") return Qt::MiddleButton;
    throw StepError{"unknown button \"" + b + "\""};
}

class Replay {
public:
    Replay() {
        m_form1.setFaultSink([this](const Fault& f, const QString& message) {
            m_fault = QJsonObject{{"kind", QString::fromUtf8(faultKindName(f.kind).data())}, {"message", message}};
        });
        m_form1.show();
    }

    QJsonObject run(const QJsonObject& step) {
        m_fault.reset();
        const QString op = step.value("op").toString();
        if (op == "type") typeInto(box(step), step.value("text").toString());
        else if (op == "check") setChecked(widget<QCheckBox>(step.value("box").toString()), step.value("state").toInt() != 0);
        else if (op == "click") mouseClick(control(step));
        else if (op == "press") mousePress(control(step), buttonOf(step));
        else if (op == "release") mouseRelease(control(step), buttonOf(step), step.value("outside").toBool());
        else if (op == "key") keyActivate(control(step));
        else if (op == "tick") {
            auto* t = widgetTimer(step.value("timer").toString());
            if (!tick(t)) throw StepError{t->objectName() + " is not running"};
        } else if (op == "close") close(step.value("window").toString());
        else throw StepError{"unknown op \"" + op + "\""};
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return state();
    }

private:
    template <class W>
    W* widget(const QString& name) {
        auto* w = m_form1.findChild<W*>(name);
        if (!w) throw StepError{"unknown control \"" + name + "\""};
        return w;
    }
    QLineEdit* box(const QJsonObject& step) { return widget<QLineEdit>(step.value("box").toString()); }
    QWidget* control(const QJsonObject& step) {
        auto* w = widget<QWidget>(step.value("control").toString());
        if (!qobject_cast<QAbstractButton*>(w)) throw StepError{w->objectName() + " is not a button"};
        return w;
    }
    QTimer* widgetTimer(const QString& name) {
        auto* t = m_form1.findChild<QTimer*>(name);
        if (!t) throw StepError{"unknown timer \"" + name + "\""};
        return t;
    }
    void close(const QString& window) {
        if (window == "Form1") m_form1.close();
        else if (window == "Form2") {
            if (!m_form1.growthTable()) throw StepError{"Form2 is not open"};
            m_form1.growthTable()->close();
        } else throw StepError{"unknown window \"" + window + "\""};
    }

    QJsonObject state() const {
        QJsonObject texts;
        for (int n = 1; n <= kBoxCount; ++n) texts.insert(QString("Text%1").arg(n), m_form1.box(boxAt(n))->text());
        QJsonArray windows;
        if (m_form1.isVisible()) windows.append("Form1");
        if (m_form1.growthTable() && m_form1.growthTable()->isVisible()) windows.append("Form2");
        return {{"texts", texts},
                {"flag", m_form1.liveRecompute()},
                {"running", QJsonArray::fromStringList(runningTimers(m_form1))},
                {"windows", windows},
                {"fault", m_fault ? QJsonValue(*m_fault) : QJsonValue()}};
    }

    ui::Form1 m_form1;
    std::optional<QJsonObject> m_fault;
};

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ui::applyAppearance(app);
    Replay replay;
    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        try {
            if (!doc.isObject()) throw StepError{"not a JSON object: " + error.errorString()};
            const QByteArray out = QJsonDocument(replay.run(doc.object())).toJson(QJsonDocument::Compact);
            std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
            std::fputc('\n', stdout);
            std::fflush(stdout);
        } catch (const StepError& e) {
            std::fprintf(stderr, "petcalc-replay: line %d: %s\n", number, e.what.toUtf8().constData());
            return 2;
        }
    }
    return 0;
}
