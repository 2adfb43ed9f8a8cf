#!/usr/bin/env bash
# The Windows Installer package of one build under Wine, used as a person and
# an administrator's tools use it: its version against the module's, silent
# install, the Control Panel's list of applets and opening the applet, the
# same package again, silent removal, a rebuild of the same version over the
# earlier build, an upgrade, a refused downgrade, a removal after the module
# was deleted by hand and, for the x64 package, its install over the x86 one.
# Each step checks what it leaves on the machine.
#
# Usage: package_test.sh WINE x64|x86 MODULE PACKAGE-DIR BXWINDOW CPLIST WORK-DIR
# WINE is the loader that runs the installer: the build's own, or the 64-bit
# one for the x86 package, as 64-bit Windows installs it. The Control Panel
# and the helpers run in the build's loader.
# Runs in $WINEPREFIX and $DISPLAY as scripts/test sets them (without them:
# a prefix under the build folder, kept between runs, and a virtual display).
# Exit code 77 (skipped) when WINE cannot run the build's programs; when only
# the build's loader is missing, the steps that need it are left out, saying so.
set -uo pipefail
if [ $# -ne 7 ]; then
  sed -n '10p' "$0" >&2
  exit 2
fi
wine=$1 arch=$2
module=$(realpath -m "$3") package_dir=$(realpath -m "$4") bxwindow=$(realpath -m "$5") cplist=$(realpath -m "$6")
work=$(realpath -m "$7")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine64=/usr/lib/wine/wine64
if [ "$arch" = x64 ]; then helper_wine=$wine64; else helper_wine=/usr/lib/wine/wine; fi
export WINEDEBUG=-all

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$package_dir/wineprefix-package"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine64" wineboot -i >/dev/null 2>&1
    "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
  fi
fi
rm -rf "$work"
mkdir -p "$work"

failures=0
step() { echo "== $* (${SECONDS} s)"; }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect() { # WHAT ACTUAL EXPECTED
  [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"
}
# Wine's drive Z: is the host's root folder.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
# Paths on C: map straight into the prefix, without a start of Wine that
# may answer nothing.
unixpath() {
  case "$1" in
    [Cc]:\\*) local rest=${1:3}; printf '%s/drive_c/%s' "$WINEPREFIX" "${rest//\\//}" ;;
    *) "$wine64" winepath -u "$1" 2>/dev/null | tr -d '\r' ;;
  esac
}
msiexec() { "$wine" msiexec "$@" </dev/null >/dev/null 2>&1; }

if [ "$arch" = x64 ]; then view=64; else view=32; fi
reg_get() { # VIEW KEY NAME: the value's data, nothing when absent
  "$wine64" reg query "$2" /v "$3" /reg:"$1" 2>/dev/null | tr -d '\r' |
    awk -v name="$3" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print; exit }'
}
reg_find() { # KEY NAME DATA: "VIEW SUBKEY" of each subkey, in both views, whose value NAME is DATA
  local v
  for v in 64 32; do
    "$wine64" reg query "$1" /s /reg:$v 2>/dev/null | tr -d '\r' |
      awk -v v=$v -v name="$2" -v data="$3" '
        /^HKEY/ { key = $0 }
        $1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); if ($0 == data) print v " " key }'
  done
}
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
cpls='HKLM\Software\Microsoft\Windows\CurrentVersion\Control Panel\Cpls'
entries() { reg_find "$uninstall" DisplayName Bexora; }
entry_value() { # NAME: the value of the one uninstall entry
  local e
  e=$(entries)
  [ "$(printf '%s\n' "$e" | grep -c .)" = 1 ] && reg_get "${e%% *}" "${e#* }" "$1"
}
# The versions as Windows reads them: the package's ProductVersion, its
# module's version in the File table and the module's file version.
versions() { # PACKAGE MODULE, Windows paths
  "$wine64" cscript //nologo "$(winpath "$here/versions.js")" "$1" "$2" 2>/dev/null | tr -d '\r'
}
file_version() { versions "" "$1" | tail -1; }
product_code() { # PACKAGE
  python3 "$root/tools/msi_database.py" "$1" "SELECT \`Value\` FROM \`Property\` WHERE \`Property\` = 'ProductCode'"
}
# The Control Panel's registered applets, as "value<TAB>module<TAB>applet name" lines.
control_panel_list() { "$helper_wine" "$(winpath "$cplist")" </dev/null 2>/dev/null | tr -d '\r'; }

# Runs a program under bxwindow until a window showing TEXT appears, closes
# it and prints the program's exit code; prints nothing when no such window
# appeared within a minute.
with_window() { # TEXT PROGRAM [ARGUMENT...]
  local text=$1 pid
  shift
  rm -f "$work/ready" "$work/close"
  "$helper_wine" "$(winpath "$bxwindow")" "$text" "$(winpath "$work/ready")" "$(winpath "$work/close")" "$@" \
    </dev/null >/dev/null 2>&1 &
  pid=$!
  while kill -0 $pid 2>/dev/null && [ ! -e "$work/ready" ]; do sleep 0.2; done
  touch "$work/close"
  wait $pid && sed -n 's/^ended //p' "$work/ready" | tr -d '\r'
}
helpers=yes
without_helpers() { # WHAT: true, after saying so, when the build's own loader is missing
  [ $helpers = yes ] && return 1
  echo "SKIP: $1: this Wine runs no 32-bit programs (no 32-bit Wine)"
}

# Leaves the prefix as it was: no Bexora installed, no settings of this test.
seeded_settings= seeded_bitmap=
cleanup() {
  local v key
  while read -r v key; do
    [ -n "$key" ] && msiexec /x "${key##*\\}" /qn
  done < <(entries)
  [ -n "$seeded_settings" ] && "$wine64" reg delete "$seeded_settings" /f >/dev/null 2>&1
  [ -n "$seeded_bitmap" ] && rm -f "$seeded_bitmap"
}
trap cleanup EXIT

# The module's own version names the package; Windows reads the same in both.
packages=("$package_dir"/Bexora-*-"$arch".msi)
if [ ${#packages[@]} != 1 ] || [ ! -f "${packages[0]}" ]; then
  echo "FAIL: no single package Bexora-<version>-$arch.msi in $package_dir: ${packages[*]}" >&2
  exit 1
fi
package=${packages[0]}
version=$(basename "$package" "-$arch.msi")
version=${version#Bexora-}
{ read -r package_version; read -r table_version; read -r module_version; } < \
  <(versions "$(winpath "$package")" "$(winpath "$module")")
expect "package version" "$package_version" "$version"
expect "the module's version in the package's File table" "$table_version" "$version"
expect "module version" "$module_version" "$version"
[ $failures = 0 ] || exit 1

# The rest runs the build's own programs: a 32-bit build needs 32-bit Wine.
"$helper_wine" "$(winpath "$bxwindow")" >/dev/null 2>&1
if [ $? != 3 ]; then
  if [ "$arch" = x86 ] && [ "$wine" != "$wine64" ]; then
    echo "SKIP: this Wine runs no 32-bit programs (no 32-bit Wine)"
    exit 77
  fi
  [ "$arch" = x64 ] && { echo "FAIL: Wine does not run $bxwindow" >&2; exit 1; }
  helpers=no
fi
cleanup

program_files=$(reg_get $view 'HKLM\Software\Microsoft\Windows\CurrentVersion' ProgramFilesDir)
installed_win="$program_files\\Bexora\\Bexora.cpl"
installed=$(unixpath "$installed_win")
folder=$(dirname "$installed")

step "silent install of $(basename "$package")"
msiexec /i "$(winpath "$package")" /qn /l*v "$(winpath "$work/install.log")"
expect "install exit code" $? 0
if [ ! -f "$installed" ]; then
  echo "FAIL: $installed_win was not installed (as $installed); the installer's last words:" >&2
  tr -d '\r' < "$work/install.log" 2>/dev/null | tail -15 >&2
  exit 1
fi
cmp -s "$installed" "$module" || fail "the installed module differs from $module (package older than the build?)"
expect "Control Panel registration" "$(reg_get $view "$cpls" Bexora)" "$installed_win"
expect "uninstall entries" "$(entries | grep -c .)" 1
expect "uninstall entry: publisher" "$(entry_value Publisher)" Mobrelin
expect "uninstall entry: version" "$(entry_value DisplayVersion)" "$version"
expect "version of the installed module" "$(file_version "$installed_win")" "$version"
product=$(reg_find 'HKLM\Software\Classes\Installer\Products' ProductName Bexora | head -1)
icon=$(unixpath "$([ -n "$product" ] && reg_get "${product%% *}" "${product#* }" ProductIcon)")
[ -f "$icon" ] && cmp -s "$icon" "$root/resources/MAINICON.ico" || fail "the product's icon is not the applet's icon"

step "the Control Panel's list of applets, then control.exe on the installed module"
if ! without_helpers "the Control Panel's list and control.exe"; then
  listed=$(control_panel_list)
  expect "Bexora in the Control Panel's list: its module and applet name" \
    "$(printf '%s\n' "$listed" | grep "^Bexora"$'\t')" "Bexora"$'\t'"$installed_win"$'\t'"Bexora"
  expect "Bexora dialog, then the Control Panel's end" "$(with_window Bexora control.exe "$installed_win" | grep -c .)" 1
fi

step "the same package again"
snapshot() {
  reg_get $view "$cpls" Bexora
  entries | while read -r v key; do "$wine64" reg query "$key" /reg:$v | tr -d '\r'; done
  ls -l --full-time "$folder"
}
before=$(snapshot)
msiexec /i "$(winpath "$package")" /qn
expect "second install exit code" $? 0
[ "$(snapshot)" = "$before" ] || fail "installing the same package again changed the installation"

step "silent removal, the user's settings and converted bitmap stay"
settings='HKCU\Software\Mobrelin\Bexora'
user_settings() { "$wine64" reg query "$settings" /s 2>/dev/null | tr -d '\r'; }
if [ -z "$(user_settings)" ]; then
  seeded_settings=$settings
  "$wine64" reg query 'HKCU\Software\Mobrelin' >/dev/null 2>&1 || seeded_settings='HKCU\Software\Mobrelin'
  "$wine64" reg add "$settings" /v WallpaperFolder /d 'C:\pictures' /f >/dev/null 2>&1
fi
settings_before=$(user_settings)
bitmap="$(unixpath "$(reg_get 64 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' AppData)")/KVF of Mobrelin.bmp"
if [ ! -f "$bitmap" ]; then
  cp "$root/resources/OK.bmp" "$bitmap" && seeded_bitmap=$bitmap
fi
bitmap_before=$(md5sum <"$bitmap")
msiexec /x "$(winpath "$package")" /qn
expect "removal exit code" $? 0
removed() { # WHAT
  [ ! -e "$installed" ] || fail "$1: the module is still there"
  [ ! -e "$folder" ] || fail "$1: its folder is still there"
  expect "$1: Control Panel registration" "$(reg_get $view "$cpls" Bexora)" ""
  expect "$1: uninstall entries" "$(entries | grep -c .)" 0
  [ $helpers = no ] || expect "$1: applets of the Control Panel named Bexora" \
    "$(control_panel_list | cut -f3 | grep -c '^Bexora$')" 0
}
removed "removal"
expect "the user's converted bitmap after removal" "$(md5sum <"$bitmap" 2>/dev/null)" "$bitmap_before"
[ -n "$settings_before" ] && [ "$(user_settings)" = "$settings_before" ] ||
  fail "removal changed the user's settings under $settings"

step "a rebuild of the same version over the earlier build"
rebuild=$(python3 "$root/tools/make_package.py" "$module" "$arch" "$work/rebuild") ||
  { echo "FAIL: no rebuilt package" >&2; exit 1; }
rebuild_code=$(product_code "$rebuild")
[ -n "$rebuild_code" ] && [ "$rebuild_code" != "$(product_code "$package")" ] ||
  fail "the rebuild's product code '$rebuild_code' is not a new one"
msiexec /i "$(winpath "$package")" /qn
expect "install exit code" $? 0
msiexec /i "$(winpath "$rebuild")" /qn /l*v "$(winpath "$work/rebuild.log")"
expect "exit code of the rebuild over the earlier build" $? 0
expect "after the rebuild: the installed product" "$(entries | sed 's/.*\\//')" "$rebuild_code"
expect "after the rebuild: version" "$(entry_value DisplayVersion)" "$version"
cmp -s "$installed" "$module" || fail "after the rebuild: the installed module is not the build's"
expect "after the rebuild: Control Panel registration" "$(reg_get $view "$cpls" Bexora)" "$installed_win"

step "upgrade to the next version, then the older one refused"
next_module="$work/next/Bexora.cpl"
mkdir -p "$work/next"
python3 "$here/next_version.py" "$module" "$next_module" &&
  next_package=$(python3 "$root/tools/make_package.py" "$next_module" "$arch" "$work/next") ||
  { echo "FAIL: no package of the next version" >&2; exit 1; }
next_version=$(basename "$next_package" "-$arch.msi")
next_version=${next_version#Bexora-}
msiexec /i "$(winpath "$next_package")" /qn /l*v "$(winpath "$work/upgrade.log")"
expect "upgrade exit code" $? 0
upgraded() { # WHAT
  expect "$1: uninstall entries" "$(entries | grep -c .)" 1
  expect "$1: version" "$(entry_value DisplayVersion)" "$next_version"
  cmp -s "$installed" "$next_module" || fail "$1: the installed module is not the next version's"
  expect "$1: Control Panel registration" "$(reg_get $view "$cpls" Bexora)" "$installed_win"
}
upgraded "upgrade"
refusal="A newer version of Bexora is already installed. To install this version, first remove the newer one under Programs and Features."
if without_helpers "the older package's message on the screen"; then
  # Wine hands on only the low byte of a Windows program's exit code.
  msiexec /i "$(winpath "$package")" /qn
  expect "silent older package over the newer: exit code" $? $((1603 & 255))
else
  expect "older package over the newer: its message, then the installer's exit code" \
    "$(with_window "$refusal" msiexec /i "$(winpath "$package")" /qb)" 1603
fi
upgraded "after the refused older package"

step "removal after the module was deleted by hand"
rm -f "$installed"
msiexec /x "$(winpath "$next_package")" /qn
expect "removal exit code" $? 0
removed "removal without the module"

# Both packages are one product: on 64-bit Windows the x64 package replaces
# the x86 one, which is how a computer moves from one to the other.
x86_package="$package_dir/Bexora-$version-x86.msi"
if [ "$arch" = x64 ] && [ ! -f "$x86_package" ]; then
  echo "SKIP: the x64 package over the x86 one: no $(basename "$x86_package") beside it"
elif [ "$arch" = x64 ]; then
  step "the x64 package over the x86 one of the same version"
  x86_installed=$(unixpath "$(reg_get 32 'HKLM\Software\Microsoft\Windows\CurrentVersion' ProgramFilesDir)\Bexora\Bexora.cpl")
  msiexec /i "$(winpath "$x86_package")" /qn
  expect "x86 install exit code" $? 0
  [ -f "$x86_installed" ] || fail "the x86 package did not install $x86_installed"
  msiexec /i "$(winpath "$package")" /qn
  expect "x64 over x86: exit code" $? 0
  expect "x64 over x86: uninstall entries, by registry view" "$(entries | cut -d' ' -f1)" 64
  [ ! -e "$x86_installed" ] || fail "x64 over x86: the x86 module is still there"
  expect "x64 over x86: the x86 Control Panel registration" "$(reg_get 32 "$cpls" Bexora)" ""
  cmp -s "$installed" "$module" || fail "x64 over x86: the installed module is not the build's"
  msiexec /x "$(winpath "$package")" /qn
  expect "removal exit code" $? 0
  removed "removal after the move from x86"
fi

if [ $failures = 0 ]; then
  echo "package_test $arch: all steps passed in ${SECONDS} s"
  exit 0
fi
echo "package_test $arch: $failures failures" >&2
exit 1
