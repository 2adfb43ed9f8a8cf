#!/usr/bin/env bash
# Decodes the same 6000 x 4000 JPEG with the native build's picture loader
# and with each Windows build's under Wine, and prints the times and their
# ratio (goal: Windows <= 1.25 x native). A benchmark, not a test: it
# reports, and fails only when a timer could not run at all.
set -uo pipefail
build=$1
photo="$build/bench-photo.jpg"
native=$("$build/native/tests/bench/timer/jpeg_decode_timer" "$photo") || { echo "jpeg: native timer failed"; exit 1; }
echo "jpeg decode 6000 x 4000, native: $native ms"
for target in win64 win32; do
  case $target in win64) loader=/usr/lib/wine/wine64 ;; win32) loader=/usr/lib/wine/wine ;; esac
  if [ ! -x "$loader" ]; then
    echo "jpeg decode, $target: skipped ($loader is not installed)"
    continue
  fi
  ms=$("$loader" "$build/$target/tests/bench/timer/jpeg_decode_timer.exe" "$photo" | tr -d '\r') \
    || { echo "jpeg: $target timer failed"; exit 1; }
  echo "jpeg decode 6000 x 4000, $target under Wine: $ms ms, ratio $(awk -v a="$ms" -v b="$native" 'BEGIN { printf "%.2f", a / b }') (goal <= 1.25)"
done
