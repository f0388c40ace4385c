#!/usr/bin/env python3
"""End-to-end test: statistics programs and spreadsheets read our exports.

Builds a survey of every response style (research_data.py), incorporates a
reply of random answers with odd respondent text, exports it with
quorvant-cli as .sav, .dta, .csv (codes and --labels) and .xlsx, and reads
each with a real peer:
  - PSPP (GET FILE, DISPLAY DICTIONARY, FREQUENCIES, DESCRIPTIVES,
    CROSSTABS): every variable and value label as written (cut to SPSS's
    limits without a broken character), every frequency equal to
    `quorvant-cli results` and the cross table, Pearson chi-square and p of
    the .sav equal to `quorvant-cli crosstab`, also under a --where filter;
  - pandas read_stata and read_csv, openpyxl: every value of every record,
    the labels and the non-ASCII texts, exactly.
Exit status: 0 passed, 1 failed, 77 skipped (a peer is not installed).
"""
import argparse
import csv
import io
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import research_data as data  # noqa: E402

RECORDS = 400
# The cross table PSPP makes from our .sav: Single Choice with Other by
# Sliding Scale.
CROSS = (1, 3)


def with_peers():
    """Runs this test again under the system's Python when the first one
    lacks pandas or openpyxl (a private Python first on the PATH)."""
    try:
        import openpyxl  # noqa: F401
        import pandas  # noqa: F401
        return None
    except ImportError:
        system = "/usr/bin/python3"
        if os.path.realpath(sys.executable) == os.path.realpath(system) or not os.path.exists(system):
            return 77
        return subprocess.call([system] + sys.argv)


def run(command, env, ok=0):
    result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=300)
    if result.returncode != ok:
        raise RuntimeError("%s failed (%d):\n%s%s" % (command, result.returncode,
                                                      result.stdout, result.stderr))
    return result


class Checks:
    def __init__(self):
        self.failures = []

    def equal(self, what, got, want):
        if got == want:
            return
        if isinstance(got, list) and isinstance(want, list) and len(got) == len(want):
            at = next(i for i, (g, w) in enumerate(zip(got, want)) if g != w)
            what, got, want = "%s, first at row %d" % (what, at + 1), got[at], want[at]
        self.failures.append("%s:\n  got  %r\n  want %r" % (what, got, want))


def pspp_tables(text):
    """The tables of PSPP's CSV output: title -> rows."""
    tables, title = {}, None
    for block in text.split("\n\n"):
        lines = block.strip("\n").split("\n")
        if lines and lines[0].startswith("Table: "):
            title = lines[0][len("Table: "):]
            tables[title] = list(csv.reader(io.StringIO("\n".join(lines[1:]))))
    return tables


def results_counts(cli, survey, env, where):
    """`quorvant-cli results --json`: {(variable, value): count}, and per
    Numeric question (count, average)."""
    args = [cli, "results", survey, "--json"] + sum((["--where", w] for w in where), [])
    reply = json.loads(run(args, env).stdout)
    counts, numbers = {}, {}
    for q in reply["questions"]:
        name = "QVX%d" % q["id"]
        if "entries" not in q:
            numbers[name] = (q["count"], q["average"])
            continue
        for e in q["entries"]:
            if q["style"] == 2:
                options = len(e and q["entries"]) - (1 if q["entries"][-1]["label"] == "Other" else 0)
                tick = name if e["index"] == options else "%s_%d" % (name, e["index"])
                counts[(tick, 1)] = e["count"]
            else:
                counts[(name, e["index"])] = e["count"]
    return counts, numbers, reply["records"]


def relative(got, want):
    return abs(got - want) / abs(want) if want else abs(got)


def check_pspp_crosstab(checks, cli, survey, sav, work, env, where):
    row, column = ("QVX%d" % n for n in CROSS)
    syntax = os.path.join(work, "cross.sps")
    with open(syntax, "w", encoding="utf-8") as f:
        # Statistics with all their digits.
        f.write("SET FORMAT=E24.16.\nGET FILE='%s'.\n" % sav)
        f.write("SET TVARS=NAMES TNUMBERS=VALUES.\n")
        f.write("OUTPUT MODIFY /SELECT TABLES /TABLECELLS SELECT=[SIGNIFICANCE] FORMAT=E24.16.\n")
        f.write("CROSSTABS /TABLES=%s BY %s /STATISTICS=CHISQ.\n" % (row, column))
    out = os.path.join(work, "cross.csv")
    run(["pspp", "-O", "format=csv", syntax, "-o", out], env)
    with open(out, encoding="utf-8") as f:
        tables = pspp_tables(f.read())
    lines = tables["%s \u00d7 %s" % (row, column)]
    values = [int(float(v)) for v in lines[1][3:-1]]
    got, current = {}, None
    for line in lines[2:]:
        if line[0] == "Total":
            break
        current = int(float(line[1])) if line[1] else current
        for value, count in zip(values, line[3:-1]):
            got[(current, value)] = int(float(count))
    # No test with fewer than two rows or columns: PSPP leaves the line out.
    pearson = next((line for line in tables.get("Chi-Square Tests", [])
                    if line[0] == "Pearson Chi-Square"), None)

    args = [cli, "crosstab", survey, str(CROSS[0]), str(CROSS[1]), "--json"]
    ours = json.loads(run(args + sum((["--where", w] for w in where), []), env).stdout)
    want = {(r, c): ours["cells"][r][c]
            for r in range(len(ours["row_totals"])) if ours["row_totals"][r]
            for c in range(len(ours["column_totals"])) if ours["column_totals"][c]}
    tag = "PSPP CROSSTABS%s: " % (" under " + " ".join(where) if where else "")
    checks.equal(tag + "cells", got, want)
    if pearson is None:
        checks.equal(tag + "no test", (ours["chi_square"], ours["p"]), (None, None))
        return
    checks.equal(tag + "df", int(float(pearson[2])), ours["df"])
    for what, theirs, mine in (("chi-square", pearson[1], ours["chi_square"]),
                               ("p", pearson[3], ours["p"])):
        if relative(mine, float(theirs)) > 1e-6:
            checks.equal(tag + what, mine, float(theirs))


def check_pspp(checks, cli, survey, work, env, where):
    sav = os.path.join(work, "where.sav" if where else "all.sav")
    run([cli, "export", survey, sav] + sum((["--where", w] for w in where), []), env)
    coded = [n for n, _, labels in data.variables() if labels]
    syntax = os.path.join(work, "read.sps")
    with open(syntax, "w", encoding="utf-8") as f:
        f.write("GET FILE='%s'.\nDISPLAY DICTIONARY.\n" % sav)
        f.write("SET TVARS=NAMES TNUMBERS=VALUES.\n")
        f.write("FREQUENCIES /VARIABLES=%s.\n" % " ".join(coded))
        f.write("DESCRIPTIVES /VARIABLES=QVX5 /STATISTICS=MEAN.\n")
    out = os.path.join(work, "pspp.csv")
    run(["pspp", "-O", "format=csv", syntax, "-o", out], env)
    with open(out, encoding="utf-8") as f:
        tables = pspp_tables(f.read())
    counts, numbers, records = results_counts(cli, survey, env, where)
    tag = "PSPP%s: " % (" under " + " ".join(where) if where else "")
    for name in coded:
        got = {(name, int(float(r[1]))): int(r[2]) for r in tables[name][:-1]
               if r[0] in ("Valid", "") and r[1].strip() not in ("", ".")}
        want = {k: v for k, v in counts.items() if k[0] == name and (v or k in got)}
        got = {k: v for k, v in got.items() if k[1] == 1 or not name.count("_") and
               name not in ("QVX2",)}
        checks.equal(tag + "frequencies of " + name, got, want)
    total = int(tables[coded[0]][-1][2])
    checks.equal(tag + "cases", total, records)
    stats = {r[0]: r for r in tables["Descriptive Statistics"]}
    count, average = numbers["QVX5"]
    checks.equal(tag + "valid numbers of QVX5", int(stats["QVX5"][1]), count)
    checks.equal(tag + "mean of QVX5", stats["QVX5"][2], "%.2f" % average)
    check_pspp_crosstab(checks, cli, survey, sav, work, env, where)
    if where:
        return
    labels = {r[0]: r[2] for r in tables["Variables"][0:] if r and r[0] != "Name"}
    missing = {r[0]: r[-1] for r in tables["Variables"] if r and r[0] != "Name"}
    for name, text, value_labels in data.variables():
        checks.equal("PSPP label of " + name, labels.get(name), data.cut(text, 256))
    checks.equal("PSPP missing values of QVX5", missing.get("QVX5"), "-9999")
    # Value labels: rows of (variable label or "", value, label).
    got, current = {}, None
    for r in tables["Value Labels"][1:]:
        current = r[0] or current
        got.setdefault(current, []).append(r[2])
    want = {data.cut(text, 256): [data.cut(l, 120) for l in value_labels]
            for name, text, value_labels in data.variables() if value_labels}
    checks.equal("PSPP value labels", got, want)


def expected_frame(rows, columns, labels=False):
    """What every record should read as, as text per column: codes (or
    their labels), 0/1, numbers, texts, and YYYY-MM-DD HH:MM:SS."""
    value_labels = {n: l for n, _, l in data.variables() if l}
    out = []
    for row in rows:
        cells = []
        for c in columns:
            v = row.get(c, "")
            if c == "DATERCVD":
                v = "%s-%s-%s %s:%s:%s" % (v[0:4], v[4:6], v[6:8], v[8:10], v[10:12], v[12:14])
            elif v is None:
                v = ""
            elif isinstance(v, int):
                v = value_labels[c][v] if labels and c in value_labels else str(v)
            cells.append(v)
        out.append(cells)
    return out


def check_stata(checks, cli, survey, work, env, rows):
    import pandas as pd
    dta = os.path.join(work, "all.dta")
    run([cli, "export", survey, dta], env)
    frame = pd.read_stata(dta, convert_categoricals=False, convert_missing=True)
    reader = pd.io.stata.StataReader(dta)
    variable_labels = reader.variable_labels()
    value_labels = reader.value_labels()
    columns = [c for c in frame.columns if c not in ("EMAIL", "AGENT")]
    got = []
    for _, record in frame.iterrows():
        cells = []
        for c in columns:
            v = record[c]
            if isinstance(v, pd.io.stata.StataMissingValue):
                cells.append("-9999" if v.string == ".a" else "")
            elif c == "DATERCVD":
                cells.append(v.strftime("%Y-%m-%d %H:%M:%S"))
            elif isinstance(v, str):
                cells.append(v)
            else:
                cells.append(str(int(v)))
        got.append(cells)
    checks.equal("pandas read_stata values", got, expected_frame(rows, columns))
    for name, text, labels in data.variables():
        checks.equal("Stata label of " + name, variable_labels[name], data.cut(text, 320, 80))
        if labels:
            table = "selected" if labels[0] == "Not selected" else "L" + name
            checks.equal("Stata value labels of " + name, list(value_labels[table].values()),
                         labels)


def check_csv(checks, cli, survey, work, env, rows):
    import pandas as pd
    for labels in (False, True):
        path = os.path.join(work, "labels.csv" if labels else "codes.csv")
        run([cli, "export", survey, path] + (["--labels"] if labels else []), env)
        with open(path, "rb") as f:
            checks.equal("CSV byte-order mark", f.read(3), b"\xef\xbb\xbf")
        frame = pd.read_csv(path, dtype=str, keep_default_na=False, encoding="utf-8-sig")
        columns = [c for c in frame.columns if c not in ("EMAIL", "AGENT")]
        got = frame[columns].values.tolist()
        checks.equal("pandas read_csv values%s" % (" --labels" if labels else ""), got,
                     expected_frame(rows, columns, labels))


def check_xlsx(checks, cli, survey, work, env, rows):
    import openpyxl
    path = os.path.join(work, "all.xlsx")
    run([cli, "export", survey, path, "--labels"], env)
    book = openpyxl.load_workbook(path, read_only=True)
    checks.equal("sheets", book.sheetnames, ["Responses", "Variables"])
    sheet = list(book["Responses"].iter_rows(values_only=True))
    header = list(sheet[0])
    keep = [i for i, c in enumerate(header) if c not in ("EMAIL", "AGENT")]
    got = []
    for record in sheet[1:]:
        cells = []
        for i in keep:
            v = record[i]
            if v is None:
                cells.append("")
            elif hasattr(v, "strftime"):
                cells.append(v.strftime("%Y-%m-%d %H:%M:%S"))
            elif isinstance(v, float):
                cells.append(str(int(v)))
            else:
                cells.append(str(v))
        got.append(cells)
    # A cell breaks lines with line feeds.
    want = [[c.replace("\r\n", "\n") for c in r]
            for r in expected_frame(rows, [header[i] for i in keep], True)]
    checks.equal("openpyxl values", got, want)
    variables = {r[0]: r for r in book["Variables"].iter_rows(values_only=True)}
    checks.equal("Variables heads", variables["Name"], ("Name", "Question", "Type", "Value labels"))
    for name, text, labels in data.variables():
        row = variables.get(name, (None,) * 4)
        checks.equal("Variables row of " + name, row[1], text)
        if labels:
            checks.equal("value labels of " + name, row[3],
                         "; ".join("%d = %s" % (k, l) for k, l in enumerate(labels)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    again = with_peers()
    if again is not None:
        if again == 77:
            print("skipped: pandas or openpyxl is not installed")
        return again
    if shutil.which("pspp") is None:
        print("skipped: PSPP is not installed")
        return 77
    seed = random.randrange(1 << 30)
    print("seed", seed)
    checks = Checks()
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, HOME=work, QUORVANT_CONFIG_DIR=os.path.join(work, "config"))
        with open(os.path.join(args.source, "data/examples/example.qvx"), newline="",
                  encoding="utf-8") as f:
            example = f.read()
        survey = os.path.join(work, "survey.qvx")
        with open(survey, "w", newline="", encoding="utf-8") as f:
            f.write(data.survey_text(example))
        reply, rows = data.random_reply(random.Random(seed), RECORDS)
        with open(os.path.join(work, "reply.dat"), "w", newline="", encoding="utf-8") as f:
            f.write(reply)
        run([args.cli, "incorporate", survey, os.path.join(work, "reply.dat")], env)
        check_pspp(checks, args.cli, survey, work, env, [])
        check_pspp(checks, args.cli, survey, work, env, ["1!=0", "4=1"])
        check_stata(checks, args.cli, survey, work, env, rows)
        check_csv(checks, args.cli, survey, work, env, rows)
        check_xlsx(checks, args.cli, survey, work, env, rows)
        # A type no writer knows is refused, and nothing is written.
        bad = run([args.cli, "export", survey, os.path.join(work, "out.txt")], env, ok=2)
        checks.equal("unknown type message", ".txt" in bad.stderr, True)
        checks.equal("unknown type file", os.path.exists(os.path.join(work, "out.txt")), False)
        # The cut is reported once.
        cut = run([args.cli, "export", survey, os.path.join(work, "again.sav")], env)
        checks.equal("cut reported once", cut.stderr.count("were cut"), 1)
    for failure in checks.failures:
        print("FAIL: " + failure)
    print("%d records; %d failures" % (RECORDS, len(checks.failures)))
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
