#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing need.
# Idempotent: packages already present are left alone. Needs root.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  # Firebird: client, in-process engine, tools, server binary
  libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
  # X server, Wine and the tools the tests read windows and pixels with
  xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick fonts-dejavu-core openbox wine wine64
  # benchmark
  hyperfine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "install-deps: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # The server package would start a system-wide server; tests start their own.
  if [[ ! -e /usr/sbin/policy-rc.d ]]; then
    printf '#!/bin/sh\nexit 101\n' >/usr/sbin/policy-rc.d && chmod +x /usr/sbin/policy-rc.d
    trap 'rm -f /usr/sbin/policy-rc.d' EXIT
  fi
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
