#!/usr/bin/env python3
"""Random event storms through the replay protocol (docs/replay-protocol.md).

Each storm is a seeded random sequence of steps, made while driving the
reference tool step by step, so that every step is one the protocol
accepts: no click or check while a mouse button is down, presses only of
buttons that are up, releases only of buttons that are down, ticks only of
running timers. The same sequence is then played through the front end,
whose state lines must equal the reference's byte for byte. Checked on the
way, against the reference:

- a timer runs only while a mouse button is down, and then only one;
- at the end, with every button up, 确定 shows what 确定 shows on a fresh
  window given the same input boxes and check boxes.

  storm.py --reference CMD [--front-end CMD] [--seed N] [--runs N] [--steps N]
"""
import argparse
import json
import random
import subprocess
import sys

from scenarios import differences, play, tally

BUTTONS = [f"Command{n}" for n in range(1, 28)]
STEPS = [f"Command{n}" for n in range(5, 25)]  # the point step buttons; 26 and 27 step the level
INPUTS = [1, 2, 3, 4, 5, 11, 12, 13, 14, 15, 18, 19, 20, 21, 22, 23]
PANEL = ["Text6", "Text7", "Text8", "Text9", "Text10", "Text16", "Text17"]
MOUSE = ["left", "right", "middle"]
ODD = ["", " ", "0", "-0", "1", "-5", "120", "1.2", " 4593.039", "50.5", "1 2", "12abc", "1,5", ".", "-", "+",
       "&HFF", "&o777", "&H", "inf", "nan", "0x10", "１２０", "－5", "\u00a015", "\t7\n", "1e-46", "1.4e-45",
       "3.4028235E38", "3E38", "-3E38", "1E38", "1E39", "-1E39", "1e400", "9" * 60, "0." + "0" * 60 + "1"]


def odd_text(rng):
    r = rng.random()
    if r < 0.5:
        return str(rng.choice([rng.randint(-20, 200), rng.randint(-5, 5), rng.randint(0, 5000)]))
    if r < 0.6:
        return f"{rng.uniform(-100, 2000):.{rng.randint(0, 4)}f}"
    return rng.choice(ODD)


class Reference:
    """The reference tool, one step at a time."""

    def __init__(self, command):
        self.proc = subprocess.Popen(command, shell=True, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True, encoding="utf-8", bufsize=1)

    def step(self, step):
        self.proc.stdin.write(json.dumps(step, ensure_ascii=False) + "\n")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        if not line:
            raise RuntimeError(f"reference refused {step}: {self.proc.stderr.read().strip()}")
        return line.rstrip("\n")

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


class Storm:
    def __init__(self, seed, reference):
        self.rng = random.Random(seed)
        self.ref = Reference(reference)
        self.steps, self.lines, self.problems = [], [], []
        self.down, self.capture = set(), None
        self.checks = [0] * 9
        self.state = {"running": [], "windows": ["Form1"], "texts": {f"Text{n}": "" for n in range(1, 24)}}

    def send(self, step):
        line = self.ref.step(step)
        n = len(self.steps) + 1
        self.steps.append(step)
        self.lines.append(line)
        state = json.loads(line)
        if step["op"] == "press" and not self.down:
            self.capture = step["control"]
        if step["op"] == "press":
            self.down.add(step["button"])
        elif step["op"] == "release":
            self.down.discard(step["button"])
        if not self.down:
            self.capture = None
        if len(state["running"]) > (1 if self.down else 0):
            self.problems.append(f"step {n}: timers {state['running']} run with {sorted(self.down) or 'no'} "
                                 f"mouse button down on {self.capture}")
        self.state = state
        return state

    def random_step(self):
        rng, free = self.rng, not self.down
        kind = rng.choices(["type", "check", "click", "press", "release", "key", "tick", "close"],
                           [14, 5, 16, 14, 14, 6, 28, 3])[0]
        control = rng.choice(BUTTONS)
        if kind == "type":  # sometimes the box's own text again
            box = f"Text{rng.randint(1, 23)}"
            return {"op": "type", "box": box, "text": self.state["texts"][box] if rng.random() < 0.1 else odd_text(rng)}
        if kind == "check" and free:
            n = rng.randint(1, 8)
            self.checks[n] = rng.randint(0, 1)
            return {"op": "check", "box": f"Check{n}", "state": self.checks[n]}
        if kind == "click" and free:
            return {"op": "click", "control": control}
        if kind == "press":
            up = [b for b in MOUSE if b not in self.down]
            if up:  # mostly on a hold-to-repeat button
                if rng.random() < 0.8:
                    control = rng.choice(STEPS + ["Command26", "Command27"])
                return {"op": "press", "control": control, "button": rng.choice(up)}
        if kind == "release" and self.down:
            over = self.capture if rng.random() < 0.7 else control
            return {"op": "release", "control": over, "button": rng.choice(sorted(self.down)),
                    "outside": rng.random() < 0.3}
        if kind == "key":
            return {"op": "key", "control": control}
        if kind == "tick" and self.state["running"]:
            return {"op": "tick", "timer": rng.choice(self.state["running"])}
        if kind == "close" and "Form2" in self.state["windows"]:
            return {"op": "close", "window": "Form2"}
        return None

    def run(self, count):
        while len(self.steps) < count:
            step = self.random_step()
            if step:
                self.send(step)
        for b in sorted(self.down):
            self.send({"op": "release", "control": self.capture, "button": b, "outside": True})
        before = self.state["texts"]
        final = self.send({"op": "click", "control": "Command1"})
        self.ref.close()
        fresh = [{"op": "type", "box": f"Text{n}", "text": before[f"Text{n}"]} for n in INPUTS]
        fresh += [{"op": "check", "box": f"Check{n}", "state": self.checks[n]} for n in range(1, 9)]
        fresh.append({"op": "click", "control": "Command1"})
        return final, [json.dumps(s, ensure_ascii=False) for s in fresh]


def same_ok(a, b):
    """Two states after 确定 show the same: the same fault, or the same panel."""
    if a["fault"] or b["fault"]:
        return a["fault"] == b["fault"]
    return all(a["texts"][t] == b["texts"][t] for t in PANEL)


def storm(seed, steps, reference, front_end):
    s = Storm(seed, reference)
    final, fresh = s.run(steps)
    problems = s.problems
    sent = [json.dumps(x, ensure_ascii=False) for x in s.steps]
    if front_end:
        problems += differences(sent, s.lines, *play(front_end, sent), lambda n: f"step {n + 1}")
    for command in [reference] + ([front_end] if front_end else []):
        got, err = play(command, fresh)
        if err or not same_ok(final, json.loads(got[-1])):
            problems.append(f"a fresh 确定 shows otherwise than 确定 after the storm ({command}) {err}\n"
                            f"  storm: {s.lines[-1]}\n  fresh: {got[-1] if got else ''}")
    return problems


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--reference", required=True)
    p.add_argument("--front-end")
    p.add_argument("--seed", type=int, default=1, help="seed of the first storm")
    p.add_argument("--runs", type=int, default=5)
    p.add_argument("--steps", type=int, default=300)
    p.add_argument("--no-line-breaks", action="store_true", help="for boxes that cannot hold one (a web page's)")
    p.add_argument("--left-button-only", action="store_true", help="for a driver that cannot release the others")
    a = p.parse_args()
    if a.left_button_only:
        MOUSE[:] = ["left"]
        print("storms: presses of the left mouse button only")
    if a.no_line_breaks:
        ODD[:] = [t for t in ODD if "\n" not in t and "\r" not in t]
    def problems(seed):
        try:
            return storm(seed, a.steps, a.reference, a.front_end)
        except RuntimeError as e:
            return [str(e)]

    failed = tally((f"storm {seed}", problems(seed)) for seed in range(a.seed, a.seed + a.runs))
    print(f"storms: {a.runs - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
