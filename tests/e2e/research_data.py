"""A survey of every response style and a saved results reply of random
answers for it, with the text a research export has to carry exactly:
quotes, commas, line breaks, emoji, and question and option texts longer
than the formats' limits, cut in the middle of multi-byte characters."""
import random
import re

# Odd respondent text: what CSV quoting, XML escaping and fixed-width
# strings get wrong.
ODD_TEXTS = [
    'He said "no", then left',
    "a,b,,c",
    "Zeile eins\r\nZeile zwei",
    "trailing newline\n",
    "😀 emoji 🇩🇪 and ½ €",
    "日本語のテキスト",
    "'single' & <angle> tags",
    "ß" * 300,
]
LONG_QUESTION = "Ĉu vi ŝatas " + "ĉĝĥĵŝŭ" * 40 + "?"  # 2 bytes a letter, cut mid-letter
LONG_OPTION = "Ünïcödé " + "Ä" * 70  # past 120 bytes
QUESTIONS = [
    # (ID, text, style, options, include other, length, min, max, step)
    (1, "Wie oft essen Sie in der Kantine? — «Café»", 1,
     ["Every day~Täglich", "Weekly~Wöchentlich", "Rarely~Selten", "Never~Nie"], 1, 0, 0, 0, 1),
    (2, "Was kaufen Sie? (mehrere)", 2, ["Hot meal", "Sandwich, cold", "Salad \"fresh\""],
     1, 0, 0, 0, 1),
    (3, "How satisfied are you?", 3, ["1~Poor", "2~Fair", "3~Good", "4~Very good", "5~Best"],
     0, 0, 0, 0, 1),
    (4, LONG_QUESTION, 5, ["North", LONG_OPTION, "Süd"], 0, 0, 0, 0, 1),
    (5, "How many minutes is your lunch break?", 6, [], 0, 0, 0, 120, 15),
    (6, "Which department do you work in?", 4, [], 0, 40, 0, 0, 0),
    (7, "Anything else you would like to tell us?", 4, [], 0, -1, 0, 0, 0),
]


def survey_text(example):
    """The example survey's details with QUESTIONS as its items."""
    details = example.split("[Question 1]")[0]
    details = re.sub(r"(?m)^QuestionCount=.*$", "QuestionCount=%d" % len(QUESTIONS), details)
    details = re.sub(r"(?m)^LastID=.*$", "LastID=%d" % len(QUESTIONS), details)
    details = re.sub(r"(?m)^Only1IP=.*$", "Only1IP=0", details)
    out = [details.rstrip("\r\n") + "\r\n"]
    for n, (qid, text, style, options, other, length, low, high, step) in enumerate(QUESTIONS, 1):
        out.append("\r\n[Question %d]\r\n" % n)
        fields = [("Text", text), ("Style", style),
                  ("Options", "".join(o + "|" for o in options)),
                  ("LengthOfResponse", length), ("ID", qid), ("IncludeOther", other),
                  ("MinValue", low), ("MaxValue", high), ("StepValue", step),
                  ("ChartType", 1), ("DisplayLegend", 1), ("LegendStyle", 1),
                  ("DisplayMarks", 1), ("MarksStyle", 0), ("Rotation", 0),
                  ("SkipGroupOfQuestion", -1), ("SkipGroupOfResponse", -1)]
        out.extend("%s=%s\r\n" % (k, v) for k, v in fields)
    return "".join(out)


def _item(key, value):
    value = value.replace("\r", "&CR;").replace("\n", "&LF;")
    return '"' + (key + "=" + value).replace('"', '""') + '"'


def stored(text, width):
    """A text as a character field of `width` bytes gives it back: cut at a
    character boundary, trailing blanks gone."""
    return text.encode()[:width].decode(errors="ignore").rstrip(" ")


def cut(text, max_bytes, max_chars=None):
    """The text cut to a format's limit without splitting a character."""
    text = text.encode()[:max_bytes].decode(errors="ignore")
    return text if max_chars is None else text[:max_chars]


def random_reply(rng, records):
    """A saved reply of `records` random submissions, and what the response
    table then holds, per record: field name to value (None for blank,
    codes and 0/1 as numbers, -9999 for a number not given, texts as
    stored; the typed Other text is stored as posted, line breaks encoded)."""
    lines, expected = ["<DATA>"], []
    for n in range(records):
        stamp = "2026%02d%02d%02d%02d%02d" % (rng.randint(1, 12), rng.randint(1, 28),
                                              rng.randint(0, 23), rng.randint(0, 59),
                                              rng.randint(0, 59))
        address = "10.1.%d.%d" % (n // 250, n % 250)
        items = ["RemoteAddr=" + address, "DateRec=" + stamp]
        row = {"REMOTEIP": address, "DATERCVD": stamp}
        for qid, _, style, options, other, length, low, high, _ in QUESTIONS:
            key, field = "qvx%d" % qid, "QVX%d" % qid
            if style in (1, 3, 5):
                choice = rng.randint(-1, len(options) - 1 + other)
                row[field] = None if choice < 0 else choice
                if other:
                    row[field + "OT"] = ""
                if choice == len(options):
                    items.append(_item(key, "Other"))
                    typed = rng.choice(ODD_TEXTS)
                    items.append(_item(key + "Other", typed))
                    row[field + "OT"] = stored(typed.replace("\r", "&CR;").replace("\n", "&LF;"), 50)
                elif choice >= 0:
                    items.append(_item(key, str(choice)))
            elif style == 2:
                for j in range(len(options)):
                    tick = rng.random() < 0.5
                    row["%s_%d" % (field, j)] = int(tick)
                    if tick:
                        items.append(_item("%s-%d" % (key, j), "1"))
                if other:
                    tick = rng.random() < 0.3
                    row[field], row[field + "OT"] = int(tick), ""
                    if tick:
                        typed = rng.choice(ODD_TEXTS)
                        items.append(_item(key, "other"))
                        items.append(_item(key + "Other", typed))
                        row[field + "OT"] = stored(typed.replace("\r", "&CR;").replace("\n", "&LF;"), 50)
            elif style == 6:
                r = rng.random()
                row[field] = -9999
                if r < 0.1:
                    items.append(_item(key, "not a number"))
                elif r < 0.9:
                    value = rng.randint(low, high)
                    items.append(_item(key, str(value)))
                    row[field] = value
            elif style == 4:
                row[field] = ""
                if rng.random() < 0.7:
                    text = rng.choice(ODD_TEXTS)
                    items.append(_item(key, text))
                    row[field] = text if length == -1 else stored(text, length)
        lines.append(",".join(items))
        expected.append(row)
    lines.append("</DATA>")
    return "\r\n".join(lines) + "\r\n", expected


def variables():
    """(name, question text, option labels or None) of every question
    variable, in export order."""
    out = []
    for qid, text, style, options, other, _, _, _, _ in QUESTIONS:
        name = "QVX%d" % qid
        labels = [o.split("~", 1)[-1] for o in options]
        if style in (1, 3, 5):
            out.append((name, text, labels + (["Other"] if other else [])))
            if other:
                out.append((name + "OT", text + ": Other", None))
        elif style == 2:
            ticks = ["Not selected", "Selected"]
            out.extend(("%s_%d" % (name, j), text + ": " + l, ticks) for j, l in enumerate(labels))
            if other:
                out.append((name, text + ": Other", ticks))
                out.append((name + "OT", text + ": Other", None))
        else:
            out.append((name, text, None))
    return out
