#!/usr/bin/env bash
# Sets up this machine, builds, and runs every test twice: in an optimised build and in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer. The GL and input tests need an X display;
# they get a virtual one of their own (Xvfb with Mesa's software renderer).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

jobs=$(nproc)
xvfb=(xvfb-run -a -s "-screen 0 1920x1080x24 -noreset")

build_and_test() {
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" > /dev/null
  cmake --build "$dir" -j "$jobs"
  "${xvfb[@]}" ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

build_and_test build/release -DCMAKE_BUILD_TYPE=Release
# detect_leaks stays on; fast_unwind_on_malloc=0 would deadlock Mesa's llvmpipe.
ASAN_OPTIONS=abort_on_error=0:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  build_and_test build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVORNHALT_SANITIZE=ON
