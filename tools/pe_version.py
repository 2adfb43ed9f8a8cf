#!/usr/bin/env python3
"""Reads the fixed version (VS_FIXEDFILEINFO) of a Windows module's version
resource, as Windows does: PE headers, then the resource tree down to
RT_VERSION, then the fixed block after the "VS_VERSION_INFO" key.
Usage: pe_version.py MODULE  (prints a.b.c.d; exit 1 with a message when the
module has no readable version resource)."""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


class VersionError(Exception):
    pass


def _u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def _u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def _sections(data):
    pe = _u32(data, 0x3C)
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise VersionError("not a Windows module")
    coff = pe + 4
    count, optional_size = _u16(data, coff + 2), _u16(data, coff + 16)
    optional = coff + 20
    magic = _u16(data, optional)
    directories = optional + {0x10B: 96, 0x20B: 112}.get(magic, -1)
    if directories < optional:
        raise VersionError("unknown optional header")
    resource_rva = _u32(data, directories + 2 * 8)
    table = optional + optional_size
    sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(count)]
    return resource_rva, sections


def _offset(rva, sections):
    for virtual_size, address, raw_size, raw_at in sections:
        if address <= rva < address + max(virtual_size, raw_size):
            return raw_at + rva - address
    raise VersionError("resource outside every section")


def _first_entry(data, base, directory, wanted=None):
    """The first entry of a resource directory (with the wanted id, if given)."""
    named, ids = _u16(data, directory + 12), _u16(data, directory + 14)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", data, directory + 16 + 8 * i)
        if wanted is None or name == wanted:
            return base + (target & 0x7FFFFFFF), bool(target & 0x80000000)
    raise VersionError("no version resource")


def fixed_info_offset(data):
    """Where the module's VS_FIXEDFILEINFO starts in its image bytes."""
    try:
        resource_rva, sections = _sections(data)
        if not resource_rva:
            raise VersionError("no resources")
        base = _offset(resource_rva, sections)
        at, is_dir = _first_entry(data, base, base, RT_VERSION)
        for _ in range(2):  # the resource's name, then its language
            if is_dir:
                at, is_dir = _first_entry(data, base, at)
        if is_dir:
            raise VersionError("unrecognised resource tree")
        block = _offset(_u32(data, at), sections)
        key = "VS_VERSION_INFO\0".encode("utf-16-le")
        if data[block + 6:block + 6 + len(key)] != key:
            raise VersionError("unrecognised version block")
        fixed = block + ((6 + len(key) + 3) & ~3)  # the key is padded to 32 bits
        if _u32(data, fixed) != FIXED_SIGNATURE:
            raise VersionError("unrecognised version block")
    except struct.error:
        raise VersionError("truncated module") from None
    return fixed


def read_version(data):
    """The file version a.b.c.d of the module's image bytes; its product
    version must be the same, since both name the one release."""
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, fixed_info_offset(data) + 8)
    if (file_ms, file_ls) != (product_ms, product_ls):
        raise VersionError("file version and product version differ")
    return "%d.%d.%d.%d" % (file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16, file_ls & 0xFFFF)


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        with open(argv[1], "rb") as f:
            print(read_version(f.read()))
    except (OSError, VersionError) as e:
        print("%s: %s" % (argv[1], e), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
