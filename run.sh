#!/usr/bin/env bash
# Builds Karvex (Release) when needed and starts the editor: ./run.sh [FILE]
# Without FILE it opens the sample page with its map.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
karvex_setup

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target karvex -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "karvex: no display found. To run without one, start it under Xvfb:" >&2
  echo "  xvfb-run ./run.sh [FILE]" >&2
  exit 1
fi
# Without a file the editor opens a copy of the sample page, so the repository's own stays as
# it is whatever the user saves.
if [ "$#" -eq 0 ]; then
  sample="$build/sample"
  if [ ! -f "$sample/sample.html" ]; then
    mkdir -p "$sample"
    cp samples/sample.html samples/welcome.jpg "$sample/"
  fi
  set -- "$sample/sample.html"
fi
exec "$build/bin/karvex" "$@"
