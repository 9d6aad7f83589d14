#!/usr/bin/env python3
"""Writes a recorded trace as a golden fixture: gzip-compressed, animation-step
lines and loading lines up to 16000 characters kept whole, longer loading lines
kept as "crc32 <8 hex digits> <length>" so the big herds stay small.

Usage: compact_trace.py TRACE.jsonl FIXTURE.jsonl.gz
"""
import gzip
import sys
import zlib

LIMIT = 16000


def main():
    source, target = sys.argv[1], sys.argv[2]
    lines = []
    with open(source, "rb") as trace:
        for line in trace.read().split(b"\n"):
            if not line:
                continue
            if len(line) <= LIMIT or b'"loading":false' in line:
                lines.append(line)
            else:
                lines.append(b"crc32 %08x %d" % (zlib.crc32(line), len(line)))
    with open(target, "wb") as fixture:
        fixture.write(gzip.compress(b"\n".join(lines) + b"\n", 9, mtime=0))


if __name__ == "__main__":
    main()
