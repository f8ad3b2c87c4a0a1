#pragma once
// The main window: every control at its place, the 22 repeat timers, and the
// wiring of control events to the core's operations. No arithmetic here.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "form.h"
#include "form1events.h"
#include "form2.h"
#include "repeatbutton.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QTimer;

namespace petcalc::ui {

class Form1 : public QWidget, public petcalc::Form, public petcalc::Platform {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Form: what the core operations read and write.
    std::string text(Box b) const override;
    void setText(Box b, const std::string& text) override;
    bool isChecked(Check c) const override;
    void setChecked(Check c, bool on) override;
    void showLiveRecompute(bool on) override;
    void reportFault(const Fault& f) override;
    // Platform: the repeat timers and the growth table window.
    void startTimer(int n) override;
    void stopTimer(int n) override;
    void openGrowthTable() override;

    const Engine& engine() const { return m_events.engine(); }
    QLineEdit* box(Box b) const { return m_boxes[boxNumber(b)]; }
    Form2* growthTable() const { return m_form2; }
    // Where fault messages go. By default a message box over this window;
    // a test tool may take them instead so that nothing blocks.
    using FaultSink = std::function<void(const Fault&, const QString& message)>;
    void setFaultSink(FaultSink sink) { m_faultSink = std::move(sink); }
    // No release can arrive any more: the hold ends, every repeat stops.
    void pointerLost();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildControls();
    void wireButton(RepeatButton* b);
    void showArmed();
    void showFault(const QString& message);

    Form1Events m_events{*this, *this};
    std::array<QLineEdit*, kBoxCount + 1> m_boxes{};
    std::array<QCheckBox*, 9> m_checks{};
    QLabel* m_label21 = nullptr;  // its enabled state shows the live-recompute flag
    QPointer<RepeatButton> m_armed;  // drawn down: its primary press may still click
    std::array<QTimer*, kTimerCount + 1> m_timers{};
    QPointer<Form2> m_form2;
    QPointer<QMessageBox> m_message;
    FaultSink m_faultSink;
    bool m_focusSet = false;
};

}  // namespace petcalc::ui
