#!/usr/bin/env bash
# control_icon_test.sh LOADER MODULE BXWINDOW WORK
# The applet in its real host: control.exe opens the built module, and its
# dialog must show both icons, the title bar's and the task switcher's, at
# the sizes the system asks for (32 x 32 and 16 x 16 at 96 dots per inch).
# Wine answers no WM_GETICON sent from another process, for any window, so
# the icons are read where Wine hands them on: the X window's _NET_WM_ICON.
set -uo pipefail
loader=$1 module=$(realpath -m "$2") bxwindow=$(realpath -m "$3") work=$(realpath -m "$4")
[ -x "$loader" ] || { echo "skipped: $loader is not installed"; exit 77; }
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
winpath() { "$loader" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
mkdir -p "$work"
rm -f "$work/ready" "$work/close"
"$loader" "$(winpath "$bxwindow")" Bexora "$(winpath "$work/ready")" "$(winpath "$work/close")" \
  control.exe "$(winpath "$module")" </dev/null >/dev/null 2>&1 &
pid=$!
for _ in $(seq 600); do
  [ -e "$work/ready" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
[ -e "$work/ready" ] || { echo "FAIL: control.exe showed no window captioned Bexora"; exit 1; }
icons=$(xprop -name Bexora _NET_WM_ICON 2>&1 | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
touch "$work/close"
wait $pid
echo "icons of the dialog in control.exe: ${icons:-none}"
case "$icons" in
  *"(32 x 32)"*) ;;
  *) echo "FAIL: no 32 x 32 icon"; exit 1 ;;
esac
case "$icons" in
  *"(16 x 16)"*) ;;
  *) echo "FAIL: no 16 x 16 icon"; exit 1 ;;
esac
