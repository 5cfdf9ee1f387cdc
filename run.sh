#!/usr/bin/env bash
# Builds Karvex (Release) when needed and starts the editor: ./run.sh [FILE]
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
exec "$build/bin/karvex" "$@"
