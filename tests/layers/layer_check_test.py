#!/usr/bin/env python3
"""The layer check on a scratch copy of the tree: the copy as it is passes,
and each planted include against one rule fails with that rule's message.

Usage: layer_check_test.py <source root>
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(sys.argv[1])
CHECK = os.path.join(ROOT, "tools", "check_layers.py")

# (file to plant in, or a folder whose first source file is taken; the
# line planted; a piece of the message the check must give)
PLANTS = [
    ("ui", "#include <windows.h>", "<windows.h> outside platform/win32/WinApi.h"),
    ("binding/win32/FormWindow.cpp", "#include <shlobj.h>", "<shlobj.h> outside"),
    ("applet/CplExport.cpp", "#include <windows.h>", "<windows.h> outside"),
    ("tests/unit", "#include <commctrl.h>", "<commctrl.h> outside"),
    ("components", "#include <sys/inotify.h>", "outside platform/portable/"),
    ("gfx", '#include "ui/Controls.h"', "gfx/ (floor 1) includes ui/ (floor 2)"),
    ("settings", '#include "ui/Form.h"', "settings/ (floor 2) includes ui/ (floor 2)"),
    ("dialogs/about", '#include "dialogs/main/BXMain.h"',
     "dialogs/about/ (floor 4) includes dialogs/main/"),
    ("components/Spin.h", '#include "../dialogs/main/BXMain.h"',
     "components/ (floor 3) includes dialogs/main/"),
    ("platform", '#include "settings/RegSpecial.h"', "platform/ (floor 0) includes settings/"),
    ("dialogs/main", '#include "platform/win32/WinApi.h"', "may include platform/win32/"),
    ("applet/ControlPanel.cpp", '#include "platform/win32/Text.h"', "may include platform/win32/"),
    ("tests/wine", '#include "platform/portable/PortablePlatform.h"',
     "may include platform/portable/"),
    ("binding/win32/FormWindow.cpp", '#include "platform/portable/PortablePlatform.h"',
     "may include platform/portable/"),
    # The services stand on platform/ and gfx/ alone; the toolkit over ui/
    # and components/, and below the dialogs.
    ("platform/win32/WinModules.cpp", '#include "ui/Form.h"',
     "platform/win32/ (floor 2) includes ui/ (floor 2)"),
    ("platform/win32/WinOpenPicture.cpp", '#include "components/PicturePreview.h"',
     "platform/win32/ (floor 2) includes components/ (floor 3)"),
    ("platform/portable/PortableDispatch.cpp", '#include "ui/Form.h"',
     "platform/portable/ (floor 2) includes ui/ (floor 2)"),
    ("platform/win32/WinModules.cpp", '#include "binding/win32/FormWindow.h"',
     "may include binding/win32/"),
    ("binding/win32/ImageWindow.cpp", '#include "dialogs/about/QSAboutVersion.h"',
     "binding/win32/ (floor 4) includes dialogs/about/ (floor 4)"),
    ("dialogs/main", '#include "binding/win32/FormWindow.h"', "may include binding/win32/"),
    ("tests/unit", '#include "binding/win32/FormWindow.h"', "may include binding/win32/"),
    ("ui", '#include "tests/unit/DialogFixture.h"', "which is on no floor"),
    ("extra/Thing.cpp", '#include "ui/Form.h"', "extra/ has no floor"),
]


def run_check(tree):
    return subprocess.run([sys.executable, CHECK, tree], capture_output=True, text=True)


def target(tree, where):
    path = os.path.join(tree, where)
    if os.path.isdir(path):
        names = sorted(n for n in os.listdir(path) if n.endswith(".cpp"))
        assert names, f"no source file in {where}"
        return os.path.join(path, names[0])
    if where.startswith("extra/"):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        return path
    assert os.path.isfile(path), f"{where} is gone: plant in another file"
    return path


def main():
    failures = []
    with tempfile.TemporaryDirectory(prefix="bexora-layers-") as scratch:
        tree = os.path.join(scratch, "tree")
        shutil.copytree(ROOT, tree, ignore=shutil.ignore_patterns("build", ".git", "wip"))
        clean = run_check(tree)
        if clean.returncode != 0:
            failures.append("the tree as it is fails:\n" + clean.stderr)
        for where, line, message in PLANTS:
            path = target(tree, where)
            before = open(path).read() if os.path.exists(path) else None
            with open(path, "a") as source:
                source.write("\n" + line + "\n")
            result = run_check(tree)
            if before is None:
                os.remove(path)
            else:
                with open(path, "w") as source:
                    source.write(before)
            if result.returncode != 1 or message not in result.stderr:
                failures.append(f"{line} in {where}: exit {result.returncode}, expected "
                                f"'{message}' in:\n{result.stderr}")
    for failure in failures:
        print("FAIL: " + failure, file=sys.stderr)
    if not failures:
        print(f"the tree passes; all {len(PLANTS)} planted includes are caught")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
