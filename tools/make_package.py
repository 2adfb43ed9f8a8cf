#!/usr/bin/env python3
"""Builds the Windows Installer package of a built Bexora.cpl with wixl:
OUT_DIR/Bexora-<version>-<arch>.msi, the version read from the module's own
version resource. Packages of other versions for that architecture are
removed from OUT_DIR, so the folder holds the one that matches the module.
Usage: make_package.py MODULE x64|x86 OUT_DIR"""
import glob
import os
import subprocess
import sys
import uuid

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import msi_database  # noqa: E402
import pe_version  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "installer", "Bexora.wxs")
ICON = os.path.join(ROOT, "resources", "MAINICON.ico")
# Windows Installer keeps the first three fields of a product version, at most these.
FIELD_LIMITS = (255, 255, 65535)


class PackageError(Exception):
    pass


def upgrade_ceiling(version):
    """The smallest three-field version above this one: the installed
    products below it are replaced, those at or above it refuse."""
    fields = [int(f) for f in version.split(".")[:3]]
    for i in (2, 1, 0):
        if fields[i] < FIELD_LIMITS[i]:
            return ".".join(str(f) for f in fields[:i] + [fields[i] + 1] + [0] * (2 - i))
    raise pe_version.VersionError("version %s is the last one Windows Installer can tell" % version)


def check_version(version):
    fields = [int(f) for f in version.split(".")]
    for value, limit in zip(fields, FIELD_LIMITS):
        if value > limit:
            raise pe_version.VersionError(
                "version %s: Windows Installer allows at most %s" % (version, ".".join(map(str, FIELD_LIMITS))))


def set_file_version(package, file_id, version):
    """Writes the module's version into the package's File table, which wixl
    leaves empty, so that Windows Installer treats it as the versioned file
    it is; a versioned file has no row in MsiFileHash."""
    msi_database.run(package, [
        ("UPDATE `File` SET `Version` = ? WHERE `File` = ?", [version, file_id]),
        ("DELETE FROM `MsiFileHash` WHERE `File_` = ?", [file_id])], write=True)
    if msi_database.run(package, [("SELECT `Version` FROM `File` WHERE `File` = ?", [file_id])]) != [[version]]:
        raise msi_database.MsiError("%s: the version of %s was not written" % (package, file_id))


def make_package(module, arch, out_dir):
    with open(module, "rb") as f:
        version = pe_version.read_version(f.read())
    check_version(version)
    # A new product code for each build, as wixl gives each a new package
    # code: Windows Installer refuses a package of an installed product code
    # with another package code (1638), while a new product code of the same
    # version is replaced by the upgrade rule. The same package run again
    # keeps both codes, so it is the installed product, not a second one.
    product_code = str(uuid.uuid4()).upper()
    os.makedirs(out_dir, exist_ok=True)
    target = os.path.join(os.path.abspath(out_dir), "Bexora-%s-%s.msi" % (version, arch))
    partial = target + ".part"
    # wixl finds sources relative to its working folder only.
    work = os.path.dirname(os.path.abspath(module))
    command = ["wixl", "-a", arch, "-o", partial,
               "-D", "Arch=" + arch, "-D", "Version=" + version, "-D", "UpgradeBelow=" + upgrade_ceiling(version),
               "-D", "ProductCode=" + product_code,
               "-D", "Module=" + os.path.basename(module), "-D", "Icon=" + os.path.relpath(ICON, work),
               SOURCE]
    done = subprocess.run(command, cwd=work, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0 or not os.path.isfile(partial):
        sys.stderr.write(done.stderr)
        if os.path.exists(partial):
            os.remove(partial)
        raise PackageError("wixl could not build %s" % os.path.basename(target))
    try:
        set_file_version(partial, "BexoraCpl", version)
    except msi_database.MsiError:
        os.remove(partial)
        raise
    for old in glob.glob(os.path.join(os.path.dirname(target), "Bexora-*-%s.msi" % arch)):
        if old != target:
            os.remove(old)
    os.replace(partial, target)
    return target


def main(argv):
    if len(argv) != 4 or argv[2] not in ("x64", "x86"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        print(make_package(argv[1], argv[2], argv[3]))
    except (OSError, pe_version.VersionError, PackageError, msi_database.MsiError) as e:
        print("make_package: %s: %s" % (argv[1], e), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
