#!/usr/bin/env python3
"""Fails when a built program or module holds a publisher name as UTF-8 or UTF-16LE bytes.

usage: scan_binaries.py BUILD_FOLDER PUBLISHERS_TXT
Scans every PE and ELF file at the top of BUILD_FOLDER, where all programs land.
"""
import os
import sys


def rows(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\r\n") for line in f
                if line.strip() and not line.startswith("#")]


def main(folder, publishers):
    names = rows(publishers)
    needles = [(n, enc, n.encode(enc)) for n in names for enc in ("utf-8", "utf-16-le")]
    scanned, found = [], []
    for entry in sorted(os.listdir(folder)):
        path = os.path.join(folder, entry)
        if not os.path.isfile(path):
            continue
        with open(path, "rb") as f:
            data = f.read()
        if not (data.startswith(b"MZ") or data.startswith(b"\x7fELF")):
            continue
        scanned.append(entry)
        found += [(entry, n, enc) for n, enc, needle in needles if needle in data]
    # The scan must see the programs that carry the list, and see their text.
    checker = [e for e in scanned if e.startswith("rundll-check")]
    if not checker:
        sys.exit(f"rundll-check not among the scanned files: {scanned}")
    with open(os.path.join(folder, checker[0]), "rb") as f:
        if b"signer name not on the list" not in f.read():
            sys.exit("the scan cannot see rundll-check's own text")
    for entry, name, enc in found:
        print(f"{entry}: holds '{name}' as {enc}")
    print(f"{len(scanned)} files scanned for {len(names)} names: {len(found)} found")
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
