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


# Row masks: a per-row, per-unit 16-bit value mixed with a seed that the program reads at run
# time, so the compiler cannot fold the unmasking back into plain constants.
MASK_SEED = 0x5BD1


def row_mask(row, unit):
    return ((row * 31 + unit) * 0x9E37 + MASK_SEED) & 0xFFFF


def read_publishers(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            units = line.encode("utf-16-le")
            count = len(units) // 2
            if "\0" in line or count > 510:
                sys.exit(f"{path}:{number}: a name has 1 to 510 UTF-16 units and no NUL")
            if line in rows:
                sys.exit(f"{path}:{number}: '{line}' is listed twice")
            rows.append(line)
    if not rows:
        sys.exit(f"{path}: no publisher names")
    return rows


def publishers(src, out):
    rows = read_publishers(src)
    lines = ["// Generated from the profile's publishers.txt; do not edit.",
             "// Rows are stored XOR-masked; each accessor unmasks its row once, on first use.",
             f"constexpr std::uint16_t kRowMaskSeed = 0x{MASK_SEED:04x}u;",
             f"constexpr std::size_t kPublisherRowCount = {len(rows)};"]
    for index, name in enumerate(rows):
        units = name.encode("utf-16-le")
        codes = [units[i] | units[i + 1] << 8 for i in range(0, len(units), 2)]
        masked = ", ".join(f"0x{c ^ row_mask(index, i):04x}" for i, c in enumerate(codes))
        lines += [f"inline const char16_t* PublisherRow{index}() {{",
                  f"  static constexpr std::uint16_t kMasked[{len(codes)}] = {{{masked}}};",
                  f"  static char16_t row[{len(codes) + 1}];",
                  "  static std::once_flag once;",
                  f"  std::call_once(once, [] {{ BuildRow({index}, kMasked, row); }});",
                  "  return row;",
                  "}"]
    accessors = ", ".join(f"&PublisherRow{i}" for i in range(len(rows)))
    lines.append(f"constexpr RowAccessor kPublisherRows[kPublisherRowCount] = {{{accessors}}};")
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


COMMANDS = {"param-key": param_key, "publishers": publishers}

if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in COMMANDS:
        sys.exit("usage: generate.py {" + ",".join(COMMANDS) + "} SOURCE OUTPUT")
    COMMANDS[sys.argv[1]](sys.argv[2], sys.argv[3])
