#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs every test through
# CTest under AddressSanitizer and UBSan, runs clang-tidy, then fuzzes the readers and the tag
# engine when clang++ is present.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
karvex_setup

jobs=$(nproc)

# Formatting is part of the build's hygiene.
if ! command -v clang-format >/dev/null 2>&1; then
  echo "karvex: clang-format not found; install it (scripts/setup.sh does)" >&2
  exit 1
fi
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' \
  | xargs -0 -r clang-format --dry-run --Werror

# Everything, GUI suites on the offscreen platform, under AddressSanitizer and UBSan; the
# benchmarks are built in the same tree (so they keep compiling) and not run.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKARVEX_SANITIZE=ON \
  -DKARVEX_BUILD_GUI=ON -DKARVEX_BUILD_BENCH=ON -DKARVEX_BUILD_FUZZ=OFF -DKARVEX_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The checks listed in .clang-tidy over our own sources, with build-asan's compile commands (its
# generated Qt headers exist now). Diagnostics in headers count for our headers only, not for Qt's
# or the generated ones. Each file's findings are printed together; any finding fails the run.
# The fuzz targets are not in this build and are not checked.
if ! command -v clang-tidy >/dev/null 2>&1; then
  echo "karvex: clang-tidy not found; install it (scripts/setup.sh does)" >&2
  exit 1
fi
echo "karvex: clang-tidy over src/, tests/ and bench/"
source_root=$(pwd -P | sed 's/[][\\.*^$+?(){}|]/\\&/g')
header_filter="^$source_root/(src|tests|bench)/"
# One file: nothing when clean, else its findings without clang-tidy's count of hidden warnings.
tidy_one='out=$(clang-tidy --quiet -p build-asan --header-filter="$1" "$2" 2>&1) && exit 0
printf "%s\n" "$out" | grep -Ev "^[0-9]+ (warnings?|errors?)( and [0-9]+ errors?)? generated\.$"
exit 1'
if ! git ls-files -z -- 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp' ':!tests/fuzz/*' \
  | xargs -0 -r -n 1 -P "$jobs" sh -c "$tidy_one" tidy "$header_filter"; then
  echo "karvex: clang-tidy has findings (above)" >&2
  exit 1
fi

# Each libFuzzer target for a while, both at once, from the texts in tests/fuzz/corpus/ (the
# reader target's inputs start with a settings byte: "G" asks with a prompt that answers No,
# searches pictures without a map and takes the last map). libFuzzer adds what it finds to a
# copy in the build folder, which later runs start from too.
fuzz_targets=(tag_engine_fuzzer reader_fuzzer)
fuzz_seconds=30
if ! command -v clang++ >/dev/null 2>&1; then
  echo "karvex: clang++ not found; fuzzing is skipped"
else
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DKARVEX_BUILD_FUZZ=ON -DKARVEX_BUILD_GUI=OFF -DKARVEX_SANITIZE=OFF -DKARVEX_WERROR=ON >/dev/null
  cmake --build build-fuzz -j "$jobs" --target "${fuzz_targets[@]}"
  pids=()
  for target in "${fuzz_targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$target" "build-fuzz/crashes/$target"
    for seed in tests/fuzz/corpus/*.*; do
      [ "$seed" = tests/fuzz/corpus/README.md ] && continue
      prefix=
      [ "$target" = reader_fuzzer ] && prefix=G
      { printf '%s' "$prefix"; cat "$seed"; } >"build-fuzz/corpus/$target/$(basename "$seed")"
    done
    echo "karvex: fuzzing $target for $fuzz_seconds s (log: build-fuzz/$target.log)"
    "build-fuzz/tests/fuzz/$target" -max_total_time="$fuzz_seconds" -timeout=10 \
      -artifact_prefix="build-fuzz/crashes/$target/" "build-fuzz/corpus/$target" \
      >"build-fuzz/$target.log" 2>&1 &
    pids+=("$!")
  done
  fuzz_failed=0
  for i in "${!fuzz_targets[@]}"; do
    target=${fuzz_targets[$i]}
    log=build-fuzz/$target.log
    if wait "${pids[$i]}"; then
      echo "karvex: $target: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1)"
    else
      fuzz_failed=1
      tail -n 60 "$log"
      input=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
      echo "karvex: $target FAILED; the input that broke it: ${input:-none written, see $log}" >&2
    fi
  done
  [ "$fuzz_failed" -eq 0 ] || exit 1
fi
