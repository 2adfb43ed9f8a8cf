#!/usr/bin/env bash
# Decodes the same 6000 x 4000 JPEG with the native build's picture loader
# and with each Windows build's under Wine, and prints the times and their
# ratio (goal: Windows <= 1.25 x native). A benchmark, not a test: it
# reports and goes on. Only the native timer's failure stops it, since that
# timer writes the photo; a Windows build that cannot decode the photo (the
# 32-bit build's bound on a picture's size) says why and is passed over.
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
  err=$(mktemp)
  if ! ms=$("$loader" "$build/$target/tests/bench/timer/jpeg_decode_timer.exe" "$photo" 2>"$err" | tr -d '\r'); then
    echo "jpeg decode, $target: did not run ($(tr -d '\r' <"$err" | tail -1))"
    rm -f "$err"
    continue
  fi
  rm -f "$err"
  echo "jpeg decode 6000 x 4000, $target under Wine: $ms ms, ratio $(awk -v a="$ms" -v b="$native" 'BEGIN { printf "%.2f", a / b }') (goal <= 1.25)"
done
