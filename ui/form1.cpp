#include "form1.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "appearance.h"
#include "form2.h"
#include "repeatbutton.h"
#include "windowtable.h"

namespace petcalc::ui {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
MouseButton mouseButton(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    case Qt::BackButton: return MouseButton::Back;
    case Qt::ForwardButton: return MouseButton::Forward;
    default: return MouseButton::Left;
    }
}
}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle(qs(kForm1.caption));
    setWindowIcon(appIcon());
    setFixedSize(pixels(kForm1.width), pixels(kForm1.height));
    buildControls();
    for (int n = 1; n <= kTimerCount; ++n) {
        auto* timer = new QTimer(this);
        timer->setObjectName(qs(timerName(n)));
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this,
                [this, n] { m_events.tick(n); });
        m_timers[n] = timer;
    }
    for (int n = 1; n <= kBoxCount; ++n)
        connect(m_boxes[n], &QLineEdit::textChanged, this, [this, n] { m_events.textChanged(boxAt(n)); });
    // Sees every mouse release of the program, wherever it is delivered.
    qApp->installEventFilter(this);
    // Another program came to the front: no release will come back here.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) pointerLost();
    });
}

Form1::~Form1() {
    qApp->removeEventFilter(this);
    // ~QWidget, which runs after this object's members are gone, hides a
    // shown window's controls before it deletes them: each button reports
    // its hide as a lost release. No handler of ours may run by then.
    for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

// A held button's release normally comes back to it through the pointer
// grab. When the grab is lost while a button is down (a modal window
// opened, another program took the pointer), the last release may land on
// another widget: the hold is over.
bool Form1::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton &&
        watched->isWidgetType() && m_events.pointer().anyDown() &&
        watched->objectName().toStdString() != m_events.pointer().captured())
        pointerLost();
    return QWidget::eventFilter(watched, e);
}

void Form1::buildControls() {
    // Made in tab order, so that the accessibility tree reads in the order
    // the Tab key walks.
    std::vector<const ControlRow*> controls;
    for (const ControlRow& c : mainWindowControls()) controls.push_back(&c);
    std::sort(controls.begin(), controls.end(), [](auto* a, auto* b) { return a->tab < b->tab; });
    std::vector<QWidget*> focusable;
    for (const ControlRow* row : controls) {
        const ControlRow& c = *row;
        QWidget* w = nullptr;
        switch (c.kind) {
        case Kind::Button: {
            auto* b = new RepeatButton(qs(shownCaption(c)), this);
            if (isTall(c)) b->setFont(tallButtonFont());
            b->setAutoDefault(false);
            b->setObjectName(qs(c.name));
            wireButton(b);
            w = b;
            break;
        }
        case Kind::Label: {
            auto* l = new QLabel(qs(c.caption), this);
            if (c.name == "Label21") {
                l->setEnabled(false);
                l->setVisible(false);
                m_label21 = l;
            }
            w = l;
            break;
        }
        case Kind::TextBox: {
            auto* e = new QLineEdit(this);
            e->setMaxLength(32767);
            fitBox(e);
            connect(e, &QLineEdit::textChanged, e, [e] { fitToolTip(e); });
            m_boxes[controlNumber(c.name)] = e;
            w = e;
            break;
        }
        case Kind::CheckBox: {
            auto* k = new QCheckBox(this);
            m_checks[controlNumber(c.name)] = k;
            w = k;
            break;
        }
        }
        w->setObjectName(qs(c.name));
        const PixelRect r = pixelRect(c.left, c.top, c.width, c.height);
        w->setGeometry(r.x, r.y, r.width, r.height);
        w->setAccessibleName(qs(c.accessibleName));
        w->setAccessibleDescription(qs(c.name));
        if (w->focusPolicy() != Qt::NoFocus) focusable.push_back(w);
    }
    for (std::size_t i = 1; i < focusable.size(); ++i) setTabOrder(focusable[i - 1], focusable[i]);
}

// Every button hands its mouse buttons and its keyboard clicks to the
// pointer model, which decides what they mean, and is drawn down while the
// model has it armed.
void Form1::wireButton(RepeatButton* b) {
    const std::string name = b->objectName().toStdString();
    connect(b, &RepeatButton::mouseDown, this, [this, name](Qt::MouseButton button, bool over) {
        m_events.buttonDown(name, mouseButton(button), over);
        showArmed();
    });
    connect(b, &RepeatButton::mouseUp, this, [this, name](Qt::MouseButton button, bool over) {
        m_events.buttonUp(name, mouseButton(button), over);
        showArmed();
    });
    connect(b, &RepeatButton::releaseLost, this, [this, name] {
        m_events.controlGone(name);
        showArmed();
    });
    connect(b, &QPushButton::clicked, this, [this, name] {
        m_events.keyClick(name);
        showArmed();
    });
}

void Form1::showArmed() {
    const QString armed = qs(m_events.pointer().armed());
    if (m_armed && m_armed->objectName() != armed) m_armed->setArmed(false);
    m_armed = armed.isEmpty() ? nullptr : findChild<RepeatButton*>(armed);
    if (m_armed) m_armed->setArmed(true);
}

void Form1::startTimer(int n) { m_timers[n]->start(kRepeatIntervalMs); }
void Form1::stopTimer(int n) { m_timers[n]->stop(); }

std::string Form1::text(Box b) const { return m_boxes[boxNumber(b)]->text().toStdString(); }

void Form1::setText(Box b, const std::string& text) {
    m_boxes[boxNumber(b)]->setText(QString::fromStdString(text));
}

bool Form1::isChecked(Check c) const { return m_checks[static_cast<int>(c)]->checkState() == Qt::Checked; }
void Form1::setChecked(Check c, bool on) { m_checks[static_cast<int>(c)]->setChecked(on); }

void Form1::showLiveRecompute(bool on) { m_label21->setEnabled(on); }

void Form1::pointerLost() {
    m_events.pointerLost();
    showArmed();
}

// Every repeat has stopped already (the core sees to that).
void Form1::reportFault(const Fault& f) {
    const QString message = QString::fromStdString(faultMessage(f));
    if (m_faultSink)
        m_faultSink(f, message);
    else
        showFault(message);
}

void Form1::showFault(const QString& message) {
    // One message at a time: a fault while one is open replaces its text.
    if (!m_message) {
        m_message = new QMessageBox(QMessageBox::Warning, qs(kFaultTitle), message, QMessageBox::Ok, this);
        m_message->setObjectName("FaultMessage");
        m_message->setAttribute(Qt::WA_DeleteOnClose);
        m_message->setWindowModality(Qt::WindowModal);
    }
    m_message->setText(message);
    m_message->show();
}

void Form1::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!m_focusSet) {  // focus starts in the first box of the tab order
        m_focusSet = true;
        m_boxes[1]->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::openGrowthTable() {
    if (!m_form2) {
        m_form2 = new Form2();  // no owner: it lives on when this window closes
        m_form2->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (m_form2->isVisible()) {  // already open: bring it forward
        m_form2->raise();
        m_form2->activateWindow();
    }
    m_form2->show();
}

}  // namespace petcalc::ui
