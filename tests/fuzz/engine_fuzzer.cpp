// The operations of the main window on a fake form, driven by a script with
// one user action per line (lines that mean nothing are skipped, so every
// input is a script):
//   T<n>=<text>   type <text> into Text<n> (1 .. 23)
//   C<n>          toggle Check<n> (1 .. 8)
//   ok  target  up  down  lvpress  growth  reset
//   <attr>+1  <attr>-1  <attr>+5  <attr>-5  <attr>press   (attr: tz ml LL nl mj)
// After every action: no more than one fault, every sheet variable finite,
// every box the action wrote in the number format it is written in, and
// for an action that ran to its end, the boxes showing the sheet and the
// anchor level equal to the level.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "fake_form.h"
#include "numtext.h"
#include "text_checks.h"

namespace {

using namespace petcalc;
using petcalc::test::FakeForm;

enum class Kind { Type, Toggle, Ok, Target, Up, Down, LevelPress, Growth, Reset, Step, PointPress };

struct Action {
    explicit Action(Kind k, int number = 0, Attr a = Attr::tz, std::string t = {})
        : kind(k), n(number), attr(a), text(std::move(t)) {}
    Kind kind;
    int n;  // box or check box number, or the signed step
    Attr attr;
    std::string text;
};

std::optional<Action> parseLine(std::string_view line) {
    auto number = [](std::string_view s, int lo, int hi) -> std::optional<int> {
        if (s.empty() || s.size() > 2 || !check::allDigits(s)) return std::nullopt;
        const int n = std::atoi(std::string(s).c_str());
        if (n < lo || n > hi) return std::nullopt;
        return n;
    };
    if (line.size() >= 2 && line[0] == 'T') {
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        const auto n = number(line.substr(1, eq - 1), 1, kBoxCount);
        if (!n) return std::nullopt;
        return Action{Kind::Type, *n, Attr::tz, std::string(line.substr(eq + 1))};
    }
    if (line.size() >= 2 && line[0] == 'C') {
        const auto n = number(line.substr(1), 1, 8);
        if (!n) return std::nullopt;
        return Action{Kind::Toggle, *n};
    }
    static constexpr std::pair<std::string_view, Kind> kWords[] = {
        {"ok", Kind::Ok},           {"target", Kind::Target}, {"up", Kind::Up},      {"down", Kind::Down},
        {"lvpress", Kind::LevelPress}, {"growth", Kind::Growth}, {"reset", Kind::Reset}};
    for (auto [word, kind] : kWords)
        if (line == word) return Action{kind};
    static constexpr std::pair<std::string_view, Attr> kAttrs[] = {
        {"tz", Attr::tz}, {"ml", Attr::ml}, {"LL", Attr::LL}, {"nl", Attr::nl}, {"mj", Attr::mj}};
    for (auto [name, attr] : kAttrs) {
        if (line.substr(0, 2) != name) continue;
        const std::string_view rest = line.substr(2);
        if (rest == "press") return Action{Kind::PointPress, 0, attr};
        for (int d : {1, -1, 5, -5})
            if (rest == (d > 0 ? "+" : "-") + std::to_string(std::abs(d))) return Action{Kind::Step, d, attr};
    }
    return std::nullopt;
}

[[noreturn]] void fail(const std::string& line, const std::string& why) {
    std::fprintf(stderr, "after \"%s\": %s\n", line.c_str(), why.c_str());
    std::abort();
}

// The operation a fault is reported for, and the attribute it names.
Op opOf(const Action& a) {
    switch (a.kind) {
    case Kind::Type: return Op::LiveRecompute;
    case Kind::Ok: return Op::Ok;
    case Kind::Target: return Op::ToTargetLevel;
    case Kind::Up: return Op::LevelUp;
    case Kind::Down: return Op::LevelDown;
    case Kind::Growth: return Op::EstimateGrowth;
    case Kind::Step: return Op::PointStep;
    case Kind::PointPress: return Op::PointPress;
    default: return Op::Reset;  // the rest cannot fault
    }
}

// The sheet value a written box shows.
float shown(const PetSheet& s, Box b) {
    switch (b) {
    case Box::Text6: return s.hp;
    case Box::Text7: return s.MP;
    case Box::Text8: return s.SH;
    case Box::Text9: return s.fy;
    case Box::Text10: return s.sd;
    case Box::Text16: return s.lli;
    case Box::Text17: return s.qn;
    default: return s.*inputOf(b);
    }
}

void run(FakeForm& f, const Action& a) {
    Engine& e = f.engine;
    switch (a.kind) {
    case Kind::Type: f.type(boxAt(a.n), a.text); break;
    case Kind::Toggle: f.check(static_cast<Check>(a.n), !f.isChecked(static_cast<Check>(a.n))); break;
    case Kind::Ok: e.ok(); break;
    case Kind::Target: e.toTargetLevel(); break;
    case Kind::Up: e.levelStep(+1); break;
    case Kind::Down: e.levelStep(-1); break;
    case Kind::LevelPress: e.levelPress(); break;
    case Kind::Growth: e.estimateGrowth(); break;
    case Kind::Reset: e.reset(); break;
    case Kind::Step: e.pointStep(a.attr, a.n); break;
    case Kind::PointPress: e.pointPress(a.attr); break;
    }
}

void checkAfter(const FakeForm& f, const Action& a, const std::string& line, std::size_t faultsBefore,
                std::size_t writesBefore) {
    const PetSheet& s = f.engine.sheet();
    const std::size_t newFaults = f.faults.size() - faultsBefore;
    if (newFaults > 1) fail(line, std::to_string(newFaults) + " faults reported");
    if (newFaults == 1) {
        const Fault& fault = f.faults.back();
        if (fault.op != opOf(a)) fail(line, "fault reported for another operation");
        if (fault.box.has_value() == fault.var.has_value()) fail(line, "fault names both or neither box and variable");
        if (fault.box && fault.kind != FaultKind::Overflow) fail(line, "a read fault that is not an overflow");
        const bool pointOp = a.kind == Kind::Step || a.kind == Kind::PointPress;
        if (fault.attr != (pointOp ? std::optional<Attr>(a.attr) : std::nullopt)) fail(line, "wrong attribute");
        if (faultMessage(fault).empty()) fail(line, "empty fault message");
    }
    for (int v = 0; v < 24; ++v)
        if (!std::isfinite(at(s, static_cast<Var>(v))))
            fail(line, std::string(varName(static_cast<Var>(v))) + " not finite");

    const bool levelStep = a.kind == Kind::Up || a.kind == Kind::Down;
    const std::set<Box> written(f.writes.begin() + static_cast<std::ptrdiff_t>(writesBefore), f.writes.end());
    for (Box b : written) {
        const std::string& t = f[b];
        const std::string where = "Text" + std::to_string(boxNumber(b)) + " = \"" + t + "\": ";
        if (a.kind == Kind::Reset) {
            if (!t.empty()) fail(line, where + "not emptied");
            continue;
        }
        const bool compact = levelStep && b == Box::Text18;
        if (auto err = check::formatError(t, compact); !err.empty()) fail(line, where + err);
        if (newFaults != 0) continue;
        // Ran to its end: each written box shows the sheet. The stepped
        // level is read back from its box, so there the reading must match.
        if (compact) {
            if (storeRound(parseNumber(t)) != s.lv) fail(line, where + "level box does not read back as lv");
        } else if (t != displayFormat(shown(s, b))) {
            fail(line, where + "does not show the sheet");
        }
    }
    if (a.kind == Kind::Ok && !f.liveRecompute()) fail(line, "live recompute off after ok");
    if (a.kind == Kind::Reset && (f.liveRecompute() || s.lv != 0 || s.flv != 0)) fail(line, "reset left state behind");
    const bool levelChange = a.kind == Kind::Ok || a.kind == Kind::Target || levelStep;
    if (levelChange && newFaults == 0 && s.flv != s.lv) fail(line, "flv != lv");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    FakeForm f;
    int actions = 0;
    for (std::size_t pos = 0; pos < script.size() && actions < 200;) {
        auto nl = script.find('\n', pos);
        if (nl == std::string_view::npos) nl = script.size();
        const std::string line(script.substr(pos, nl - pos));
        pos = nl + 1;
        const auto a = parseLine(line);
        if (!a) continue;
        ++actions;
        const std::size_t faultsBefore = f.faults.size(), writesBefore = f.writes.size();
        run(f, *a);
        checkAfter(f, *a, line, faultsBefore, writesBefore);
    }
    return 0;
}
