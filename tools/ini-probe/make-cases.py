#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Records private-profile reference cases by running probe.exe (built from
probe.cpp with MinGW) under Wine, and writes them in the corpus format of
tests/data/conformance/README.md.

    x86_64-w64-mingw32-g++ -O1 -static -o probe.exe probe.cpp
    WINEPREFIX=/tmp/ini-prefix ./make-cases.py probe.exe > ini-cases-extra.json

Every operation is followed by a flush of the profile cache, so each one sees
the file as it is on disk. A case whose writes changed a file that the
recorder would not have written the same way (its own rewrite of the initial
file differs from it) gets final_unchecked, as in the first corpus.
"""
import base64
import binascii
import json
import os
import shutil
import subprocess
import sys
import tempfile

UNCHECKED_NOTE = ("The recorded implementation rewrites the whole file on every write; Windows "
                  "edits only the written key's line and keeps every other line as it was. "
                  "Compare the ops' results; the final bytes are for information only.")


def b(text):
    return text if isinstance(text, bytes) else text.encode("latin1")


def R(section, key, default="", bufsize=255):
    return {"op": "read", "section": section, "key": key, "default": default, "bufsize": bufsize}


def W(section, key, value):
    return {"op": "write", "section": section, "key": key, "value": value}


CASES = []


def case(id, category, description, initial, ops, missing_dir=False):
    CASES.append({"id": id, "category": category, "description": description,
                  "initial": None if initial is None else b(initial), "ops": ops,
                  "missing_dir": missing_dir})


# --- how defaults are treated -------------------------------------------------

BLANK_DEFAULTS = [None, "", " ", "   ", " x ", "x\t", "x \t ", "\t  ", "\x1a", "a b  "]
QUOTED_DEFAULTS = ['"q"', "'q'", '"q', '""', '" a "  ', '"q"   ', "'mixed\""]
LONG = "0123456789" * 30


def defaults(section="General", key="Path"):
    return [R(section, key, d) for d in BLANK_DEFAULTS + QUOTED_DEFAULTS]


def long_defaults(section="General", key="Path"):
    return [R(section, key, LONG, 255), R(section, key, LONG, 10), R(section, key, LONG, 1),
            R(section, key, LONG, 0), R(section, key, LONG, 65536),
            R(section, key, '"' + LONG + '"', 255), R(section, key, '"abcdef"', 3),
            R(section, key, '"abcdef"', 65536), R(section, key, "abc" + " " * 300, 5),
            R(section, key, "   " + LONG, 100)]


case("missing-file-x01", "missing_file", "Missing file: NULL, empty, blank and quoted defaults",
     None, defaults())
case("missing-file-x02", "missing_file", "Missing file: defaults longer than the buffer, large buffers",
     None, long_defaults())
case("missing-file-x03", "missing_file",
     "File in a missing folder: defaults are taken as given, only trailing spaces go",
     None, defaults() + long_defaults() + [W("General", "Path", "x")] + defaults()[:3],
     missing_dir=True)
case("missing-file-x04", "missing_file", "Empty file: defaults as for a missing file", "",
     defaults() + long_defaults()[:3])
case("missing-file-x05", "missing_file", "Missing section: defaults", "[Other]\r\nPath=v\r\n",
     defaults())
case("missing-file-x06", "missing_file", "Missing key in a present section: defaults",
     "[General]\r\nOther=v\r\n", defaults() + long_defaults()[5:8])
case("missing-file-x07", "missing_file", "A key line without '=' reads as missing",
     "[General]\r\nPath\r\n  path  \r\n", defaults())
case("missing-file-x08", "missing_file", "An empty or blank value is a value: the default is unused",
     "[General]\r\nPath=\r\nBlank=   \r\nQuotes=\"\"\r\n",
     [R("General", "Path", '"q"'), R("General", "Blank", "dflt"), R("General", "Quotes", "  ")])
case("missing-file-x09", "missing_file", "Missing file: created by a write, then other keys' defaults",
     None, [R("General", "Path", '"before"'), W("General", "Path", "v"),
            R("General", "Other", '"after"  '), R("Next", "Path", "   "),
            R("General", "Path", '"unused"')])
case("missing-file-x10", "missing_file", "Defaults and the caller's names with blanks around them",
     "[General]\r\nPath=v\r\n",
     [R(" General ", " Path\t", "dflt"), R("General", "Pat h", '"x"'),
      R("\x1aGeneral\x1a", "\x1aPath", "dflt"), R("General", "Path\x01", '"x" ')])

# --- writes that change nothing ----------------------------------------------

case("replace-key-x01", "replace_key", "Same value: the file is not touched", "[S]\r\nk=v\r\n",
     [W("S", "k", "v"), R("S", "k")])
case("replace-key-x02", "replace_key",
     "Same value, other spacing and letter case of the names: LF file left as it is",
     "[S]\n  K  =  v  \n[T]\nx=1\n",
     [W("S", "k", "v"), W(" s ", "K\t", "v"), W("s", "k", " \t v"), R("S", "k")])
case("replace-key-x03", "replace_key", "Leading blanks of the value, Ctrl-Z among them, are dropped",
     "[S]\r\nk=v\r\n", [W("S", "k", "\x1a\tv"), W("S", "k", "\x1a\x1a"), R("S", "k")])
case("replace-key-x04", "replace_key", "Quotes are part of the stored value when comparing",
     "[S]\r\nk=\"v\"\r\nj=\"w\"\r\n",
     [W("S", "j", '"w"'), W("S", "k", "v"), R("S", "k"), R("S", "j")])
case("replace-key-x05", "replace_key", "A key present twice: only the first is compared and changed",
     "[S]\r\nk=1\r\nk=2\r\n", [W("S", "k", "1"), W("S", "k", "2"), R("S", "k")])
case("replace-key-x06", "replace_key", "A section present twice: only the first counts",
     "[S]\r\nk=1\r\n[T]\r\n[S]\r\nk=2\r\nj=3\r\n",
     [W("S", "k", "1"), W("S", "j", "3"), R("S", "j", "none")])
case("replace-key-x07", "replace_key", "Empty values: a line without '=' changes, '=' alone does not",
     "[S]\nnone\nempty=\nblank=   \n",
     [W("S", "empty", ""), W("S", "blank", ""), W("S", "none", ""), R("S", "none", "d")])
case("replace-key-x08", "replace_key", "Same, other, same again: only the change touches the file",
     "[S]\nk=v", [W("S", "k", "v"), W("S", "k", "w"), W("S", "k", "w"), R("S", "k")])
case("replace-key-x09", "replace_key", "Same value after junk on the key's line",
     "[S]\r\nk=v\x00junk\r\nj\x00junk=w\r\n",
     [W("S", "k", "v"), W("S", "j", "w"), R("S", "k"), R("S", "j")])
case("replace-key-x10", "replace_key", "Same value in a file with lone CR line breaks",
     "[S]\rk=v\rj=w", [W("S", "j", "w"), W("S", "k", "v")])
case("replace-key-x11", "replace_key", "Values differing in letter case or inner blanks change",
     "[S]\r\nk=a b\r\n", [W("S", "k", "a  b"), W("S", "k", "A  b"), R("S", "k")])
case("replace-key-x12", "replace_key", "Same non-ASCII value; the key's ASCII case differs",
     "[S\xc9]\r\nK\xe9y=caf\xe9\r\n", [W("S\xc9", "k\xe9Y", "caf\xe9"), R("S\xc9", "K\xe9Y", "d")])
case("replace-key-x13", "replace_key", "Folder missing: every write fails, nothing is created",
     None, [W("S", "k", "v"), W("S", "k", "v"), R("S", "k", "d")], missing_dir=True)
case("replace-key-x14", "replace_key", "Value with trailing blanks changes, and reads back trimmed",
     "[S]\r\nk=v\r\n", [W("S", "k", "v \x1a"), R("S", "k"), W("S", "k", "v")])

# --- control characters around lines -----------------------------------------

CONTROLS = [c for c in list(range(1, 32)) + [0x7F] if c not in (10, 13)]


def per_control(make_line, read_key=lambda c: "k", header=lambda c: "[S%02X]" % c):
    text = b""
    ops = []
    for c in CONTROLS:
        ch = chr(c)
        text += b(header(c)) + b"\r\n" + b(make_line(ch)) + b"\r\n"
        ops.append(R("S%02X" % c, read_key(ch), "dflt"))
    return text, ops


for n, (what, make) in enumerate([
        ("before a key", lambda ch: ch + "k=v"),
        ("between a key and '='", lambda ch: "k" + ch + "=v"),
        ("between '=' and the value", lambda ch: "k=" + ch + "v"),
        ("after the value", lambda ch: "k=v" + ch),
        ("around a quoted value", lambda ch: "k=" + ch + '"v"' + ch)], start=1):
    text, ops = per_control(make)
    case("binary-junk-x%02d" % n, "binary_junk", "Each control character " + what, text, ops)

text, ops = per_control(lambda ch: "k" + ch + "x=v", read_key=lambda ch: "k" + ch + "x")
case("binary-junk-x06", "binary_junk", "Control characters inside a key, asked for as they are",
     text, ops)
text, ops = per_control(lambda ch: "k=v", header=lambda c: chr(c) + "[S%02X]" % c)
case("binary-junk-x07", "binary_junk", "Each control character before a section header", text, ops)
text, ops = per_control(lambda ch: "k=v", header=lambda c: "[S%02X]" % c + chr(c))
case("binary-junk-x08", "binary_junk", "Each control character right after ']'", text, ops)
text, ops = per_control(lambda ch: "k=v", header=lambda c: "[" + chr(c) + "S%02X" % c + chr(c) + "]")
case("binary-junk-x09", "binary_junk", "Each control character inside the brackets", text, ops)

ALL_CONTROLS = "".join(chr(c) for c in CONTROLS)
case("binary-junk-x10", "binary_junk", "Lines made only of control characters",
     ALL_CONTROLS + "\r\n[S]\r\n" + ALL_CONTROLS + "\r\nk=v\r\n\x01\x02\r\n\x1a\x1a\r\nj=w\r\n",
     [R("S", "k", "d"), R("S", "j", "d"), R("", "k", "d"), W("S", "n", "1"), R("S", "n", "d")])
case("binary-junk-x11", "binary_junk", "NUL ends a name or a value, not the line",
     "[A]\r\nk\x00=1\r\nj\x00junk=2\r\nm \x00=3\r\nv=a \x00b\r\nq=\"q\"\x00x\r\nr=\"r\x00\"\r\n"
     "[B\x00]\r\nk=4\r\n[C\x00]x]\r\nk=5\r\n[D \x00]\r\nk=6\r\n[E]\x00junk\r\nk=7\r\n"
     "[F]\r\n\x00[G]\r\nk=8\r\n[H]\r\n \x00k=9\r\n",
     [R("A", "k", "d"), R("A", "j", "d"), R("A", "m", "d"), R("A", "v", "d"), R("A", "q", "d"),
      R("A", "r", "d"), R("B", "k", "d"), R("C", "k", "d"), R("D", "k", "d"), R("D ", "k", "d"),
      R("E", "k", "d"), R("F", "k", "d"), R("G", "k", "d"), R("H", "k", "d"),
      R("A", "k\x00ignored", "d")])
case("binary-junk-x12", "binary_junk", "NUL in a key's line: the write replaces the line",
     "[S]\r\nk\x00junk=1\r\nj=2\x00junk\r\n",
     [W("S", "k", "3"), W("S", "j", "4"), R("S", "k", "d"), R("S", "j", "d")])
case("binary-junk-x13", "binary_junk", "Ctrl-Z is a blank everywhere, also at the end of the file",
     "\x1a[S]\x1a\r\n\x1ak\x1a=\x1a\"v\"\x1a\r\n\x1a\r\nj=w\x1a\x1a\x1a",
     [R("S", "k", "d"), R("S", "j", "d"), W("S", "j", "w"), W("S", "j", "x"), R("S", "j", "d")])
case("binary-junk-x14", "binary_junk", "Tabs, vertical tabs and form feeds around everything",
     "\t[S]\x0c\r\n\x0bk\t=\x0cv\x0b\r\n\x0c\r\n[\tT\x0b]\r\nk=w\r\n",
     [R("S", "k", "d"), R("T", "k", "d"), W("S", "k", "v"), W("T", "k", "x"), R("T", "k", "d")])
case("binary-junk-x15", "binary_junk", "A lone CR inside a line splits it",
     "[S]\r\nk=a\rb=c\r\n[T\r]\r\nj=1\r\n",
     [R("S", "k", "d"), R("S", "b", "d"), R("T", "j", "d"), R("", "j", "d"),
      W("S", "b", "c"), W("S", "k", "x"), R("S", "k", "d"), R("S", "b", "d")])
case("binary-junk-x16", "binary_junk", "Bytes above 0x7F are never blanks",
     "[S]\r\n\xa0k\xa0=\xa0v\xa0\r\nk=w\r\n\x85j\x85=\x85x\x85\r\n\xadm=\xady\xad\r\n",
     [R("S", "k", "d"), R("S", "\xa0k\xa0", "d"), R("S", "j", "d"), R("S", "\x85j\x85", "d"),
      R("S", "\xadm", "d")])
case("binary-junk-x17", "binary_junk", "Control characters in written names and values",
     "[S]\r\nk=v\r\n",
     [W("S", "\x01k", "1"), W("S", "k", "\x1b[0m\x7f"), W("\x1aS\x1a", "\x1ak\x1a", "\x1a\x1az"),
      W("S\x02", "k", "\x02"), R("S", "\x01k", "d"), R("S", "k", "d"), R("S\x02", "k", "d")])
case("binary-junk-x18", "binary_junk", "Header followed by control characters; new key in it",
     "[S]\x01\x02\r\nk=v\r\n[T]\r\n", [W("S", "n", "1"), R("S", "n", "d"), R("S", "k", "d")])


# --- running ------------------------------------------------------------------

def hexarg(value):
    if value is None:
        return "-"
    return binascii.hexlify(b(value)).decode() or "="


def winpath(path):
    return "Z:" + path.replace("/", "\\")


def run_probe(probe, folder, path, lines):
    script = os.path.join(folder, "script.txt")
    with open(script, "w") as f:
        f.write(hexarg(winpath(path)) + "\n" + "\n".join(lines) + "\n")
    out = subprocess.run(["wine", probe, winpath(script)], capture_output=True, check=True)
    rows = out.stdout.decode().splitlines()
    if not rows or rows[0] != "ACP 1252":
        sys.exit("the probe does not run with ANSI code page 1252: %r" % rows[:1])
    return [row.split() for row in rows[1:]]


def unhex(text):
    return b"" if text == "=" else binascii.unhexlify(text)


def op_line(op):
    if op["op"] == "read":
        return "R %s %s %s %d" % (hexarg(op["section"]), hexarg(op["key"]),
                                  hexarg(op["default"]), op["bufsize"])
    return "W %s %s %s" % (hexarg(op["section"]), hexarg(op["key"]), hexarg(op["value"]))


def canonical(probe, work, initial):
    """Whether the recorder's own rewrite of `initial` gives it back unchanged."""
    if not initial:
        return True
    path = os.path.join(work, "canonical.ini")
    with open(path, "wb") as f:
        f.write(initial)
    run_probe(probe, work, path, ["W %s %s %s" % (hexarg("zz-probe"), hexarg("k"), hexarg("1")),
                                  "F", "W %s - -" % hexarg("zz-probe"), "F"])
    with open(path, "rb") as f:
        return f.read() == initial


def text_of(data):
    return None if data is None else data.decode("latin1")


def record(probe, work, kase):
    folder = os.path.join(work, kase["id"])
    os.makedirs(folder)
    ini_folder = os.path.join(folder, "missing") if kase["missing_dir"] else folder
    path = os.path.join(ini_folder, "case.ini")
    if kase["initial"] is not None:
        with open(path, "wb") as f:
            f.write(kase["initial"])
    lines = []
    for op in kase["ops"]:
        lines += [op_line(op), "F"]
    results = run_probe(probe, folder, path, lines)
    ops = []
    touched = False
    for op, row in zip(kase["ops"], results, strict=True):
        op = dict(op)
        if op["op"] == "read":
            op["ret"] = int(row[1])
            op["text"] = text_of(unhex(row[2]))
        else:
            op["ret"] = row[1] == "1"
            op["touched"] = row[2] == "1"
            touched = touched or op["touched"]
        for field in ("section", "key", "default", "value"):
            if isinstance(op.get(field), bytes):
                op[field] = text_of(op[field])
        ops.append(op)
    final = None
    if os.path.exists(path):
        with open(path, "rb") as f:
            final = f.read()
    out = {"id": kase["id"], "category": kase["category"], "description": kase["description"]}
    if kase["missing_dir"]:
        out["file_in_missing_directory"] = True
    out["initial"] = None if kase["initial"] is None else base64.b64encode(kase["initial"]).decode()
    out["ops"] = ops
    out["final"] = None if final is None else base64.b64encode(final).decode()
    if touched and not canonical(probe, folder, kase["initial"]):
        out["final_unchecked"] = True
        out["final_note"] = UNCHECKED_NOTE
    out["initial_text"] = text_of(kase["initial"])
    out["final_text"] = text_of(final)
    return out


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-cases.py PROBE.EXE > cases.json")
    probe = sys.argv[1]
    os.environ.setdefault("WINEDEBUG", "-all")
    version = subprocess.run(["wine", "--version"], capture_output=True,
                             text=True).stdout.strip()
    work = tempfile.mkdtemp(prefix="ini-probe-")
    try:
        cases = [record(probe, work, kase) for kase in CASES]
    finally:
        shutil.rmtree(work)
    corpus = {
        "format": "private-profile-corpus/1",
        "meta": {
            "implementation": version + ", 64-bit, kernel32 GetPrivateProfileStringA / "
                              "WritePrivateProfileStringA",
            "ansi_code_page": 1252,
            "notes": "Recorded by tools/ini-probe. Each operation sees the file as it is on disk "
                     "(no caching between operations). Strings: one character per byte "
                     "(U+0000-U+00FF). A null default is a null pointer. A write's 'touched' "
                     "tells whether the call wrote the file.",
        },
        "cases": cases,
    }
    json.dump(corpus, sys.stdout, indent=1)
    sys.stdout.write("\n")


if __name__ == "__main__":
    main()
