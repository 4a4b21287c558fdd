#!/usr/bin/env python3
"""Writes the starting corpus of fuzz_wire from the recorded conversations in
tests/wire/data/conversations and the row fixtures of the codec tests. Run from the repository
root: python3 fuzz/wire/make_corpus.py"""
import pathlib
import re

root = pathlib.Path(__file__).resolve().parents[2]
conversations = root / "tests/wire/data/conversations"
corpus = root / "fuzz/wire/corpus"
corpus.mkdir(exist_ok=True)


def blob(offset, size):
    return bytes(((offset + i) * 31 + 7) % 256 for i in range(size))


def parse(tokens):
    out = bytearray()
    for m in re.finditer(r"'([^']*)'|\{blob (\d+) (\d+)\}|([0-9A-Fa-f]{2})", tokens):
        if m.group(1) is not None:
            out += m.group(1).encode("latin-1")
        elif m.group(2) is not None:
            out += blob(int(m.group(2)), int(m.group(3)))
        else:
            out.append(int(m.group(4), 16))
    return bytes(out)


for path in sorted(conversations.glob("*.conv")):
    steps = []
    for line in path.read_text(encoding="latin-1").splitlines():
        if not line.strip() or line.strip().startswith("#") or line.startswith("@"):
            continue
        if line.startswith(("C>", "S>")):
            steps.append([line[0], parse(line[2:])])
        else:
            steps[-1][1] += parse(line)
    replies = b"".join(b for side, b in steps if side == "S")
    (corpus / f"replies-{path.stem}").write_bytes(replies)
    for i, (side, b) in enumerate(steps):
        (corpus / f"{path.stem}-{i:02d}-{side}").write_bytes(b)

# A row of every field form of the codec fixtures, and the table batch of the worked example.
fields = [
    "61 05", "62 01 2C", "21 01", "22 01 2C", "64 7F FF FF FF", "60", "24 80 00 00 00",
    "28 80 00 00 00 00 00 00 00", "68 3F B9 99 99 99 99 99 9A", "21 C0", "62 3F C0", "20",
    "63 0F D0 6F", "64 02 41 04 CC", "2B 66 01 8E 41 A9 54 40 0E E6 B2 80", "23 61 62 63",
    "26 4D FC 6C 6C 65 72", "24 5A FF 01 42", "25 FF 20 AC 00 35", "10 00 03 01 02 03",
    "40 00 00 00 07 7B 22 61 22 3A 31 7D", "02", "C0", "80", "00 61 62 00", "50 00 02 41 42",
]
(corpus / "row-all-forms").write_bytes(bytes.fromhex(" ".join(fields)))
(corpus / "batch-parts").write_bytes(bytes.fromhex("22 41 31 61 05 23 42 32 32 62 01 2C 21 43 21 01"))
