#!/usr/bin/env bash
# run-suite.sh NAME LOADER PROGRAM [GTEST ARGS...]
# Runs a GoogleTest program under Wine and judges it by GoogleTest's own
# report, not by the loader's exit code: a loader that cannot start the
# program, or a run that executed no test, fails. Where the loader itself
# is not installed (32-bit Wine), the suite is skipped with exit code 77.
set -uo pipefail
name=$1 loader=$2 program=$3; shift 3

if [ ! -x "$loader" ]; then
  echo "$name: skipped: $loader is not installed (32-bit Wine, wine32:i386, could not be installed by scripts/setup)"
  exit 77
fi

report="$name.xml"
rm -f "$report"
"$loader" "$program" --gtest_color=no --gtest_output="xml:$report" "$@"
rc=$?

if [ ! -s "$report" ]; then
  echo "$name: FAILED: no GoogleTest report (the program did not start or ended early; exit code $rc)"
  exit 1
fi
ran=$(grep -c 'result="completed"' "$report")
failed=$(grep -c '<failure' "$report")
echo "$name: $ran tests ran, $failed failures, loader exit code $rc"
if [ "$ran" -eq 0 ]; then
  echo "$name: FAILED: the suite ran no test"
  exit 1
fi
[ "$failed" -eq 0 ] && [ "$rc" -eq 0 ] || exit 1
