#include "okpanel.h"

#include <cmath>

#include "numtext.h"
#include "panel.h"

namespace petcalc {

namespace {

// A store that leaves the variable as it was when the result is not a
// finite single; true when it went through.
bool store(OkRun& r, float PetSheet::*v, Var name, double result) {
    const float value = storeRound(result);
    if (!std::isfinite(value)) {
        r.fault = Fault{classify(result), Op::Ok, std::nullopt, name, std::nullopt};
        return false;
    }
    r.sheet.*v = value;
    return true;
}

}  // namespace

OkRun okResults(PetSheet s, const Checks& c) {
    OkRun r{s, false, std::nullopt};
    const auto k = [&c](int n) { return c[n - 1] ? 1 : 0; };
    const PetSheet& in = r.sheet;
    if (!store(r, &PetSheet::qn, Var::qn, potentialFormula(in))) return r;
    r.potentialShown = true;
    if (store(r, &PetSheet::SH, Var::SH, attackFormula(in, k(3), k(4), false)) &&
        store(r, &PetSheet::hp, Var::hp, hpFormula(in, k(1), k(2))) &&
        store(r, &PetSheet::MP, Var::MP, mpFormula(in)) &&
        store(r, &PetSheet::fy, Var::fy, defenseFormula(in, k(5), k(6), false)) &&
        store(r, &PetSheet::sd, Var::sd, speedFormula(in, k(7), k(8))))
        store(r, &PetSheet::lli, Var::lli, spiritFormula(in));
    return r;
}

OkRun okPanel(PetSheet s, const BoxTexts& texts, const Checks& c) {
    for (Box b : kOkReads) {
        const float value = storeRound(parseNumber(texts[boxNumber(b) - 1]));
        if (!std::isfinite(value)) return OkRun{s, false, Fault{FaultKind::Overflow, Op::Ok, b, std::nullopt, std::nullopt}};
        s.*inputOf(b) = value;
    }
    OkRun r = okResults(s, c);
    if (!r.fault) r.sheet.flv = r.sheet.lv;
    return r;
}

}  // namespace petcalc
