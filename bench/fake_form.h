#pragma once
// A form without a window that behaves like the real one: a write that
// changes a point box's text runs the live recompute inside the write.

#include <array>
#include <string>
#include <vector>

#include "engine.h"
#include "form.h"

namespace petcalc::bench {

class FakeForm : public Form {
public:
    FakeForm() : engine(*this) {}

    std::string text(Box b) const override { return m_texts[boxNumber(b)]; }
    void setText(Box b, const std::string& t) override {
        writes.push_back(b);
        if (m_texts[boxNumber(b)] == t) return;
        m_texts[boxNumber(b)] = t;
        if (isPointBox(b)) engine.pointBoxChanged();
    }
    bool isChecked(Check c) const override { return m_checks[static_cast<int>(c)]; }
    bool liveRecompute() const override { return m_flag; }
    void setLiveRecompute(bool on) override { m_flag = on; }
    void reportFault(const Fault& f) override { faults.push_back(f); }

    // The user types into a box: the text changes, and a point box runs the
    // live recompute as an action of its own.
    void type(Box b, const std::string& t) {
        if (m_texts[boxNumber(b)] == t) return;
        m_texts[boxNumber(b)] = t;
        if (isPointBox(b)) engine.pointBoxChanged();
    }
    void check(Check c, bool on = true) { m_checks[static_cast<int>(c)] = on; }
    const std::string& operator[](Box b) const { return m_texts[boxNumber(b)]; }

    Engine engine;
    std::vector<Box> writes;
    std::vector<Fault> faults;

private:
    std::array<std::string, kBoxCount + 1> m_texts{};
    std::array<bool, 9> m_checks{};
    bool m_flag = false;
};

}  // namespace petcalc::bench
