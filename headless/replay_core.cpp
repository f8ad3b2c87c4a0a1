// petcalc-replay-core: the reference front end. It plays the replay
// protocol over the core, the window data, the pointer model and the repeat
// logic with no toolkit at all: boxes are strings, timers are flags, and a
// mouse event goes to the control under the pointer or to the one that has
// captured it. Every other front end's output is held against this one's.

#include <algorithm>
#include <optional>
#include <string>

#include "changes.h"
#include "fault.h"
#include "numtext.h"
#include "form1events.h"
#include "petcode.h"
#include "phoneentry.h"
#include "shelf.h"
#include "protocol.h"
#include "views.h"
#include "windowtable.h"

namespace petcalc::replay {
namespace {

class Headless : public Form, public Platform {
public:
    State run(const Step& s) {
        m_fault.reset();
        State out;
        // A change of the list, and what it refused.
        const auto shelf = [&](ShelfOp op, std::size_t index, std::string_view text) {
            std::string said = onShelf(m_pets, *m_events, op, index, text);
            if (!said.empty()) out.noticeKind = std::string(noticeKindName(refusalKind(op))), out.noticeMessage = std::move(said);
        };
        const Pointer& pointer = m_events->pointer();
        switch (s.op) {
        case StepOp::Type: type(s.box, s.text); break;
        case StepOp::Check:
            if (m_checks[s.check] != s.checked) m_checks[s.check] = s.checked, m_events->checkChanged();
            break;
        case StepOp::Click:
            m_events->buttonDown(s.control, MouseButton::Left, true);
            m_events->buttonUp(s.control, MouseButton::Left, true);
            break;
        case StepOp::Press: {
            // The press goes to the control under the pointer, or to the
            // one that has captured it.
            const std::string to(pointer.anyDown() ? pointer.captured() : s.control);
            m_events->buttonDown(to, s.button, to == s.control);
            break;
        }
        case StepOp::Release: {
            const std::string to(pointer.captured());
            m_events->buttonUp(to, s.button, !s.outside && to == s.control);
            break;
        }
        case StepOp::Key: m_events->keyClick(s.control); break;
        case StepOp::Tick: m_events->tick(s.timer); break;
        case StepOp::Close: close(s.window); break;
        case StepOp::Reload: reload(); break;
        case StepOp::Share: out.link = encodePet(m_events->state()); break;
        case StepOp::Open: shelf(ShelfOp::OpenLink, 0, s.link); break;
        case StepOp::Enter: out.focus = enter(s.box); break;
        case StepOp::Paste: shelf(ShelfOp::OpenLink, 0, pastedCode(s.text)); break;
        case StepOp::Undo: m_events->undo(); break;
        case StepOp::Redo: m_events->redo(); break;
        case StepOp::Pets: shelf(shelfOp(s.pets), static_cast<std::size_t>(s.index), s.name); break;
        case StepOp::Export:
            keepShown(m_pets, *m_events);
            out.file = exportPets(m_pets);
            break;
        case StepOp::Import: shelf(ShelfOp::Import, 0, s.file); break;
        case StepOp::Plan: m_planner = s.plan; break;
        case StepOp::Compare:
            shelf(s.index < 0 ? ShelfOp::Uncompare : ShelfOp::Compare, static_cast<std::size_t>(std::max(s.index, 0)), {});
            break;
        case StepOp::Apply:
            m_events->applyPlan(*m_planner);  // "应用" is there only while a plan is shown
            break;
        }
        read(out);
        return out;
    }

    Situation situation() const {
        Situation now{.form1 = m_form1, .form2 = m_form2, .running = m_running, .keepsPets = true,
                      .pets = static_cast<int>(m_pets.pets.size())};
        for (std::size_t k = 0; k < now.down.size(); ++k)
            now.down[k] = m_events->pointer().isDown(static_cast<MouseButton>(k));
        return now;
    }

    // Form: a write only writes; Form1Events raises the change.
    std::string text(Box b) const override { return m_texts[boxNumber(b)]; }
    void setText(Box b, const std::string& t) override { m_texts[boxNumber(b)] = t; }
    bool isChecked(Check c) const override { return m_checks[static_cast<int>(c)]; }
    void setChecked(Check c, bool on) override { m_checks[static_cast<int>(c)] = on; }
    void reportFault(const Fault& f) override { m_fault = f; }

    // Platform
    void startTimer(int n) override { m_running[n] = true; }
    void stopTimer(int n) override { m_running[n] = false; }
    void openGrowthTable() override { m_form2 = true; }

private:
    // A user replaces the whole text: select all, then type. Each key
    // stroke of printable ASCII is a change of its own; any other run of
    // characters arrives at once, as an input method commits it.
    void type(Box b, const std::string& t) {
        const auto typed = [&](std::string now) {
            m_texts[boxNumber(b)] = std::move(now);
            m_events->textChanged(b);
        };
        if (t.empty()) return typed("");
        const auto ascii = [&](std::size_t k) { return t[k] >= 0x20 && t[k] < 0x7f; };
        for (std::size_t i = 0; i < t.size();) {
            std::size_t j = i + 1;
            if (!ascii(i))
                while (j < t.size() && !ascii(j)) ++j;
            typed(t.substr(0, i = j));
        }
    }

    // The keypad's Enter in a box: the focus to the next box, or the
    // keyboard's click of the row's button and the keypad closed (no focus);
    // in a box that only shows a value, nothing.
    std::string enter(Box b) {
        const EnterRow* row = findEnter(b);
        if (!row) return boxName(b);
        if (row->next) return boxName(*row->next);
        m_events->keyClick(row->button);
        return "";
    }

    static std::string boxName(Box b) { return "Text" + std::to_string(boxNumber(b)); }

    // The list's operations by the names the protocol shares with the page.
    static ShelfOp shelfOp(std::string_view what) {
        const auto* at = std::find(std::begin(kShelfOpNames), std::end(kShelfOpNames), what);
        return static_cast<ShelfOp>(at - std::begin(kShelfOpNames));
    }

    // The page closed and opened again: a fresh Form1 given the kept pets.
    void reload() {
        keepShown(m_pets, *m_events);
        m_texts = {};
        m_checks = {};
        m_running = {};
        m_form1 = true, m_form2 = false;
        m_events.emplace(*this, *this);
        showKept(m_pets, *m_events);
        m_planner.reset();  // the planner is the page's: closed by a reload
    }

    void close(const std::string& window) {
        if (window == "Form2") {
            m_form2 = false;
            return;
        }
        // A closed window's buttons can no longer get their releases.
        m_form1 = false;
        m_events->pointerLost();
    }

    // The window as it is: boxes, timers, windows, the list, the planner, the changes.
    void read(State& s) const {
        s.texts = m_texts;
        s.flag = m_events->engine().liveRecompute();
        for (int n = 1; n <= kTimerCount; ++n)
            if (m_running[n]) s.running.push_back(n);
        s.form1 = m_form1;
        s.form2 = m_form2;
        if (m_fault) {
            s.faultKind = std::string(faultKindName(m_fault->kind));
            s.faultMessage = faultMessage(*m_fault);
        }
        s.petNames.emplace();
        for (const KeptPet& k : m_pets.pets) s.petNames->push_back(k.name);
        s.currentPet = static_cast<int>(m_pets.current);
        if (m_pets.compared) s.comparedPet = static_cast<int>(*m_pets.compared);
        Pets kept = m_pets;
        keepShown(kept, *m_events);
        s.petTable.emplace();
        for (const KeptPet& k : kept.pets) s.petTable->push_back(petRow(k.state).cells);
        // The planner's view, as the page prints it.
        const PlanView v = planView(m_planner ? makePlan(m_events->state(), *m_planner) : PlanAnswer{});
        s.noPlan = v.reason;
        if (v.shown) {
            s.planCounts = v.totals;
            for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) s.planTexts.emplace_back(boxName(kPanelBoxes[i].box), v.after[i]);
        }
        s.changes.emplace();
        for (const PanelChange& c : shownChanges(m_pets, *m_events)) s.changes->emplace_back(boxName(c.box), c.text);
    }

    std::array<std::string, kBoxCount + 1> m_texts;
    std::array<bool, 9> m_checks{};
    std::array<bool, kTimerCount + 1> m_running{};
    bool m_form1 = true, m_form2 = false;
    std::optional<Fault> m_fault;
    std::optional<Form1Events> m_events{std::in_place, *this, *this};
    Pets m_pets;
    std::optional<PlanRequest> m_planner;  // set by a plan step
};

}  // namespace
}  // namespace petcalc::replay

int main() {
    using namespace petcalc::replay;
    Headless window;
    return replaySteps(
        "petcalc-replay-core", [&] { return window.situation(); }, [&](const Step& step) { return window.run(step); });
}
