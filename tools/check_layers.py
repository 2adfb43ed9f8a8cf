#!/usr/bin/env python3
"""Keeps the floors of the code pointing down.

Fails, naming file and line, when
  - a folder includes one of a higher floor, or one beside it on its floor;
  - a Windows header is included anywhere but platform/win32/WinApi.h (the
    Wine tests and tools/ excepted), or a POSIX one outside
    platform/portable/ and the tests;
  - anything but the implementation itself, the toolkit over it, the export
    and the tests that drive it includes platform/win32/ or
    platform/portable/, or the toolkit binding/win32/ or binding/portable/;
  - a folder of the code has no floor.

Usage: check_layers.py [root]   (default: the tree this script is in)
Standard library only.
"""
import os
import re
import sys

# From the ground up. A folder includes its own files and lower floors only,
# so two folders on one floor know nothing of each other. The longest
# matching folder counts: platform/win32/ is not platform/.
FLOORS = {
    "platform": 0,  # the outside services' interfaces and plain helpers
    "gfx": 1,
    # The services over the system: nothing of the forms, the controls or
    # the components.
    "platform/win32": 2,
    "platform/portable": 2,
    "settings": 2,
    "ui": 2,
    "components": 3,
    "resources": 3,
    # The toolkit: the forms' windows over ui/ and components/.
    "binding/win32": 4,
    "binding/portable": 4,
    "dialogs/about": 4,
    "dialogs/bgcolor": 4,
    "dialogs/main": 5,
    "applet": 6,
}

# Not code of the module: tests and tools use every floor; the rest holds
# no sources the module is built from.
OUTSIDE = {"tests", "tools", "build", "wip", "cmake", "scripts", "installer", "docs"}

WINDOWS_HEADER = re.compile(
    r"^(win[a-z0-9_]*|windef|sh[a-z]*api|shlobj[a-z_]*|shobjidl|commctrl|commdlg|cderr|dlgs"
    r"|cpl|cplext|objbase|objidl|ole[a-z0-9]*|unknwn|oaidl|richedit|uxtheme|dwmapi|psapi"
    r"|tlhelp32|mmsystem|dbghelp|ws2tcpip|knownfolders|propkey|gdiplus[a-z]*|wincodec"
    r"|atl[a-z]*|process|io|direct)\.h$",
    re.IGNORECASE)
POSIX_HEADER = re.compile(
    r"^((unistd|fcntl|poll|dirent|pthread|dlfcn|termios|pwd|grp|glob|fnmatch|spawn"
    r"|semaphore|syslog)\.h|(sys|linux|arpa|netinet)/.*)$")

THE_WINDOWS_HEADER = "platform/win32/WinApi.h"
EXPORT = "applet/CplExport.cpp"
# Who may include each implementation besides itself.
IMPLEMENTATION_USERS = {
    "platform/win32": ("platform/win32/", "binding/win32/", EXPORT, "tests/wine/",
                       "tests/bench/wine/"),
    "platform/portable": ("platform/portable/", "binding/portable/", "tests/unit/",
                          "tests/fuzz/", "tests/bench/"),
    "binding/win32": ("binding/win32/", EXPORT, "tests/wine/", "tests/bench/wine/"),
    "binding/portable": ("binding/portable/", "tests/unit/", "tests/fuzz/", "tests/bench/"),
}
WINDOWS_HEADER_USERS = (THE_WINDOWS_HEADER, "tests/wine/", "tests/bench/wine/", "tools/")
POSIX_HEADER_USERS = ("platform/portable/", "tests/", "tools/")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE = (".c", ".cc", ".cpp", ".h", ".hpp")


def floor_of(path):
    """The floor folder holding path (root-relative, '/'), or None."""
    best = None
    for folder in FLOORS:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def sources(root):
    for top in sorted(os.listdir(root)):
        if top.startswith(".") or top == "build" or not os.path.isdir(os.path.join(root, top)):
            continue
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                if name.endswith(SOURCE):
                    yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def resolve(root, including, name):
    """A quoted include as a root-relative path: relative to the including
    file when it is there, else from the root as the build's include path."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), name)).replace(os.sep, "/")
    if os.path.exists(os.path.join(root, beside)):
        return beside
    return os.path.normpath(name).replace(os.sep, "/")


def users(path, allowed):
    return any(path == a or (a.endswith("/") and path.startswith(a)) for a in allowed)


def check(root):
    faults = []
    for path in sources(root):
        top = path.split("/", 1)[0]
        own = floor_of(path)
        is_code = top not in OUTSIDE
        if is_code and own is None:
            faults.append(f"{path}: {os.path.dirname(path) or '.'}/ has no floor")
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                where = f"{path}:{number}"
                kind, name = match.groups()
                if kind == "<":
                    if WINDOWS_HEADER.match(name) and not users(path, WINDOWS_HEADER_USERS):
                        faults.append(f"{where}: <{name}> outside {THE_WINDOWS_HEADER}")
                    elif POSIX_HEADER.match(name) and not users(path, POSIX_HEADER_USERS):
                        faults.append(f"{where}: <{name}> outside platform/portable/")
                    continue
                target = resolve(root, path, name)
                target_floor = floor_of(target)
                for implementation, allowed in IMPLEMENTATION_USERS.items():
                    if target.startswith(implementation + "/") and not users(path, allowed):
                        faults.append(f"{where}: includes {target}; only "
                                      f"{', '.join(allowed)} may include {implementation}/")
                if not is_code or target_floor == own or target_floor in IMPLEMENTATION_USERS:
                    continue
                if target_floor is None:
                    faults.append(f"{where}: includes {target}, which is on no floor")
                elif FLOORS[target_floor] >= FLOORS[own]:
                    faults.append(f"{where}: {own}/ (floor {FLOORS[own]}) includes "
                                  f"{target_floor}/ (floor {FLOORS[target_floor]})")
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    faults = check(os.path.abspath(root))
    for fault in faults:
        print("layers: " + fault, file=sys.stderr)
    if faults:
        print(f"layers: {len(faults)} include(s) against the floors (docs/ARCHITECTURE.md)",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
