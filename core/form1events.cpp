#include "form1events.h"

namespace petcalc {

void Form1Events::press(std::string_view button) {
    if (const RepeatRow* r = findRepeat(button)) m_repeat.press(*r);
}

void Form1Events::release(std::string_view button) {
    if (const RepeatRow* r = findRepeat(button)) m_repeat.release(*r);
}

void Form1Events::click(std::string_view button) {
    if (const RepeatRow* r = findRepeat(button)) m_repeat.click(*r);
    else if (button == "Command1") m_engine.ok();
    else if (button == "Command2") m_engine.toTargetLevel();
    else if (button == "Command3") m_engine.reset();
    else if (button == "Command4") m_engine.estimateGrowth();
    else if (button == "Command25") m_platform.openGrowthTable();
}

void Form1Events::textChanged(Box b) {
    std::string now = m_form.text(b);
    std::string& seen = m_seen[boxNumber(b)];
    if (now == seen) return;
    seen = std::move(now);
    if (isPointBox(b)) m_engine.pointBoxChanged();
}

void Form1Events::setText(Box b, const std::string& t) {
    if (m_form.text(b) == t) return;
    m_form.setText(b, t);
    textChanged(b);
}

void Form1Events::reportFault(const Fault& f) {
    m_repeat.stopAll();
    m_form.reportFault(f);
}

}  // namespace petcalc
