#!/usr/bin/env python3
"""Plays scenario files through a front end's replay tool and checks them.

A scenario file is JSON Lines. Its first line is the header,
{"about": "...", "needs": ["timers", "windows"]}. A line {"case": "..."}
starts a case: a freshly started Form1, played by a run of its own. Every
other line is a step of the replay protocol (docs/replay-protocol.md) and
may carry "expect", a part of the state the step must leave: any of
"texts" (some boxes), "flag", "running", "windows", "fault" (null, or some
of "kind" and "message"), and "why", a note for the reader that the tools
ignore.

The reference tool's output must meet every expectation; another front
end's output must equal the reference's byte for byte, step by step. A
front end whose start is slow (a browser) takes --one-run: every case of
every file in one run, each begun by its {"case": ...} line, on which it
starts Form1 afresh and writes nothing. --has names the needs it meets.

  scenarios.py --reference CMD [--front-end CMD] [--one-run] [--has "timers,windows,line breaks,right and middle buttons,pets,pet list,planner,phone"] FILE...
"""
import argparse
import json
import subprocess
import sys


def play(command, steps):
    """The output lines of one run, and its error text if it failed.

    No time limit of its own: a slow machine may take long, and the test
    runner's limit is the outer one, for a hang."""
    run = subprocess.run(command, shell=True, input="".join(s + "\n" for s in steps),
                         capture_output=True, text=True, encoding="utf-8")
    err = "" if run.returncode == 0 else f"exit {run.returncode}: {run.stderr.strip()}"
    return run.stdout.splitlines(), err


def unmet(expect, state):
    """What of the expectation the state does not meet, as text."""
    bad = []
    for key, want in expect.items():
        got = state.get(key)
        if key in ("texts", "pets") and isinstance(got, dict):  # the keys named; a table, say, rides along
            bad += [f"{key} {b}={got.get(b)!r}, want {t!r}" for b, t in want.items() if got.get(b) != t]
        elif key == "fault" and want is not None and got is not None:
            bad += [f"fault {k}={got.get(k)!r}, want {v!r}" for k, v in want.items() if got.get(k) != v]
        elif got != want:
            bad.append(f"{key}={json.dumps(got, ensure_ascii=False)}, want {json.dumps(want, ensure_ascii=False)}")
    return bad


def cases(path):
    """The header, and each case as (line number, title, [(line number, step)])."""
    header, found = {}, []
    for n, line in enumerate(open(path, encoding="utf-8"), 1):
        if not line.strip():
            continue
        row = json.loads(line)
        if "case" in row:
            found.append((n, row["case"], []))
        elif "op" in row:
            if not found:
                found.append((n, "", []))
            found[-1][2].append((n, row))
        else:
            header = row
    return header, found


def step_lines(steps):
    return [json.dumps({k: v for k, v in r.items() if k not in ("expect", "why")}, ensure_ascii=False)
            for _, r in steps]


def one_run(front_end, files, has):
    """The cases whose needs are met, played in one run: {(file, line): (lines, error)}."""
    found = [(path, n, steps, "phone" in header.get("needs", [])) for path in files for header, all_ in [cases(path)]
             if set(header.get("needs", [])) <= has for n, _, steps in all_]
    # A file that needs the phone has its cases played on a phone's screen.
    lines = [x for path, n, steps, phone in found
             for x in [json.dumps({"case": f"{path}:{n}", **({"phone": True} if phone else {})})] + step_lines(steps)]
    got, err = play(front_end, lines)
    out = {}
    for path, n, steps, _ in found:
        out[path, n], got = (got[:len(steps)], err if len(got) < len(steps) else ""), got[len(steps):]
    return out


def differences(sent, ref, got, err, where):
    """The first line where the front end's output differs from the
    reference's, shown after the steps that led to it; or a short output."""
    for n, (a, b) in enumerate(zip(ref, got)):
        if a != b:
            led = "\n    ".join(sent[max(0, n - 7):n + 1])
            return [f"{where(n)}: differs from the reference after\n    {led}\n  reference: {a}\n  front end: {b}"]
    return [f"front end gave {len(got)} of {len(ref)} lines {err}"] if err or len(got) != len(ref) else []


def tally(results):
    """Prints each failure; returns the failures."""
    failed = [(name, problems) for name, problems in results if problems]
    for name, problems in failed:
        print(f"{name}:\n  " + "\n  ".join(problems))
    return failed


def check_case(where, steps, reference, front_end, played=None):
    sent = step_lines(steps)
    ref, err = play(reference, sent)
    if err:
        return [f"{where}: reference {err}"]
    problems = []
    for (n, r), out in zip(steps, ref):
        problems += [f"{where}:{n}: {p}" for p in unmet(r.get("expect", {}), json.loads(out))]
    if front_end:
        problems += differences(sent, ref, *(played or play(front_end, sent)), lambda n: f"{where}:{steps[n][0]}")
    return problems


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--reference", required=True)
    p.add_argument("--front-end")
    p.add_argument("--one-run", action="store_true")
    p.add_argument("--has", default="timers,windows,line breaks,right and middle buttons,pets,pet list,planner,phone")
    p.add_argument("files", nargs="+")
    a = p.parse_args()
    has = set(a.has.split(","))
    played = one_run(a.front_end, a.files, has) if a.front_end and a.one_run else {}
    files = [(path, *cases(path)) for path in a.files]
    run = [(path, n, title, steps) for path, header, found in files if set(header.get("needs", [])) <= has
           for n, title, steps in found]
    failed = tally((f"{path}:{n}: case failed: {title}",
                    check_case(path, steps, a.reference, a.front_end, played.get((path, n))))
                   for path, n, title, steps in run)
    skipped = sum(len(found) for _, _, found in files) - len(run)
    print(f"scenarios: {len(run) - len(failed)} passed, {len(failed)} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
