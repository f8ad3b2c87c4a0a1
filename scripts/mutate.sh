#!/usr/bin/env bash
# Do the behaviour cases catch small mistakes? Makes each mistake listed in
# scripts/mutants.txt, one at a time, in a scratch copy of the core, rebuilds
# the headless reference there and plays every scenario (tests/scenarios)
# against it. A mutant that makes some scenario fail is killed; one that
# passes them all survived, and shows a gap in the scenarios.
#
#   scripts/mutate.sh [NAME...]      all mutants, or only the named ones
#
# Prints one line per mutant and "mutants: K/N killed"; exits 1 unless every
# mutant was killed, 2 when the list or the scratch build is broken. The
# scratch tree (build/mutate, or PETCALC_MUTATE_DIR) is configured once and
# kept, so a later run rebuilds only what changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=${PETCALC_MUTANTS:-$root/scripts/mutants.txt}
work=${PETCALC_MUTATE_DIR:-$root/build/mutate}
jobs=${JOBS:-2}
src=$work/src
bin=$work/build
tool=$bin/headless/petcalc-replay-core
mkdir -p "$src" "$work/log"

# Reads the list; "check" validates every edit against the real tree and
# prints the names, "apply NAME" makes that mutant's edits in the scratch
# copy and prints the files it touched.
edits() {
  python3 - "$list" "$@" <<'EOF'
import sys
path, cmd, *rest = sys.argv[1:]
mutants, order, current, file = {}, [], None, None
for n, line in enumerate(open(path, encoding="utf-8"), 1):
    line = line.rstrip("\n")
    if not line.strip() or line.startswith("#"):
        continue
    where = f"{path}:{n}"
    if line.startswith("== "):
        name = line[3:].split(":", 1)[0].strip()
        if name in mutants:
            sys.exit(f"{where}: mutant {name} listed twice")
        current, mutants[name] = name, []
        order.append(name)
    elif line.startswith("file: "):
        file = line[6:].strip()
    elif line.startswith("- ") and current and file:
        mutants[current].append([file, line[2:], None, where])
    elif line.startswith("+ ") and current and mutants[current] and mutants[current][-1][2] is None:
        mutants[current][-1][2] = line[2:]
    else:
        sys.exit(f"{where}: not understood: {line}")
for name in order:
    if not mutants[name] or any(e[2] is None for e in mutants[name]):
        sys.exit(f"{path}: mutant {name} needs '- original' and '+ mutated' lines")

def patched(base, edits):
    """The files of base with the edits made, each against the unchanged text."""
    out = {}
    for file in dict.fromkeys(e[0] for e in edits):
        text = open(f"{base}/{file}", encoding="utf-8").read()
        spots = []
        for f, old, new, where in edits:
            if f != file:
                continue
            if text.count(old) != 1:
                sys.exit(f"{where}: '{old}' occurs {text.count(old)} times in {file}, not once")
            spots.append((text.index(old), old, new))
        for at, old, new in sorted(spots, reverse=True):
            text = text[:at] + new + text[at + len(old):]
        out[file] = text
    return out

if cmd == "check":
    root, wanted = rest[0], rest[1:]
    for name in order:
        patched(root, mutants[name])
    unknown = [w for w in wanted if w not in mutants]
    if unknown:
        sys.exit(f"{path}: no mutant named {', '.join(unknown)}")
    print("\n".join(n for n in order if not wanted or n in wanted))
elif cmd == "apply":
    name, base = rest
    for file, text in patched(base, mutants[name]).items():
        open(f"{base}/{file}", "w", encoding="utf-8").write(text)
        print(file)
EOF
}

names=$(edits check "$root" "$@") || exit 2

# The scratch copy: the top-level CMake file, the core and the headless front
# end. Only files whose content differs are copied, so the build stays warm.
sync_tree() {
  local f
  (cd "$root" && find CMakeLists.txt core headless $( [ -d cmake ] && echo cmake ) -type f) | while read -r f; do
    if ! cmp -s "$root/$f" "$src/$f"; then
      mkdir -p "$(dirname "$src/$f")"
      cp "$root/$f" "$src/$f"
    fi
  done
}

build() {
  cmake --build "$bin" --target petcalc-replay-core -j "$jobs" >"$work/log/build.txt" 2>&1
}

# Plays every scenario; prints the files that failed. Status 0 when all pass.
# The limit is for a mutant that makes the core loop forever (the suite
# would hang on it too, so it counts as killed); a run takes about a second.
scenarios() {
  local out status=0
  out=$(timeout 600 python3 "$root/tests/scenarios.py" --reference "$tool" "$root"/tests/scenarios/*.jsonl 2>&1) || status=$?
  printf '%s\n' "$out" >"$work/log/scenarios.txt"
  [ $status -eq 0 ] && return 0
  printf '%s\n' "$out" | sed -n 's|^.*/\([^/:]*\)\.jsonl:.*|\1|p' | sort -u | paste -sd, -
  return 1
}

start=$SECONDS
sync_tree
if [ ! -f "$bin/CMakeCache.txt" ]; then
  cmake -S "$src" -B "$bin" -DCMAKE_BUILD_TYPE=Release -DPETCALC_BUILD_UI=OFF -DPETCALC_BUILD_TESTS=OFF \
        -DPETCALC_BUILD_BENCH=OFF -DPETCALC_WERROR=OFF >"$work/log/configure.txt" 2>&1 ||
    { echo "mutate: configuring the scratch tree failed, see $work/log/configure.txt" >&2; exit 2; }
fi
build || { echo "mutate: the unchanged core does not build, see $work/log/build.txt" >&2; exit 2; }
scenarios >/dev/null || { echo "mutate: the scenarios fail on the unchanged core, see $work/log/scenarios.txt" >&2; exit 2; }

killed=0 total=0 broken=0
for name in $names; do
  total=$((total + 1))
  touched=$(edits apply "$name" "$src") || exit 2
  if ! build; then
    printf '%-10s %s\n' "broken" "$name (does not build, see $work/log/$name.build.txt)"
    cp "$work/log/build.txt" "$work/log/$name.build.txt"
    broken=$((broken + 1))
  elif failed=$(scenarios); then
    printf '%-10s %s\n' "SURVIVED" "$name"
  else
    printf '%-10s %s (%s)\n' "killed" "$name" "$failed"
    killed=$((killed + 1))
  fi
  # Put the real files back; their new time stamps make the next build
  # recompile them.
  for f in $touched; do cp "$root/$f" "$src/$f"; done
done

echo "mutants: $killed/$total killed ($((SECONDS - start)) s)"
[ $broken -eq 0 ] || exit 2
[ $killed -eq $total ]
