#!/usr/bin/env bash
# Installs what is missing, builds every preset with warnings as errors and
# runs every test: Linux (Qt on Xvfb, the in-process Firebird engine and a
# private server), the sanitizer build of core and service, the bounded fuzz
# run, and the Windows build under Wine. Needs root for the package install.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh || exit 1

failed=()
step() {
  local name=$1; shift
  echo "=== $name"
  if ! "$@"; then failed+=("$name"); fi
}

build() {
  local preset=$1
  cmake --preset "$preset" -DKP_WERROR=ON >/dev/null && cmake --build --preset "$preset" -j "$(nproc)"
}

# Wine needs an X server of its own, and a prefix inside the build tree.
wine_tests() {
  local display=:92 xvfb
  Xvfb "$display" -screen 0 1366x768x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  local rc=0
  (
    export DISPLAY=$display WINEPREFIX=$root/build/windows/wineprefix WINEDEBUG=-all
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    tests/wine/prepare-wine.sh && ctest --preset windows
  ) || rc=$?
  wineserver -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  return $rc
}

for preset in linux linux-asan windows windows-x86 fuzz; do
  step "build $preset" build "$preset"
done
step "test linux" ctest --preset linux
step "test linux-asan" ctest --preset linux-asan
step "test fuzz" ctest --test-dir build/fuzz --output-on-failure
step "test windows (Wine)" wine_tests

if ((${#failed[@]})); then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all builds and tests passed"
