#!/usr/bin/env bash
# Mutation check: applies small deliberate faults to the code one at a time, rebuilds and runs
# the core and window tests, and reports for each fault whether some test failed ("caught").
# A fault that no test notices ("missed") marks a behaviour the tests do not hold.
#
# The faults are listed in scripts/mutation-faults.txt as a literal pattern and its replacement
# in a named file, so that they keep applying after ordinary edits. A pattern that is missing or
# occurs more than once is reported as "not applied" and the file is left alone.
#
# Usage: scripts/mutation-check.sh [--keep-going] [--list] [NAME...]
#   NAME...       run only the faults with these names (or name prefixes, e.g. "cli-")
#   --keep-going  go on after a fault that is not applied or does not build (by default the
#                 check stops there, since the list itself needs fixing)
#   --list        print the faults' names and files, and check that each pattern applies
#
# It builds in build-mutation (Ninja, ccache, -j2) and is run by hand; it takes about half a
# minute per fault. Every file is restored when the check ends, also on Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

faults_file=scripts/mutation-faults.txt
build=build-mutation
jobs=2
keep_going=0
list_only=0
selected=()
for arg in "$@"; do
  case "$arg" in
    --keep-going) keep_going=1 ;;
    --list) list_only=1 ;;
    -h | --help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option: $arg" >&2; exit 2 ;;
    *) selected+=("$arg") ;;
  esac
done

python=/usr/bin/python3
[ -x "$python" ] || python=python3

# apply FILE PATTERN REPLACEMENT: rewrites FILE when PATTERN occurs exactly once.
apply_fault() {
  "$python" - "$@" <<'PY'
import sys
path, pattern, replacement = sys.argv[1:4]
pattern = pattern.replace("<NL>", "\n")
replacement = replacement.replace("<NL>", "\n")
try:
    text = open(path, encoding="utf-8").read()
except OSError as error:
    print(f"cannot read {path}: {error.strerror}")
    sys.exit(2)
count = text.count(pattern)
if count != 1:
    print("pattern not found" if count == 0 else f"pattern occurs {count} times")
    sys.exit(2)
if "--dry-run" not in sys.argv[4:]:
    open(path, "w", encoding="utf-8").write(text.replace(pattern, replacement))
PY
}

names=() files=() patterns=() replacements=()
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in '' | '#'*) continue ;; esac
  rest=$line
  fields=()
  while [[ "$rest" == *' @@ '* ]]; do
    fields+=("${rest%% @@ *}")
    rest=${rest#* @@ }
  done
  fields+=("$rest")
  if [ "${#fields[@]}" -ne 4 ]; then
    echo "bad line in $faults_file: $line" >&2
    exit 2
  fi
  wanted=$(( ${#selected[@]} == 0 ))
  for name in "${selected[@]}"; do
    [[ "${fields[0]}" == "$name"* ]] && wanted=1
  done
  [ "$wanted" = 1 ] || continue
  names+=("${fields[0]}") files+=("${fields[1]}") patterns+=("${fields[2]}")
  replacements+=("${fields[3]}")
done < "$faults_file"

if [ "${#names[@]}" -eq 0 ]; then
  echo "no fault matches: ${selected[*]}" >&2
  exit 2
fi

if [ "$list_only" = 1 ]; then
  for i in "${!names[@]}"; do
    state=$(apply_fault "${files[$i]}" "${patterns[$i]}" "${replacements[$i]}" --dry-run) \
      && state=ok
    printf '%-28s %-44s %s\n' "${names[$i]}" "${files[$i]}" "$state"
  done
  exit 0
fi

# The file under change and its saved copy; the trap puts the copy back however the check ends.
# The restored file gets a new time stamp, so the next build compiles it again.
backup=$(mktemp)
changed=""
restore() {
  if [ -n "$changed" ]; then
    cat "$backup" > "$changed"
    changed=""
  fi
}
trap 'restore; rm -f "$backup"' EXIT
trap 'echo; echo "interrupted; files restored"; exit 130' INT TERM

export CCACHE_DIR=${CCACHE_DIR:-/work/.ccache} CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache > "$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; exit 1; }
  rm -f "$build.configure.log"
fi
log_dir=$build/mutation-logs
mkdir -p "$log_dir" "$build/tmp"
export VELMORA_TEST_TMP=$root/$build/tmp QT_QPA_PLATFORM=offscreen

build_all() {
  ninja -C "$build" -j"$jobs" velmora_core_tests velmora_gui_tests velmora-icon
}

# Runs both test binaries; prints the first failing test. Fails when any test fails.
run_tests() {
  local log=$1 binary
  : > "$log"
  for binary in "$build/tests/core/velmora_core_tests" "$build/tests/gui/velmora_gui_tests"; do
    if ! timeout 300 "$binary" --gtest_brief=1 --gtest_fail_fast >> "$log" 2>&1; then
      grep -m1 -o '\[  FAILED  \] [A-Za-z0-9_./]*' "$log" | sed 's/.*\] //' \
        || echo "$(basename "$binary") stopped"
      return 1
    fi
  done
}

echo "building the unchanged code in $build"
build_all > "$log_dir/unchanged.log" 2>&1 || { tail -n 40 "$log_dir/unchanged.log"; exit 1; }
if ! run_tests "$log_dir/unchanged-tests.log" > /dev/null; then
  echo "the tests fail on the unchanged code; see $log_dir/unchanged-tests.log"
  exit 1
fi

caught=0 missed=0 not_applied=0 build_failed=0
missed_names=()
for i in "${!names[@]}"; do
  name=${names[$i]} file=${files[$i]}
  cp "$file" "$backup" 2> /dev/null || true
  changed=$file
  if ! why=$(apply_fault "$file" "${patterns[$i]}" "${replacements[$i]}"); then
    changed=""
    printf '%-12s %-28s %s: %s\n' "not applied" "$name" "$file" "$why"
    not_applied=$((not_applied + 1))
    [ "$keep_going" = 1 ] && continue
    echo "stopped (use --keep-going to go on)"
    break
  fi
  if ! build_all > "$log_dir/$name.build.log" 2>&1; then
    restore
    printf '%-12s %-28s %s (see %s)\n' "build failed" "$name" "$file" \
      "$log_dir/$name.build.log"
    build_failed=$((build_failed + 1))
    [ "$keep_going" = 1 ] && continue
    echo "stopped (use --keep-going to go on)"
    break
  fi
  if failed=$(run_tests "$log_dir/$name.tests.log"); then
    printf '%-12s %-28s %s\n' "missed" "$name" "$file"
    missed=$((missed + 1))
    missed_names+=("$name")
  else
    printf '%-12s %-28s %s\n' "caught" "$name" "$failed"
    caught=$((caught + 1))
  fi
  restore
done
restore
# Leaves the build matching the unchanged code.
build_all > "$log_dir/restored.log" 2>&1 || true

total=${#names[@]}
echo
echo "summary: $total faults: $caught caught, $missed missed, $not_applied not applied," \
  "$build_failed build failed"
[ "${#missed_names[@]}" -eq 0 ] || echo "missed: ${missed_names[*]}"
