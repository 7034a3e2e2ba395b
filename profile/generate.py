#!/usr/bin/env python3
"""Turns the deployment profile's text files into C++ source at build time."""
import sys


def read_param_key(path):
    data = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            for word in line.split():
                if len(word) != 2:
                    sys.exit(f"{path}: '{word}' is not two hexadecimal digits")
                data.append(int(word, 16))
    if len(data) != 87:
        sys.exit(f"{path}: {len(data)} key bytes, 87 expected")
    return data


def param_key(src, out):
    key = read_param_key(src)
    lines = ["// Generated from the profile's param-key.hex; do not edit.",
             "// The table is assembled from pieces so that it never sits whole in the data.",
             "inline void FillParamKey(std::uint8_t* key) {"]
    for off in range(0, 84, 4):
        word = key[off] | key[off + 1] << 8 | key[off + 2] << 16 | key[off + 3] << 24
        lines.append(f"  StoreKeyPiece32(key, {off}, 0x{word:08x}u);")
    lines.append(f"  StoreKeyPiece16(key, 84, 0x{key[84] | key[85] << 8:04x}u);")
    lines.append(f"  key[86] = 0x{key[86]:02x}u;")
    lines.append("}")
    write(out, lines)


def write(out, lines):
    text = "\n".join(lines) + "\n"
    try:
        with open(out, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


COMMANDS = {"param-key": param_key}

if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in COMMANDS:
        sys.exit("usage: generate.py {" + ",".join(COMMANDS) + "} SOURCE OUTPUT")
    COMMANDS[sys.argv[1]](sys.argv[2], sys.argv[3])
