// petcalc-protocol.js (preset wasm, built with the page): readStep for the
// web replay tool, tests/web/replay.mjs, so that it reads and refuses steps
// with the very code the other tools use. Loaded by node:
//   pc_read_step(line, length, form1, form2, running, down, keepsPets, planShown, pets)
// running has bit N for TimerN, down bit k for MouseButton k; the answer is
// the step as stepJson writes it, or {"refused":WHAT}.

#include <nlohmann/json.hpp>

#include <string>

#include "protocol.h"

using namespace petcalc::replay;

extern "C" const char* pc_read_step(const char* line, int length, int form1, int form2, int running, int down,
                                    int keepsPets, int planShown, int pets) {
    static std::string answer;  // read before the next call
    Situation now{.form1 = form1 != 0, .form2 = form2 != 0, .keepsPets = keepsPets != 0,
                  .planShown = planShown != 0, .pets = pets};
    for (int n = 1; n <= petcalc::kTimerCount; ++n) now.running[n] = (running >> n & 1) != 0;
    for (std::size_t k = 0; k < now.down.size(); ++k) now.down[k] = (down >> k & 1) != 0;
    try {
        answer = stepJson(readStep(std::string_view(line, static_cast<std::size_t>(length)), now));
    } catch (const StepError& e) {
        answer = nlohmann::json{{"refused", e.what()}}.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    return answer.c_str();
}
