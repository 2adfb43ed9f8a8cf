#!/usr/bin/env python3
"""Writes a copy of a module whose version resource names the next release
(third field one higher), for the package upgrade tests.
Usage: next_version.py MODULE COPY"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import pe_version  # noqa: E402


def main(source, copy):
    data = bytearray(open(source, "rb").read())
    fixed = pe_version.fixed_info_offset(data)
    for field in (fixed + 12, fixed + 20):  # low words of the file and product versions
        low = struct.unpack_from("<I", data, field)[0]
        struct.pack_into("<I", data, field, low + 0x10000)
    with open(copy, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    main(sys.argv[1], sys.argv[2])
