#!/bin/sh
# Prepares the Wine prefix that the Windows tests run in, once: WINEPREFIX
# must name it and DISPLAY an X server (Xvfb). A prefix that is already
# initialised is left as it is. Gecko and Mono are not wanted: the program
# and its tests use neither, and installing them would need the network.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the prefix for the Windows tests}"
: "${DISPLAY:?DISPLAY must name an X server, e.g. Xvfb}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows/system32" ]; then
  echo "prepare-wine: prefix $WINEPREFIX is ready"
  exit 0
fi

mkdir -p "$WINEPREFIX"
echo "prepare-wine: initialising $WINEPREFIX (takes a minute)"
wineboot -i
# wineboot returns before its server has written everything out.
wineserver -w
echo "prepare-wine: prefix $WINEPREFIX is ready"
