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
#include "controls.h"
#include "form2.h"
#include "repeatbutton.h"

namespace petcalc::ui {

namespace {
QRect pixels(const ControlSpec& c) {
    return {c.left / kTwipsPerPixel, c.top / kTwipsPerPixel, c.width / kTwipsPerPixel, c.height / kTwipsPerPixel};
}
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
int numberAfter(std::string_view name, std::string_view prefix) {
    return std::stoi(std::string(name.substr(prefix.size())));
}
}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle("Form1");
    setWindowIcon(appIcon());
    setFixedSize(kClientWidth, kClientHeight);
    buildControls();
    for (const RepeatSpec& r : repeatButtons()) wireRepeat(r);
    connect(findChild<QPushButton*>("Command1"), &QPushButton::clicked, this, [this] { m_engine.ok(); });
    connect(findChild<QPushButton*>("Command2"), &QPushButton::clicked, this, [this] { m_engine.toTargetLevel(); });
    connect(findChild<QPushButton*>("Command3"), &QPushButton::clicked, this, [this] { m_engine.reset(); });
    connect(findChild<QPushButton*>("Command4"), &QPushButton::clicked, this, [this] { m_engine.estimateGrowth(); });
    connect(findChild<QPushButton*>("Command25"), &QPushButton::clicked, this, &Form1::openGrowthTable);
    // The live recompute follows every change of a point box, typed or
    // written by an operation; a write runs it before the write returns.
    for (int n = boxNumber(Box::Text11); n <= boxNumber(Box::Text15); ++n)
        connect(m_boxes[n], &QLineEdit::textChanged, this, [this] { m_engine.pointBoxChanged(); });
    // Sees every mouse release of the program, wherever it is delivered.
    qApp->installEventFilter(this);
}

Form1::~Form1() { qApp->removeEventFilter(this); }

// A held button's release normally comes back to it through the pointer
// grab. When the grab is lost while a button is down (a modal window
// opened, another program took the pointer), the release may land on
// another control or nowhere. Once no mouse button is down any more, no
// repeat may go on.
bool Form1::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton)
        stopAllRepeats();
    return QWidget::eventFilter(watched, e);
}

void Form1::buildControls() {
    // Made in tab order, so that the accessibility tree reads in the order
    // the Tab key walks.
    std::vector<const ControlSpec*> controls;
    for (const ControlSpec& c : mainWindowControls()) controls.push_back(&c);
    std::sort(controls.begin(), controls.end(), [](auto* a, auto* b) { return a->tab < b->tab; });
    std::vector<QWidget*> focusable;
    for (const ControlSpec* row : controls) {
        const ControlSpec& c = *row;
        QWidget* w = nullptr;
        switch (c.kind) {
        case Kind::Button: {
            auto* b = c.name == "Command25" ? new QPushButton(verticalCaption(qs(c.caption)), this)
                                            : new RepeatButton(qs(c.caption), this);
            if (c.name == "Command25") b->setFont(tallButtonFont());
            b->setAutoDefault(false);
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
            m_boxes[numberAfter(c.name, "Text")] = e;
            w = e;
            break;
        }
        case Kind::CheckBox: {
            auto* k = new QCheckBox(this);
            m_checks[numberAfter(c.name, "Check")] = k;
            w = k;
            break;
        }
        }
        w->setObjectName(qs(c.name));
        w->setGeometry(pixels(c));
        w->setAccessibleName(qs(c.accessibleName));
        w->setAccessibleDescription(qs(c.name));
        if (w->focusPolicy() != Qt::NoFocus) focusable.push_back(w);
    }
    for (std::size_t i = 1; i < focusable.size(); ++i) setTabOrder(focusable[i - 1], focusable[i]);
}

// One pattern for all 22 hold-to-repeat buttons: the press enables the
// button's own timer at 100 ms and shows the held value again; the release
// disables it; the click and every tick run the same step.
void Form1::wireRepeat(const RepeatSpec& r) {
    auto* button = findChild<RepeatButton*>(qs(r.button));
    auto* timer = new QTimer(this);
    timer->setObjectName(qs(r.timer));
    timer->setTimerType(Qt::PreciseTimer);
    m_timers.append(timer);

    std::function<void()> step, press;
    if (r.attr < 0) {
        step = [this, d = r.step] { m_engine.levelStep(d); };
        press = [this] { m_engine.levelPress(); };
    } else {
        const auto a = static_cast<Attr>(r.attr);
        step = [this, a, d = r.step] { m_engine.pointStep(a, d); };
        press = [this, a] { m_engine.pointPress(a); };
    }
    connect(button, &RepeatButton::mousePressed, this, [timer, press] {
        timer->start(100);
        press();
    });
    connect(button, &RepeatButton::mouseReleased, timer, &QTimer::stop);
    connect(button, &RepeatButton::releaseLost, timer, &QTimer::stop);
    connect(button, &QPushButton::clicked, this, step);
    connect(timer, &QTimer::timeout, this, [timer, step] {
        // A tick with no mouse button down belongs to a hold whose release
        // never arrived: it ends the repeat instead of stepping.
        if (QGuiApplication::mouseButtons() == Qt::NoButton) {
            timer->stop();
            return;
        }
        step();
    });
}

std::string Form1::text(Box b) const { return m_boxes[boxNumber(b)]->text().toStdString(); }

void Form1::setText(Box b, const std::string& text) {
    QLineEdit* e = m_boxes[boxNumber(b)];
    const QString t = QString::fromStdString(text);
    if (e->text() != t) e->setText(t);  // textChanged runs any handler inside
}

bool Form1::isChecked(Check c) const { return m_checks[static_cast<int>(c)]->checkState() == Qt::Checked; }

bool Form1::liveRecompute() const { return m_label21->isEnabled(); }
void Form1::setLiveRecompute(bool on) { m_label21->setEnabled(on); }

void Form1::stopAllRepeats() {
    for (QTimer* t : std::as_const(m_timers)) t->stop();
}

void Form1::reportFault(const Fault& f) {
    // A message takes the pointer: the release of a held button would be
    // lost, so no repeat may outlive it.
    stopAllRepeats();
    const QString message = QString::fromStdString(faultMessage(f));
    if (m_faultSink)
        m_faultSink(f, message);
    else
        showFault(message);
}

void Form1::showFault(const QString& message) {
    // One message at a time: a fault while one is open replaces its text.
    if (!m_message) {
        m_message = new QMessageBox(QMessageBox::Warning, "计算出错", message, QMessageBox::Ok, this);
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
