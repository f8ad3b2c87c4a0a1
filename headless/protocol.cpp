#include "protocol.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>

#include "output.h"
#include "windowtable.h"

namespace petcalc::replay {

using nlohmann::json;

namespace {

const json& field(const json& step, const char* name) {
    const auto it = step.find(name);
    if (it == step.end()) throw StepError(std::string("missing \"") + name + "\"");
    return *it;
}

std::string stringField(const json& step, const char* name) {
    const json& v = field(step, name);
    if (!v.is_string()) throw StepError(std::string("\"") + name + "\" is not a string");
    return v.get<std::string>();
}

// The number of a Form1 control of that kind: "Text1" .. "Text23", "Check1" .. "Check8".
int controlOf(const std::string& name, Kind kind, const char* what) {
    const ControlRow* c = findControl(name);
    if (!c || c->kind != kind) throw StepError(std::string("unknown ") + what + " \"" + name + "\"");
    return controlNumber(name);
}

int timerOf(const std::string& name) {
    for (int n = 1; n <= kTimerCount; ++n)
        if (timerName(n) == name) return n;
    throw StepError("unknown timer \"" + name + "\"");
}

std::string buttonName(const json& step) {
    const std::string name = stringField(step, "control");
    const ControlRow* c = findControl(name);
    if (!c) throw StepError("unknown control \"" + name + "\"");
    if (c->kind != Kind::Button) throw StepError(name + " is not a button");
    return name;
}

// The ops' and the mouse buttons' names, in the order of their enums.
constexpr std::array<std::string_view, 21> kOps = {"type",  "check", "click",  "press",  "release", "key",
                                                   "tick",  "close", "reload", "share",  "open",    "undo",
                                                   "redo",  "pets",  "export", "import", "plan",    "apply",
                                                   "compare", "enter", "paste"};
constexpr std::array<std::string_view, 3> kButtons = {"left", "right", "middle"};
static_assert(kOps.size() == static_cast<std::size_t>(StepOp::Paste) + 1);

MouseButton mouseButton(const json& step) {
    const auto it = step.find("button");
    if (it == step.end()) return MouseButton::Left;
    const std::string b = it->is_string() ? it->get<std::string>() : "";
    for (std::size_t k = 0; k < kButtons.size(); ++k)
        if (b == kButtons[k]) return static_cast<MouseButton>(k);
    throw StepError("unknown button \"" + (it->is_string() ? b : it->dump()) + "\"");
}


Stat statOf(const std::string& key) {
    for (int t = 0; t < kStats; ++t)
        if (key == kStatNames[t]) return static_cast<Stat>(t);
    throw StepError("unknown value \"" + key + "\"");
}

// {"mode":"unspent"|"all","target":"hp"|...,"min":{"sd":"300",...}}; "min" may be left out.
PlanRequest planRequest(const json& step) {
    PlanRequest r;
    const std::string mode = stringField(step, "mode");
    const auto* named = std::find(std::begin(kPlanModeNames), std::end(kPlanModeNames), mode);
    if (named == std::end(kPlanModeNames)) throw StepError("unknown \"mode\" \"" + mode + "\"");
    r.mode = static_cast<PlanMode>(named - std::begin(kPlanModeNames));
    r.target = statOf(stringField(step, "target"));
    const auto min = step.find("min");
    if (min == step.end()) return r;
    if (!min->is_object()) throw StepError("\"min\" is not an object");
    for (const auto& [key, text] : min->items()) {
        if (!text.is_string()) throw StepError("\"min\" of \"" + key + "\" is not a string");
        r.minimum[static_cast<int>(statOf(key))] = text.get<std::string>();
    }
    return r;
}

int petIndex(const json& step) {
    const json& i = field(step, "index");
    if (!i.is_number_integer() || i < 0 || i > 100000) throw StepError("\"index\" is not a pet's number");
    return i.get<int>();
}

Step parseStep(std::string_view line) {
    const json step = json::parse(line, nullptr, false);
    if (step.is_discarded() || !step.is_object()) throw StepError("not a JSON object");
    const std::string op = stringField(step, "op");
    const auto named = std::find(kOps.begin(), kOps.end(), op);
    if (named == kOps.end()) throw StepError("unknown op \"" + op + "\"");
    Step s{};
    s.op = static_cast<StepOp>(named - kOps.begin());
    switch (s.op) {
    case StepOp::Type:
        s.box = boxAt(controlOf(stringField(step, "box"), Kind::TextBox, "box"));
        s.text = stringField(step, "text");
        break;
    case StepOp::Enter: s.box = boxAt(controlOf(stringField(step, "box"), Kind::TextBox, "box")); break;
    case StepOp::Paste: s.text = stringField(step, "text"); break;
    case StepOp::Check: {
        s.check = controlOf(stringField(step, "box"), Kind::CheckBox, "check box");
        const json& state = field(step, "state");
        if (!state.is_number_integer() || (state != 0 && state != 1)) throw StepError("\"state\" is not 0 or 1");
        s.checked = state == 1;
        break;
    }
    case StepOp::Click: case StepOp::Key: case StepOp::Press: case StepOp::Release: {
        s.control = buttonName(step);
        s.button = mouseButton(step);
        const auto outside = step.find("outside");
        s.outside = outside != step.end() && outside->is_boolean() && outside->get<bool>();
        break;
    }
    case StepOp::Tick: s.timer = timerOf(stringField(step, "timer")); break;
    case StepOp::Close:
        s.window = stringField(step, "window");
        if (s.window != "Form1" && s.window != "Form2") throw StepError("unknown window \"" + s.window + "\"");
        break;
    case StepOp::Open: s.link = stringField(step, "link"); break;
    case StepOp::Pets:
        s.pets = stringField(step, "do");
        if (s.pets == "rename") {
            s.name = stringField(step, "name");
        } else if (s.pets == "switch") {
            s.index = petIndex(step);
        } else if (s.pets != "new" && s.pets != "duplicate" && s.pets != "delete" && s.pets != "restore") {
            throw StepError("unknown \"do\" \"" + s.pets + "\"");
        }
        break;
    case StepOp::Import: s.file = stringField(step, "file"); break;
    case StepOp::Plan: s.plan = planRequest(step); break;
    case StepOp::Compare: s.index = step.contains("index") ? petIndex(step) : -1; break;
    case StepOp::Reload: case StepOp::Share: case StepOp::Undo: case StepOp::Redo: case StepOp::Export:
    case StepOp::Apply: break;
    }
    return s;
}

}  // namespace

Step readStep(std::string_view line, const Situation& now) {
    const Step s = parseStep(line);
    const bool pets = s.op >= StepOp::Reload;  // the steps of a front end that keeps pets (the page's)
    // A pet is picked by its name in the list: one that is not there cannot be.
    if ((s.op == StepOp::Compare || (s.op == StepOp::Pets && s.pets == "switch")) && s.index >= now.pets)
        throw StepError("there is no pet " + std::to_string(s.index));
    if (pets && !now.keepsPets) throw StepError("this front end keeps no pets");
    // A closed Form1 can still have its Form2 closed, and the page be loaded again.
    if (!now.form1 && !(s.op == StepOp::Close && s.window == "Form2") && s.op != StepOp::Reload)
        throw StepError("Form1 is closed");
    const bool anyDown = now.down[0] || now.down[1] || now.down[2];
    const bool held = now.down[static_cast<std::size_t>(s.button)];
    // The keypad's Enter is a key: a mouse button may be held meanwhile.
    if ((s.op == StepOp::Check || s.op == StepOp::Click || (pets && s.op != StepOp::Enter)) && anyDown)
        throw StepError("a mouse button is down");
    if (s.op == StepOp::Press && held) throw StepError("that mouse button is down already");
    if (s.op == StepOp::Release && !held) throw StepError("that mouse button is not down");
    if (s.op == StepOp::Tick && !now.running[s.timer]) throw StepError(timerName(s.timer) + " is not running");
    if (s.op == StepOp::Close && s.window == "Form2" && !now.form2) throw StepError("Form2 is not open");
    if (s.op == StepOp::Apply && !now.planShown) throw StepError("no plan is shown");
    return s;
}

std::string stepJson(const Step& s) {
    json min = json::object();
    for (int k = 0; k < kStats; ++k)
        if (!s.plan.minimum[k].empty()) min[std::string(kStatNames[k])] = s.plan.minimum[k];
    const json out = {{"op", kOps[static_cast<std::size_t>(s.op)]}, {"box", boxNumber(s.box)}, {"text", s.text},
                      {"check", s.check}, {"state", s.checked}, {"control", s.control},
                      {"button", kButtons[static_cast<std::size_t>(s.button)]}, {"outside", s.outside},
                      {"timer", s.timer}, {"window", s.window}, {"link", s.link}, {"do", s.pets},
                      {"name", s.name}, {"index", s.index}, {"file", s.file},
                      {"mode", kPlanModeNames[static_cast<int>(s.plan.mode)]},
                      {"target", kStatNames[static_cast<int>(s.plan.target)]}, {"min", min}};
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string fullState(const State& s) {
    json texts = json::object();
    for (int n = 1; n <= kBoxCount; ++n) texts["Text" + std::to_string(n)] = s.texts[n];
    json running = json::array();
    for (int n : s.running) running.push_back(timerName(n));
    json windows = json::array();
    if (s.form1) windows.push_back("Form1");
    if (s.form2) windows.push_back("Form2");
    json fault = nullptr;
    if (s.faultKind) fault = {{"kind", *s.faultKind}, {"message", *s.faultMessage}};
    json out = {{"fault", fault}, {"flag", s.flag}, {"running", running}, {"texts", texts}, {"windows", windows}};
    if (s.link) out["link"] = *s.link;
    if (s.file) out["file"] = *s.file;
    if (s.focus) out["focus"] = s.focus->empty() ? json(nullptr) : json(*s.focus);
    if (s.petNames) out["pets"] = {{"current", s.currentPet}, {"names", *s.petNames}};
    if (s.petNames && s.comparedPet) out["pets"]["compare"] = *s.comparedPet;
    if (s.petNames && s.petTable) out["pets"]["table"] = *s.petTable;
    if (s.planCounts) out["plan"] = {{"counts", *s.planCounts}, {"texts", json(std::map(s.planTexts.begin(), s.planTexts.end()))}};
    if (!s.planCounts) out["noPlan"] = s.noPlan;
    if (s.changes) out["changes"] = json(std::map(s.changes->begin(), s.changes->end()));
    if (s.noticeKind) out["notice"] = {{"kind", *s.noticeKind}, {"message", *s.noticeMessage}};
    // A box may hold bytes that are not UTF-8 only if a step put them there;
    // steps are JSON, so they are UTF-8 already.
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}

Fed Driver::feed(std::string_view line, Situation now) {
    ++m_line;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) return {};
    const json row = m_cases ? json::parse(line, nullptr, false) : json();
    if (row.is_object() && row.contains("case") && !row.contains("op")) {
        m_listShown = m_changes = m_planned = m_planShown = false;
        return {Fed::Kind::Case, {}, row.contains("phone") && row["phone"] == true, ""};
    }
    now.planShown = m_planShown;
    try {
        const Step step = readStep(line, now);
        m_fed = step.op;
        return {Fed::Kind::Step, step, false, ""};
    } catch (const StepError& e) {
        return {Fed::Kind::Refused, {}, false, m_tool + ": line " + std::to_string(m_line) + ": " + e.what()};
    }
}

std::string Driver::answer(std::string_view full) {
    const StepOp op = m_fed;
    m_listShown = m_listShown || op == StepOp::Pets || op == StepOp::Open || op == StepOp::Paste ||
                  op == StepOp::Import || op == StepOp::Export || op == StepOp::Compare;
    // The changes are shown beside the planner and the list's "对比" alone: carried once either was
    // used, so that every other scenario's lines stay as they are.
    m_changes = m_changes || op == StepOp::Plan || op == StepOp::Compare;
    m_planned = op == StepOp::Plan || (m_planned && op != StepOp::Reload);  // the page's planner is not kept
    json line = json::parse(full);
    for (auto [key, kept] : {std::pair{"link", op == StepOp::Share}, {"file", op == StepOp::Export},
                             {"focus", op == StepOp::Enter}, {"pets", m_listShown}, {"changes", m_changes},
                             {"plan", m_planned}})
        if (!kept) line.erase(key);
    // Without a plan the planner says why, unless the step had a notice of its own.
    if (m_planned && !line.contains("plan") && !line.contains("notice"))
        line["notice"] = {{"kind", "no plan"}, {"message", line.value("noPlan", "")}};
    line.erase("noPlan");
    m_planShown = line.contains("plan");
    return line.dump(-1, ' ', false, json::error_handler_t::replace);
}

int replaySteps(std::string_view tool, const std::function<Situation()>& now,
                const std::function<State(const Step&)>& play) {
    Driver driver{std::string(tool)};
    for (std::string line; std::getline(std::cin, line);) {
        const Fed fed = driver.feed(line, now());
        if (fed.kind == Fed::Kind::Refused) return std::fprintf(stderr, "%s\n", fed.refusal.c_str()), 2;
        // Answers nobody receives end the run instead of playing on unseen.
        if (fed.kind == Fed::Kind::Step && !output::writeLine(tool, driver.answer(fullState(play(fed.step))))) return 1;
    }
    return 0;
}

}  // namespace petcalc::replay
