#!/usr/bin/env python3
"""End-to-end test: LibreOffice reads an exported response table.

Incorporates a saved reply with non-ASCII answers (a text answer in a
character field, a verbose answer in a memo) into a copy of the example
survey with quorvant-cli, exports the responses, converts the exported table
to CSV with LibreOffice headless and its dBase filter told the text is UTF-8
(--infilter="dBase:76", the steps the README gives) and checks that every
answer comes back exactly.

Exit status: 0 passed, 1 failed, 77 skipped (LibreOffice is not installed).
"""
import argparse
import csv
import os
import re
import shutil
import subprocess
import sys
import tempfile

TEXT_FIELD = "QVX8"  # "Which department do you work in?", 40 characters
MEMO_FIELD = "QVX10"  # "Anything else you would like to tell us?", verbose
ANSWERS = (
    ("10.0.0.1", "Küche & Café", "Grüße aus Köln\r\nZweite Zeile: ½ € ✓"),
    ("10.0.0.2", "Ærø Zoë naïve", "日本語のテキスト " + "ß" * 300),
)


def reply_text():
    """A saved reply of the collection server: comma text, items with blanks
    quoted, line breaks as &CR; and &LF;."""
    lines = ["<DATA>"]
    for n, (address, text, memo) in enumerate(ANSWERS, 1):
        memo = memo.replace("\r", "&CR;").replace("\n", "&LF;")
        lines.append(f'RemoteAddr={address},DateRec=2026010100000{n},'
                     f'"{TEXT_FIELD.lower()}={text}","{MEMO_FIELD.lower()}={memo}"')
    lines.append("</DATA>")
    return "\r\n".join(lines) + "\r\n"


def run(command, env, timeout=120):
    result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout)
    if result.returncode != 0:
        raise RuntimeError("%s failed (%d):\n%s%s" % (command[0], result.returncode,
                                                      result.stdout, result.stderr))
    return result.stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    if soffice is None:
        print("skipped: LibreOffice is not installed")
        return 77
    with tempfile.TemporaryDirectory() as work:
        # LibreOffice needs a writable profile; a fresh one also keeps the
        # user's settings out of the result.
        env = dict(os.environ, HOME=work, QUORVANT_CONFIG_DIR=os.path.join(work, "config"),
                   LANG="C", LC_ALL="C")
        with open(os.path.join(args.source, "data/examples/example.qvx"), newline="",
                  encoding="utf-8") as f:
            text = f.read()
        survey = os.path.join(work, "survey.qvx")
        with open(survey, "w", newline="", encoding="utf-8") as f:
            f.write(re.sub(r"(?m)^Only1IP=.*$", "Only1IP=0", text))
        reply = os.path.join(work, "reply.dat")
        with open(reply, "w", newline="", encoding="utf-8") as f:
            f.write(reply_text())
        run([args.cli, "incorporate", survey, reply], env)
        exported = os.path.join(work, "Answers.dbf")
        run([args.cli, "export", survey, exported], env)

        out = os.path.join(work, "csv")
        profile = "file://" + os.path.join(work, "lo-profile")
        run([soffice, "--headless", "--norestore", "-env:UserInstallation=" + profile,
             "--infilter=dBase:76", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76",
             "--outdir", out, exported], env, timeout=240)
        with open(os.path.join(out, "Answers.csv"), newline="", encoding="utf-8") as f:
            rows = list(csv.reader(f))
    # The first row names the fields as "NAME,TYPE,WIDTH".
    names = [cell.split(",")[0] for cell in rows[0]]
    failures = []
    for name in ("REMOTEIP", TEXT_FIELD, MEMO_FIELD):
        if name not in names:
            failures.append("no column %s in %r" % (name, rows[0]))
    if not failures:
        got = [(r[names.index("REMOTEIP")], r[names.index(TEXT_FIELD)],
                r[names.index(MEMO_FIELD)]) for r in rows[1:]]
        # LibreOffice gives line breaks inside a cell as LF.
        want = [(a, t, m.replace("\r\n", "\n")) for a, t, m in ANSWERS]
        if got != want:
            failures.append("LibreOffice read\n  %r\nexpected\n  %r" % (got, want))
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
