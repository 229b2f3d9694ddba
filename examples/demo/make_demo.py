#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the binary members of the demo project beside this script.

demo.fsr is of version 0x130 (29 records): record 2 is an item list with its
48-byte header and three items, keyed 1, 2 and 1 (a conversion from
talvexNOVA with the sample module purges those keyed 1), record 3 names the project, record 17 refers to
demo.uer, record 19 lists two FRD files; a few other records hold opaque
bytes. demo.uer, demo.sbu and demo.mcr are small opaque data files.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
VERSION = 0x130
COUNT = 29
WRITE_ORDER = [2, 19, 20, 1, 10, 9, 3, 16, 4, 5, 7, 8, 6, 11, 12, 13, 14, 15,
               17, 18, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30]


def u32(value):
    return struct.pack("<I", value)


def text(data):
    return u32(len(data)) + data


def item(key, *values):
    fields = [key, *values] + [0] * (11 - len(values))
    return b"".join(u32(v) for v in fields)


records = {
    1: bytes(range(32)),
    2: item(0x10) + item(1, 0x4000, 0x10) + item(2, 0x8000, 0x20)
       + item(1, 0xC000, 0x10),
    3: u32(1) + text(b"demo.fsp") + u32(7) + u32(0) + u32(1)
       + text(b"main") + u32(1) + u32(2) + u32(3) + text(b"demo.c"),
    17: u32(1) + text(b"demo.uer"),
    19: u32(2)
        + u32(0x1000) + u32(0x1FFF) + text(b"boot") + text(b"boot.frd") + u32(0)
        + u32(0x2000) + u32(0x2FFF) + text(b"app") + text(b"app.frd") + u32(1)
        + u32(0),
    21: b"opaque record 21\r\n\x00\x1a",
}

body = b""
offsets = {}
position = 4 + 12 * COUNT
for rid in WRITE_ORDER:
    if rid > COUNT or rid not in records:
        continue
    offsets[rid] = position
    body += records[rid]
    position += len(records[rid])

header = u32(VERSION)
for rid in range(1, COUNT + 1):
    data = records.get(rid, b"")
    header += u32(rid) + u32(offsets.get(rid, 0)) + u32(len(data))

with open(os.path.join(HERE, "demo.fsr"), "wb") as f:
    f.write(header + body)
with open(os.path.join(HERE, "demo.uer"), "wb") as f:
    f.write(bytes((i * 37) & 0xFF for i in range(1024)))
with open(os.path.join(HERE, "demo.sbu"), "wb") as f:
    f.write(b"main\x00\x00\x10\x00start\x00\x00\x00\x00\x00\r\n\x1a")
with open(os.path.join(HERE, "demo.mcr"), "wb") as f:
    f.write(b"; demo macro\r\nRESET\r\nGO main\r\n")
