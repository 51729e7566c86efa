#!/usr/bin/env python3
"""Prints what a Windows program's version information and manifest say, one
fact a line, for tests/packages/packages_test.sh to compare:

    windows_resources.py version VERSION.res   (wrestool --raw -x -t16)
    windows_resources.py manifest MANIFEST.xml (wrestool --raw -x -t24)

version: "fixed 1.30.0.0", one "BLOCK KEY=VALUE" line per string of each
StringFileInfo block, and "translation 0411 04b0" per language.
manifest: "identity VERSION", "supportedOS GUID" each, "dpiAware VALUE",
"dpiAwareness VALUE".
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree


def aligned(offset):
    return (offset + 3) & ~3


def node(data, offset):
    """One node of the version tree: (key, value, children), and its end."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    position = aligned(key_end + 2)
    if value_type == 1:  # text, its length in characters
        value = data[position:position + 2 * value_length].decode("utf-16-le").rstrip("\0")
        position += 2 * value_length
    else:
        value = data[position:position + value_length]
        position += value_length
    children = []
    position = aligned(position)
    while position < end:
        child, child_end = node(data, position)
        children.append(child)
        position = aligned(child_end)
    return (key, value, children), end


def print_version(path):
    with open(path, "rb") as file:
        data = file.read()
    (key, fixed, children), _ = node(data, 0)
    if key != "VS_VERSION_INFO":
        sys.exit(f"{path}: no VS_VERSION_INFO")
    signature, _, file_ms, file_ls = struct.unpack_from("<IIII", fixed)
    if signature != 0xFEEF04BD:
        sys.exit(f"{path}: no VS_FIXEDFILEINFO")
    print(f"fixed {file_ms >> 16}.{file_ms & 0xFFFF}.{file_ls >> 16}.{file_ls & 0xFFFF}")
    for name, _, blocks in children:
        if name == "StringFileInfo":
            for block, _, strings in blocks:
                for string_key, string_value, _ in strings:
                    print(f"{block.upper()} {string_key}={string_value}")
        elif name == "VarFileInfo":
            for var, value, _ in blocks:
                if var == "Translation":
                    for index in range(0, len(value), 4):
                        language, code_page = struct.unpack_from("<HH", value, index)
                        print(f"translation {language:04x} {code_page:04x}")


def print_manifest(path):
    root = ElementTree.parse(path).getroot()
    for element in root.iter():
        tag = element.tag.rsplit("}", 1)[-1]
        if tag == "assemblyIdentity" and element.get("name") == "Vellumin":
            print(f"identity {element.get('version')}")
        elif tag == "supportedOS":
            print(f"supportedOS {element.get('Id')}")
        elif tag in ("dpiAware", "dpiAwareness"):
            print(f"{tag} {element.text.strip()}")


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("version", "manifest"):
        sys.exit("usage: windows_resources.py version|manifest FILE")
    (print_version if sys.argv[1] == "version" else print_manifest)(sys.argv[2])
