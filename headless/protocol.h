#pragma once
// The replay protocol, toolkit-free: one JSON object a line in (a step), one
// JSON object a line out (the window's state after it). Every front end's
// replay tool reads and writes through here, so that equal states print as
// equal bytes. docs/replay-protocol.md is the contract.

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "petsheet.h"
#include "planner.h"
#include "pointer.h"
#include "windowtable.h"

namespace petcalc::replay {

// Reload, Share, Open, Undo and Redo are the steps of a front end that
// keeps pets (the web page; "needs": ["pets"]).
// Plan and Apply are the page's planner: set as a player would, and its "应用".
// Enter is the phone keypad's key in a box; Paste a text pasted into "粘贴链接".
enum class StepOp { Type, Check, Click, Press, Release, Key, Tick, Close, Reload, Share, Open, Undo, Redo, Pets, Export, Import,
                    Plan, Apply, Compare, Enter, Paste };

struct Step {
    StepOp op;
    std::string control;  // click, press, release, key: a button's name
    Box box = Box::Text1;  // type, enter
    int check = 0;         // check: 1 .. 8
    bool checked = false;  // check
    std::string text;      // type: the box's whole new text; paste: the text pasted
    MouseButton button = MouseButton::Left;
    bool outside = false;  // release: the pointer is no longer over the button
    int timer = 0;         // tick: 1 .. 22
    std::string window;    // close: "Form1" or "Form2"
    std::string link;      // open: the code a link carries
    std::string pets;      // pets: "new", "duplicate", "rename", "delete", "restore", "switch"
    std::string name;      // pets rename
    int index = 0;         // pets switch, compare: 0 is the first pet; compare without one: -1
    std::string file;      // import: the file's text
    PlanRequest plan;      // plan: mode, target and the minimums as typed
};

// A step the protocol refuses; the tool prints it with the line number and
// exits with status 2.
struct StepError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the window is like before a step: all that the refusals that
// depend on it need. Each tool reads it from its own widgets.
struct Situation {
    bool form1 = true, form2 = false;
    std::array<bool, kTimerCount + 1> running{};  // [1] .. [22]
    std::array<bool, 3> down{};                   // the mouse buttons held, by MouseButton
    bool keepsPets = false;                       // the front end plays reload, share, open, undo and redo
    bool planShown = false;                       // a plan is shown, with its "应用" (Driver: the last line's)
    int pets = 1;                                 // how many pets the list holds
};

// Parses one line and checks it against the window as it is: the op and its
// fields (unknown fields are ignored, so a scenario's "expect" rides along),
// then whether that step can be made now. Throws StepError, whose text every
// replay tool prints (docs/replay-protocol.md lists them).
Step readStep(std::string_view line, const Situation& now);

// The step as JSON, every field whatever the op, names as a line gives
// them and numbers as numbers ("box":1); for the web tool, which reads its
// steps through this code compiled to WebAssembly.
std::string stepJson(const Step& s);

// The window after a step, all it shows (the list, the planner, the focus...):
// Driver::answer writes what of it the state line carries after the step.
struct State {
    std::array<std::string, kBoxCount + 1> texts;  // [1] .. [23]
    bool flag = false;
    std::vector<int> running;  // timer numbers, ascending
    bool form1 = true, form2 = false;
    std::optional<std::string> faultKind, faultMessage;
    std::optional<std::string> link;                       // the current pet's code, as "分享" gives it
    std::optional<std::string> noticeKind, noticeMessage;  // the step's: "bad link", "bad file", "bad name", "pets"
    std::optional<std::vector<std::string>> petNames;      // every pet's name
    int currentPet = 0;                                    // and the one shown
    std::optional<int> comparedPet;                        // the one picked for "对比"
    // each pet's row: 等级, 气血, 攻击, 防御, 速度, 灵力 as shown ("" for an empty cell)
    std::optional<std::vector<std::array<std::string, 6>>> petTable;
    std::optional<std::string> file;                       // export: the file's text
    std::optional<std::string> focus;                      // the box that has the focus ("" for none)
    // The planner set: the plan's five totals and seven boxes, or why there is none.
    std::optional<std::array<std::string, 5>> planCounts;
    std::vector<std::pair<std::string, std::string>> planTexts;
    std::string noPlan;  // shown as the "no plan" notice
    // The change beside each box of the potential and the panel that shows one.
    std::optional<std::vector<std::pair<std::string, std::string>>> changes;
};

// The state as JSON: a state line with every field that is set, keys as
// there, and "noPlan" when it has no "plan"; the web tool writes its page so.
std::string fullState(const State& s);

// A line as Driver::feed reads it: blank, {"case": ...} (no "op"), a step, or refused.
struct Fed {
    enum class Kind { Skip, Case, Step, Refused } kind = Kind::Skip;
    Step step{};
    bool phone = false;   // a case played on a phone's screen
    std::string refusal;  // "TOOL: line N: WHAT"
};

// One run of a replay tool: it counts the lines and remembers what was played since the
// case began, which decides what each state line carries. With `cases` (the web tool's
// run of many), {"case": ...} starts one afresh; else that line is a step, and refused.
class Driver {
public:
    explicit Driver(std::string tool, bool cases = false) : m_tool(std::move(tool)), m_cases(cases) {}
    Fed feed(std::string_view line, Situation now);
    // The state line after the step fed last, of its full state: {"fault":...,"flag":...,
    // "running":[...],"texts":{...},"windows":[...]}, keys sorted, no blanks, UTF-8 as it is.
    std::string answer(std::string_view full);

private:
    std::string m_tool;
    bool m_cases;
    int m_line = 0;
    StepOp m_fed = StepOp::Type;  // the step fed last
    bool m_listShown = false;  // a step used the list: the lines name the pets
    bool m_changes = false;    // a plan or compare step: the lines carry the changes
    bool m_planned = false;    // a plan step, and no reload since: the lines show the plan
    bool m_planShown = false;  // and the last one showed it
};

// The loop of every native replay tool, over Driver: each line of standard
// input read against the window as `now` tells it, played by `play` and
// answered with its state line, flushed at once. A refused step ends it
// with "TOOL: line N: WHAT" on standard error and status 2, a failed write
// with status 1; the end of input with 0.
int replaySteps(std::string_view tool, const std::function<Situation()>& now,
                const std::function<State(const Step&)>& play);

}  // namespace petcalc::replay
