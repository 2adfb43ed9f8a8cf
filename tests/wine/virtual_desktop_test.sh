#!/usr/bin/env bash
# virtual_desktop_test.sh NAME LOADER PROGRAM
# Runs the suite's virtual-desktop tests with every program of the prefix
# in one Wine virtual desktop of 1024 x 768: the values under
# HKCU\Software\Wine\Explorer that make one, set for the run and removed
# afterwards, so that the other tests of the prefix keep the plain desktop.
set -uo pipefail
name=$1 loader=$2 program=$3
here=$(cd "$(dirname "$0")" && pwd)
wine64=/usr/lib/wine/wine64
explorer='HKCU\Software\Wine\Explorer'
export WINEDEBUG=-all
[ -x "$loader" ] || exec "$here/run-suite.sh" "$name" "$loader" "$program"
cleanup() {
  "$wine64" reg delete "$explorer" /v Desktop /f >/dev/null 2>&1
  "$wine64" reg delete "$explorer\\Desktops" /v Bexora /f >/dev/null 2>&1
}
trap cleanup EXIT
"$wine64" reg add "$explorer" /v Desktop /d Bexora /f >/dev/null 2>&1
"$wine64" reg add "$explorer\\Desktops" /v Bexora /d 1024x768 /f >/dev/null 2>&1
"$here/run-suite.sh" "$name" "$loader" "$program" --gtest_filter='VirtualDesktopWineTest.*'
