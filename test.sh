#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
karvex_setup

jobs=$(nproc)

# Formatting is part of the build's hygiene.
if command -v clang-format >/dev/null 2>&1; then
  git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' \
    | xargs -0 -r clang-format --dry-run --Werror
fi

# The core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKARVEX_SANITIZE=ON \
  -DKARVEX_BUILD_GUI=OFF -DKARVEX_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

# Everything, GUI suites on the offscreen platform.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKARVEX_WERROR=ON \
  -DKARVEX_BUILD_BENCH=ON >/dev/null
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"
