#!/usr/bin/python3
"""Writes the installer's summary (what Explorer shows of the .msi file) in Bulgarian.

wixl writes it in UTF-8 under a Western code page, and msibuild sets only some of it, so the
text would read as mojibake. Here the summary's strings are written in Windows-1251 with that
code page named. The stream keeps its size (the section is padded), which is what olefile can
write in place.
Usage: msisummary.py FILE.msi TITLE SUBJECT AUTHOR KEYWORDS COMMENTS TEMPLATE
"""
import struct
import sys

import olefile

STREAM = "\x05SummaryInformation"
VT_I2, VT_LPSTR = 2, 30
CODEPAGE, TEXTS = 1, (2, 3, 4, 5, 6, 7)  # title, subject, author, keywords, comments, template


def main():
    path, texts = sys.argv[1], dict(zip(TEXTS, sys.argv[2:8]))
    with olefile.OleFileIO(path, write_mode=True) as ole:
        data = ole.openstream(STREAM).read()
        (offset,) = struct.unpack_from("<I", data, 44)
        size, count = struct.unpack_from("<II", data, offset)
        props = {}
        for i in range(count):
            pid, at = struct.unpack_from("<II", data, offset + 8 + 8 * i)
            end = offset + size
            for _, other in (struct.unpack_from("<II", data, offset + 8 + 8 * j)
                             for j in range(count)):
                if at < other < end - offset:
                    end = offset + other
            props[pid] = data[offset + at:end]
        props[CODEPAGE] = struct.pack("<IhH", VT_I2, 1251, 0)
        for pid, text in texts.items():
            raw = text.encode("cp1251") + b"\0"
            raw += b"\0" * (-len(raw) % 4)
            props[pid] = struct.pack("<II", VT_LPSTR, len(raw)) + raw
        body, table = b"", b""
        start = 8 + 8 * len(props)
        for pid in sorted(props):
            table += struct.pack("<II", pid, start + len(body))
            body += props[pid]
        section = table + body
        if 8 + len(section) > len(data) - offset:
            sys.exit("msisummary: the summary no longer fits its stream")
        padded = len(data) - offset
        section = struct.pack("<II", padded, len(props)) + section
        ole.write_stream(STREAM, data[:offset] + section + b"\0" * (padded - len(section)))


if __name__ == "__main__":
    main()
