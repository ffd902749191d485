#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test: the GCC build with warnings as
# errors, the same under AddressSanitizer and UndefinedBehaviorSanitizer, the core alone
# without the GUI, and the fuzz targets (a short run and the replay of saved regressions).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${VELMORA_FUZZ_SECONDS:-20}

step() { printf '\n=== %s\n' "$*"; }

step "format check"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

step "release build with warnings as errors"
cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON -DVELMORA_BUILD_BENCH=ON
cmake --build build-ci -j"$jobs"
(cd build-ci && ctest --output-on-failure -j"$jobs")

step "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-ci-san -DCMAKE_BUILD_TYPE=Debug -DVELMORA_WERROR=ON -DVELMORA_SANITIZE=ON \
  -DVELMORA_BUILD_FUZZ=ON
cmake --build build-ci-san -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-ci-san && ctest --output-on-failure -j"$jobs")
for target in build-ci-san/fuzz/fuzz_*; do
  name=$(basename "$target")
  if [ -d "fuzz/regressions/$name" ]; then
    "$target" "fuzz/regressions/$name"
  fi
done

step "core without the GUI"
cmake -S . -B build-ci-core -DCMAKE_BUILD_TYPE=Debug -DVELMORA_WERROR=ON -DVELMORA_BUILD_GUI=OFF \
  -DVELMORA_BUILD_TESTS=OFF
cmake --build build-ci-core -j"$jobs" --target velmora_core velmora-icon

step "fuzzing with libFuzzer (${fuzz_seconds}s per target)"
cmake -S . -B build-ci-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_BUILD_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_GUI=OFF
cmake --build build-ci-fuzz -j"$jobs"
for target in build-ci-fuzz/fuzz/fuzz_*; do
  name=$(basename "$target")
  work=$(mktemp -d)
  if [ -d "fuzz/regressions/$name" ]; then
    "$target" -runs=0 "fuzz/regressions/$name" > "$work/replay" 2>&1 || { cat "$work/replay"; exit 1; }
  fi
  corpus=()
  [ -d "fuzz/corpus/$name" ] && corpus=("fuzz/corpus/$name")
  if ! "$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$work/" "$work" "${corpus[@]}" > "$work/log" 2>&1; then
    tail -n 60 "$work/log"
    echo "fuzz target $name failed; its input is above (base64) and in $work"
    exit 1
  fi
  grep -E '^(Done|#[0-9]+ +DONE)' "$work/log" | sed "s/^/$name: /" || true
  rm -rf "$work"
done

echo
echo "all test stages passed"

# The share of test code: non-blank C++ lines under tests/ against those outside tests/, fuzz/
# and bench/ (the project keeps it at most 35 %).
src=$(git ls-files '*.cpp' '*.h' | grep -v -E '(^|/)(tests?|fuzz|bench)/' | xargs cat | grep -c -v '^\s*$')
tst=$(git ls-files '*.cpp' '*.h' | grep -E '(^|/)tests?/' | xargs cat | grep -c -v '^\s*$')
echo "test share: $tst test lines against $src code lines ($((100 * tst / src)) %)"
