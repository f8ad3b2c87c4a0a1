// petcalc-protocol.js (preset wasm, built with the page, for node): the loop
// of the web replay tool, tests/web/replay.mjs, the very code the others use:
//   pc_feed(line, length, form1, form2, running, down, keepsPets, pets): Driver::feed,
//     {"kind": "skip"|"case"|"step"|"refused", "step": stepJson's, "phone", "refusal"}
//   pc_answer(full): Driver::answer, of the page's full state
// running has bit N for TimerN, down bit k for MouseButton k.

#include <nlohmann/json.hpp>

#include <string>

#include "protocol.h"

using namespace petcalc::replay;
using nlohmann::json;

static Driver g_driver{"petcalc-replay-web", true};
static std::string g_out;  // read before the next call

extern "C" const char* pc_feed(const char* line, int length, int form1, int form2, int running, int down,
                               int keepsPets, int pets) {
    Situation now{.form1 = form1 != 0, .form2 = form2 != 0, .keepsPets = keepsPets != 0, .pets = pets};
    for (int n = 1; n <= petcalc::kTimerCount; ++n) now.running[n] = (running >> n & 1) != 0;
    for (std::size_t k = 0; k < now.down.size(); ++k) now.down[k] = (down >> k & 1) != 0;
    const Fed fed = g_driver.feed(std::string_view(line, static_cast<std::size_t>(length)), now);
    constexpr const char* kinds[] = {"skip", "case", "step", "refused"};
    g_out = json{{"kind", kinds[static_cast<int>(fed.kind)]}, {"phone", fed.phone}, {"refusal", fed.refusal},
                 {"step", fed.kind == Fed::Kind::Step ? json::parse(stepJson(fed.step)) : json()}}.dump();
    return g_out.c_str();
}

extern "C" const char* pc_answer(const char* full) {
    g_out = g_driver.answer(full);
    return g_out.c_str();
}
