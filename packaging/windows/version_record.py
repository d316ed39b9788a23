"""Prints the version record of a Windows program (its VERSIONINFO resource), one line each:
the numeric file and product versions, the translation, then every string value.
Usage: python3 version_record.py PROGRAM.exe"""

import struct
import sys

SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def fixed_versions(data):
    at = data.find(SIGNATURE)
    if at < 0:
        return None
    ms, ls, pms, pls = struct.unpack_from("<4I", data, at + 8)

    def dotted(high, low):
        return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"

    return dotted(ms, ls), dotted(pms, pls)


def utf16_at(data, at):
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def string_values(data, start):
    """The String entries of the StringFileInfo table that follows the fixed part."""
    table = data.find("StringFileInfo".encode("utf-16-le"), start)
    if table < 0:
        return None, []
    # StringTable: its key is the language and code page, eight hex digits.
    key_at = table + len("StringFileInfo\0") * 2
    key_at += (-key_at) % 4 + 6
    translation, at = utf16_at(data, key_at)
    at += (-at) % 4
    values = []
    while True:
        length, value_length, kind = struct.unpack_from("<3H", data, at)
        if kind != 1 or length == 0:
            break
        key, value_at = utf16_at(data, at + 6)
        value_at += (-value_at) % 4
        value = utf16_at(data, value_at)[0] if value_length else ""
        values.append((key, value))
        at += length + (-length) % 4
        if data[at + 6:at + 6 + 16] == "VarFileInfo".encode("utf-16-le")[:16]:
            break
    return translation, values


def main():
    with open(sys.argv[1], "rb") as program:
        data = program.read()
    versions = fixed_versions(data)
    if not versions:
        print("no version record")
        return 1
    print(f"FileVersion (numeric): {versions[0]}")
    print(f"ProductVersion (numeric): {versions[1]}")
    translation, values = string_values(data, data.find(SIGNATURE))
    print(f"Translation: {translation}")
    for key, value in values:
        print(f"{key}: {value}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
