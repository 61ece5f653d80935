#!/usr/bin/env python3
"""Checks that Windows programs carry the suite's application manifest.

    check_manifest.py PROGRAM.exe...

Each program must hold an RT_MANIFEST resource with id 1 whose XML declares
per-monitor-v2 DPI awareness. Reads the PE resource tree directly, so it runs
on any machine without Windows tools. Exit code 1 names every program that
fails.
"""
import struct
import sys
import xml.etree.ElementTree as ET

RT_MANIFEST = 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1
RESOURCE_DIRECTORY = 2  # index in the optional header's data directories
SUBDIRECTORY = 0x80000000
NAMED = 0x80000000
WINDOWS_SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness"


class NotAProgram(ValueError):
    pass


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise NotAProgram("no MZ header")
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise NotAProgram("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = self.u16(optional)
        directories = optional + {0x10B: 96, 0x20B: 112}.get(magic, -1)
        if directories < optional:
            raise NotAProgram(f"unknown optional header {magic:#x}")
        count = self.u32(directories - 4)
        self.resources = self.u32(directories + 8 * RESOURCE_DIRECTORY) \
            if count > RESOURCE_DIRECTORY else 0
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            size, rva, raw_size, raw = struct.unpack_from("<4I", data, table + 40 * i + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise NotAProgram(f"address {rva:#x} is in no section")

    def entries(self, directory):
        """(id, offset-or-subdirectory flag value) of a resource directory's
        id entries; named entries are skipped."""
        base = self.offset(self.resources)
        named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
        first = base + directory + 16
        for i in range(named, named + ids):
            name, target = struct.unpack_from("<II", self.data, first + 8 * i)
            if not name & NAMED:
                yield name, target

    def resource(self, kind, ident):
        """The bytes of resource (kind, ident) in its first language, or None."""
        if not self.resources:
            return None
        base = self.offset(self.resources)
        directory = 0
        for wanted in (kind, ident):
            found = dict(self.entries(directory)).get(wanted)
            if found is None or not found & SUBDIRECTORY:
                return None
            directory = found & ~SUBDIRECTORY
        languages = list(self.entries(directory))
        if not languages or languages[0][1] & SUBDIRECTORY:
            return None
        rva, size = struct.unpack_from("<II", self.data, base + languages[0][1])
        start = self.offset(rva)
        return self.data[start:start + size]


RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


def file_version(path):
    """The program's file version from its version resource, as "a.b.c.d",
    or None when it has none."""
    with open(path, "rb") as f:
        info = PeImage(f.read()).resource(RT_VERSION, 1)
    if not info:
        return None
    at = info.find(struct.pack("<I", FIXED_FILE_INFO_SIGNATURE))
    if at < 0:
        return None
    most, least = struct.unpack_from("<II", info, at + 8)
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}.{least & 0xFFFF}"


def dpi_awareness(manifest):
    """The dpiAwareness text of a manifest, or None."""
    root = ET.fromstring(manifest)
    node = root.find(f".//{WINDOWS_SETTINGS_2016}")
    return node.text.strip() if node is not None and node.text else None


def problem(path):
    """Why the program at `path` fails the check, or None."""
    try:
        with open(path, "rb") as f:
            manifest = PeImage(f.read()).resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
    except (OSError, NotAProgram, struct.error) as error:
        return f"unreadable: {error}"
    if manifest is None:
        return "no manifest resource (RT_MANIFEST 1)"
    try:
        awareness = dpi_awareness(manifest)
    except ET.ParseError as error:
        return f"manifest is not XML: {error}"
    if not awareness or awareness.split(",")[0].strip() != "PerMonitorV2":
        return f"dpiAwareness is {awareness!r}, not PerMonitorV2 first"
    return None


def main(paths):
    failed = False
    for path in paths:
        why = problem(path)
        if why:
            print(f"{path}: {why}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
