#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, when it is missing.
# Sourced by run.sh and test.sh.

# fonts-nanum: a Hangul font, so that the text of Korean pages can be read in the editor.
karvex_packages=(qt6-base-dev qt6-image-formats-plugins xvfb xauth xdotool fonts-nanum
                 cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev clang-format
                 clang-tidy)

karvex_setup() {
  if ! command -v dpkg >/dev/null 2>&1; then
    echo "karvex: not a Debian system; make sure Qt 6 (Widgets, Test), CMake, Ninja and GoogleTest are installed." >&2
    return 0
  fi
  local missing=()
  local package
  for package in "${karvex_packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "karvex: these packages are missing and there is no sudo: ${missing[*]}" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  echo "karvex: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq || return 1
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}" || return 1
}
