#include "engine.h"

#include <cmath>

#include "growth.h"
#include "numtext.h"
#include "okpanel.h"
#include "panel.h"

namespace petcalc {

using B = Box;

// One user action. The outermost action owns the fault slot; a live
// recompute nested inside one of its box writes reports into the same slot,
// so the user hears of at most one fault per action, after it has stopped.
class Engine::Action {
public:
    Action(Engine& e, Op op, std::optional<Attr> attr = {}) : m_e(e) {
        if (m_e.m_depth++ == 0) {
            m_e.m_op = op;
            m_e.m_attr = attr;
            m_e.m_fault.reset();
        }
    }
    ~Action() {
        if (--m_e.m_depth == 0 && m_e.m_fault) {
            const Fault f = *m_e.m_fault;
            m_e.m_fault.reset();
            m_e.m_form.reportFault(f);
        }
    }
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;

private:
    Engine& m_e;
};

void Engine::fail(FaultKind kind, std::optional<Box> box, std::optional<Var> var) {
    if (!m_fault) m_fault = Fault{kind, m_op, box, var, m_attr};
}

bool Engine::read(Box b, float PetSheet::*v) {
    const float value = storeRound(parseNumber(m_form.text(b)));
    if (!std::isfinite(value)) {
        fail(FaultKind::Overflow, b, std::nullopt);  // the variable keeps its value
        return false;
    }
    m_sheet.*v = value;
    return true;
}

bool Engine::readBoxes(std::initializer_list<Box> boxes) {
    for (Box b : boxes)
        if (!read(b, inputOf(b))) return false;
    return true;
}

bool Engine::store(float PetSheet::*v, Var name, double result) {
    const float value = storeRound(result);
    if (!std::isfinite(value)) {
        fail(classify(result), std::nullopt, name);  // the variable keeps its value
        return false;
    }
    m_sheet.*v = value;
    return true;
}

// A point box write may run a nested live recompute; false when that faulted.
bool Engine::show(Box b, float v) {
    m_form.setText(b, displayFormat(v));
    return !m_fault;
}

bool Engine::potential() {
    return store(&PetSheet::qn, Var::qn, potentialFormula(m_sheet)) && show(B::Text17, m_sheet.qn);
}

// The six panel results, each stored before the next formula; the check
// boxes are read in the pairs that enter each formula.
bool Engine::panel(bool equipmentLast) {
    auto c = [this](Check k) { return m_form.isChecked(k) ? 1 : 0; };
    PetSheet& s = m_sheet;
    const int c3 = c(Check::Check3), c4 = c(Check::Check4);
    if (!store(&PetSheet::SH, Var::SH, attackFormula(s, c3, c4, equipmentLast))) return false;
    const int c1 = c(Check::Check1), c2 = c(Check::Check2);
    if (!store(&PetSheet::hp, Var::hp, hpFormula(s, c1, c2))) return false;
    if (!store(&PetSheet::MP, Var::MP, mpFormula(s))) return false;
    const int c5 = c(Check::Check5), c6 = c(Check::Check6);
    if (!store(&PetSheet::fy, Var::fy, defenseFormula(s, c5, c6, equipmentLast))) return false;
    const int c7 = c(Check::Check7), c8 = c(Check::Check8);
    if (!store(&PetSheet::sd, Var::sd, speedFormula(s, c7, c8))) return false;
    return store(&PetSheet::lli, Var::lli, spiritFormula(s));
}

// The six results are shown only after all of them are computed.
void Engine::showPanel() {
    show(B::Text6, m_sheet.hp);
    show(B::Text7, m_sheet.MP);
    show(B::Text8, m_sheet.SH);
    show(B::Text9, m_sheet.fy);
    show(B::Text10, m_sheet.sd);
    show(B::Text16, m_sheet.lli);
}

// The computation is okPanel's; what is left here is the showing: the
// potential as soon as it is stored, the panel once all of it is.
void Engine::ok() {
    Action action(*this, Op::Ok);
    setLiveRecompute(true);
    BoxTexts texts;
    for (Box b : kOkReads) texts[boxNumber(b) - 1] = m_form.text(b);
    Checks checks;
    for (int n = 1; n <= 8; ++n) checks[n - 1] = m_form.isChecked(static_cast<Check>(n));
    const OkRun run = okPanel(m_sheet, texts, checks);
    m_sheet = run.sheet;
    if (run.potentialShown) show(B::Text17, m_sheet.qn);
    if (run.fault) {
        if (!m_fault) m_fault = run.fault;
        return;
    }
    showPanel();
}

// Each write runs the live recompute while the flag is on; the counts are
// stored first, so every run sees all five. "确定" then reads them back.
void Engine::apply(const std::array<float, 5>& totals) {
    Action action(*this, Op::Ok);
    for (int a = 0; a < 5; ++a) m_sheet.*attrInfo(static_cast<Attr>(a)).member = totals[a];
    for (int a = 0; a < 5; ++a) {
        const AttrInfo& info = attrInfo(static_cast<Attr>(a));
        if (!show(info.box, m_sheet.*info.member)) return;
    }
    ok();
}

// The live recompute reads every input but the point boxes: the held
// counts are the ones that count, whatever the boxes say.
void Engine::pointBoxChanged() {
    Action action(*this, Op::LiveRecompute);
    if (!m_live) return;
    if (!readBoxes({B::Text20, B::Text21, B::Text22, B::Text23, B::Text1, B::Text19, B::Text18, B::Text2,
                    B::Text3, B::Text4, B::Text5}))
        return;
    if (!potential()) return;
    m_sheet.flv = m_sheet.lv;  // before the panel, unlike "确定"
    if (!panel(false)) return;
    showPanel();
}

// Move to the level in the level box: the level shift moves each count by
// the difference between that level and the anchor level. The point box
// writes run the live recompute (while the flag is on), which reloads the
// equipment bonuses that this operation itself never reads.
bool Engine::moveToLevel() {
    PetSheet& s = m_sheet;
    if (!readBoxes({B::Text1, B::Text13, B::Text19, B::Text18, B::Text2, B::Text3, B::Text4, B::Text5, B::Text11,
                    B::Text12, B::Text14, B::Text15}))
        return false;
    if (!store(&PetSheet::tz, Var::tz, shiftCount(s.lv, s.tz, s.flv)) ||
        !store(&PetSheet::ml, Var::ml, shiftCount(s.ml, s.lv, s.flv)) ||
        !store(&PetSheet::LL, Var::LL, shiftCount(s.LL, s.lv, s.flv)) ||
        !store(&PetSheet::nl, Var::nl, shiftCount(s.lv, s.nl, s.flv)) ||
        !store(&PetSheet::mj, Var::mj, shiftCount(s.mj, s.lv, s.flv)))
        return false;
    if (!potential()) return false;
    s.flv = s.lv;
    // Each write reads the sheet afresh: a nested recompute may have changed it.
    if (!show(B::Text11, s.tz) || !show(B::Text12, s.ml) || !show(B::Text13, s.LL) || !show(B::Text14, s.nl) ||
        !show(B::Text15, s.mj))
        return false;
    if (!panel(true)) return false;
    showPanel();
    return true;
}

void Engine::toTargetLevel() {
    Action action(*this, Op::ToTargetLevel);
    moveToLevel();
}

// The step starts from the variable, never from the level box, and writes
// the level box in compact form before moving there.
void Engine::levelStep(int d) {
    Action action(*this, d > 0 ? Op::LevelUp : Op::LevelDown);
    if (!store(&PetSheet::lv, Var::lv, double(m_sheet.lv) + d)) return;
    m_form.setText(B::Text18, compactFormat(m_sheet.lv));
    moveToLevel();
}

// The press shows the held level again, dropping whatever was typed there.
void Engine::levelPress() { m_form.setText(B::Text18, displayFormat(m_sheet.lv)); }

void Engine::pointStep(Attr a, int d) {
    Action action(*this, Op::PointStep, a);
    const AttrInfo& info = attrInfo(a);
    if (!store(info.member, info.var, double(m_sheet.*info.member) + d)) return;
    show(info.box, m_sheet.*info.member);
}

void Engine::pointPress(Attr a) {
    Action action(*this, Op::PointPress, a);
    const AttrInfo& info = attrInfo(a);
    show(info.box, m_sheet.*info.member);
}

void Engine::estimateGrowth() {
    Action action(*this, Op::EstimateGrowth);
    if (!readBoxes({B::Text6, B::Text18, B::Text11, B::Text3})) return;
    const int s1 = m_form.isChecked(Check::Check1) ? 1 : 0;
    const int s2 = m_form.isChecked(Check::Check2) ? 1 : 0;
    PetSheet& s = m_sheet;
    if (!store(&PetSheet::cz, Var::cz, growthQuotient(s.hp, s.lv, s.tz, s.tl, s1, s2))) return;
    s.cz = snapGrowth(s.cz);
    show(B::Text19, s.cz);
}

void Engine::setLiveRecompute(bool on) {
    m_live = on;
    m_form.showLiveRecompute(on);
}

void Engine::restore(const PetSheet& sheet, bool live) {
    m_sheet = sheet;
    setLiveRecompute(live);
}

void Engine::reset() {
    Action action(*this, Op::Reset);
    setLiveRecompute(false);  // first, so that emptying the point boxes runs nothing
    PetSheet& s = m_sheet;
    for (float* v : {&s.GZ, &s.LL, &s.cz, &s.lv, &s.fz, &s.tl, &s.FL, &s.MZ, &s.tz, &s.ml, &s.nl, &s.mj, &s.qn,
                     &s.flv})
        *v = 0;
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 16, 17, 18, 19}) m_form.setText(boxAt(n), "");
}

}  // namespace petcalc
