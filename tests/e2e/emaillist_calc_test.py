#!/usr/bin/env python3
"""E-mail list import and export against LibreOffice Calc.

A sheet holding names with commas, quotes and non-ASCII letters is saved as
CSV by Calc (headless) and imported with quorvant-cli; the list is exported
as CSV again and opened by Calc, whose cells must be the values we hold.
Exits 77 when LibreOffice is not installed.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

ROWS = [
    ("FNAME", "LNAME", "EMAIL"),
    ("José", "García, Jr.", "jose@example.org"),
    ("Zoë", 'O"Brien', "zoe@example.org"),
    ('"Bo"', "Ångström", "bo@example.org"),
    ("Anna, Maria", "Müller", "am@example.org"),
    ("北", "京", "bj@example.org"),
]
# The list's own order: by last name, then first name (byte order).
LIST_ORDER = sorted(ROWS[1:], key=lambda r: (r[1].encode().ljust(30), r[0].encode()))

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
}


def fods(rows):
    cells = "".join(
        "<table:table-row>"
        + "".join(
            '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>'
            % escape(v)
            for v in row
        )
        + "</table:table-row>"
        for row in rows
    )
    return (
        '<?xml version="1.0" encoding="UTF-8"?>'
        '<office:document xmlns:office="%(office)s" xmlns:table="%(table)s" xmlns:text="%(text)s"'
        ' office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">'
        '<office:body><office:spreadsheet><table:table table:name="People">%(cells)s'
        "</table:table></office:spreadsheet></office:body></office:document>"
    ) % dict(NS, cells=cells)


def read_fods(path):
    root = ET.parse(path).getroot()
    rows = []
    for row in root.iter("{%s}table-row" % NS["table"]):
        values = []
        for cell in row.findall("{%s}table-cell" % NS["table"]):
            repeat = int(cell.get("{%s}number-columns-repeated" % NS["table"], "1"))
            text = "\n".join("".join(p.itertext()) for p in cell.findall("{%s}p" % NS["text"]))
            values.extend([text] * min(repeat, 10))
        while values and values[-1] == "":
            values.pop()
        if values:
            rows.append(tuple(values))
    return rows


def soffice(work, *args):
    profile = "file://" + os.path.join(work, "lo-profile")
    subprocess.run(
        ["soffice", "-env:UserInstallation=" + profile, "--headless", "--norestore"] + list(args),
        check=True, cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=180)


def cli(binary, *args):
    return subprocess.run([binary, "emaillist"] + list(args), check=True, capture_output=True,
                          text=True).stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    args = parser.parse_args()
    if shutil.which("soffice") is None:
        print("LibreOffice is not installed")
        return 77
    failures = []
    with tempfile.TemporaryDirectory() as work:
        sheet = os.path.join(work, "people.fods")
        with open(sheet, "w", encoding="utf-8") as f:
            f.write(fods(ROWS))
        # Comma, double quote, UTF-8, first line 1.
        soffice(work, "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1", sheet)
        lst = os.path.join(work, "people.eml")
        cli(args.cli, "new", lst)
        cli(args.cli, "import", lst, os.path.join(work, "people.csv"))
        shown = [tuple(line.split("\t")) for line in cli(args.cli, "show", lst).splitlines()]
        if shown != LIST_ORDER:
            failures.append("import of Calc's CSV: %r != %r" % (shown, LIST_ORDER))

        out = os.path.join(work, "export.csv")
        cli(args.cli, "export", lst, out)
        os.makedirs(os.path.join(work, "back"))
        soffice(work, "--infilter=CSV:44,34,76,1", "--convert-to", "fods", "--outdir",
                os.path.join(work, "back"), out)
        cells = read_fods(os.path.join(work, "back", "export.fods"))
        expected = [ROWS[0]] + LIST_ORDER
        if cells != expected:
            failures.append("Calc's cells of our CSV: %r != %r" % (cells, expected))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
