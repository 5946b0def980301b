#!/usr/bin/env bash
# Builds the project and runs every test, in three timed stages; run it from
# anywhere after scripts/install-deps.sh --test.
#   1. GCC 12: the game and all three test levels            (build/)
#   2. clang 14 with AddressSanitizer and UndefinedBehavior-
#      Sanitizer: the whole project, then the logic and Qt
#      tests                                                  (build-sanitize/)
#   3. the fuzz targets of that build, each for a fixed
#      number of inputs from its seed corpus (fuzz/README.md)
# Both builds treat warnings as errors. Any failed test, sanitizer report,
# leak or fuzz finding fails the run. The time of each stage is printed at
# the end, also when a stage fails.
set -euo pipefail
cd "$(dirname "$0")/.."

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

# Every report ends the process with a failure; leaks count too.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

timings=()
current="" started=0
report() {
  if [[ -n "$current" ]]; then timings+=("$current: $((SECONDS - started)) s, FAILED"); fi
  echo
  echo "Stage times:"
  if ((${#timings[@]} > 0)); then printf '  %s\n' "${timings[@]}"; fi
}
trap report EXIT

stage() {
  current=$1 started=$SECONDS
  shift
  echo
  echo "==== $current"
  "$@"
  timings+=("$current: $((SECONDS - started)) s")
  current=""
}

gcc_build_and_test() {
  CXX=${CXX_GCC:-g++} cmake -S . -B build -G Ninja "${launcher[@]}" -DTARVIK_WERROR=ON
  cmake --build build
  ctest --test-dir build --output-on-failure -j2
}

clang_sanitized_build_and_test() {
  CXX=clang++-14 cmake -S . -B build-sanitize -G Ninja "${launcher[@]}" -DTARVIK_FUZZ=ON -DTARVIK_WERROR=ON
  cmake --build build-sanitize
  ctest --test-dir build-sanitize -L '^(logic|qt)$' --output-on-failure -j2
}

fuzz() {
  ctest --test-dir build-sanitize -L '^fuzz$' --output-on-failure -j2
}

stage "1 GCC 12 build, all tests" gcc_build_and_test
stage "2 clang 14 ASan+UBSan build, logic and Qt tests" clang_sanitized_build_and_test
stage "3 fuzz targets" fuzz
