#!/usr/bin/env python3
"""Builds data/frequency.tsv from data/readings.tsv and the source tables in data/frequency/.

    python3 data/build_frequency.py            writes data/frequency.tsv
    python3 data/build_frequency.py OUT        writes OUT
    python3 data/build_frequency.py --check    exits 1 if data/frequency.tsv is not what this builds
    python3 data/build_frequency.py --report   also lists ranked names that readings.tsv lacks

Standard library only, no network, no randomness: the same inputs give the same bytes.
How every figure is estimated is told in data/NOTICE.md, section "Name frequencies".
"""
import difflib
import math
import os
import sys

DATA = os.path.dirname(os.path.abspath(__file__))
TABLES = os.path.join(DATA, "frequency")
DECADES = list(range(1920, 2030, 10))
# Estimate: a ranked reading is written at least this many common ways, so the few spellings of
# readings.tsv each take at most this part of what the reading's ranked writings leave.
WRITINGS_PER_READING = 10
HEADER = ["list", "kanji", "hiragana", "people"] + ["%ds" % d for d in DECADES]


class BuildError(Exception):
    pass


def read_table(path, ints=(), floats=(), optional=()):
    """Rows of a TSV as dicts; numeric columns are checked so that a bad figure names its file and line."""
    rows = []
    name = os.path.relpath(path, os.path.dirname(DATA))
    with open(path, encoding="utf-8", newline="") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines:
        raise BuildError("%s: empty file, a header line is needed" % name)
    head = lines[0].split("\t")
    for col in list(ints) + list(floats):
        if col not in head:
            raise BuildError("%s:1: missing column '%s'" % (name, col))
    for number, line in enumerate(lines[1:], start=2):
        cells = line.split("\t")
        if len(cells) != len(head):
            raise BuildError("%s:%d: %d cells, the header has %d" % (name, number, len(cells), len(head)))
        row = dict(zip(head, cells))
        for col in list(ints) + list(floats):
            text = row[col]
            if text == "" and col in optional:
                row[col] = None
                continue
            try:
                value = int(text) if col in ints else float(text)
            except ValueError:
                raise BuildError("%s:%d: column '%s' is not a number: '%s'" % (name, number, col, text))
            if value < 0 or (col in floats and not math.isfinite(value)):
                raise BuildError("%s:%d: column '%s' is out of range: '%s'" % (name, number, col, text))
            row[col] = value
        row["_where"] = "%s:%d" % (name, number)
        rows.append(row)
    return rows


def spellings(readings_path):
    """(list, kanji, hiragana) of readings.tsv in its order, each once."""
    seen, out = set(), []
    for row in read_table(readings_path):
        key = (row["list"], row["kanji"], row["hiragana"])
        if key not in seen:
            seen.add(key)
            out.append(key)
    return out


def fit_people(rank, anchors):
    """Piecewise power law: straight lines in log(rank)-log(people) between the published anchor points."""
    points = sorted((math.log(a["rank"]), math.log(a["people"])) for a in anchors)
    x = math.log(max(rank, 1))
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        if x <= x1:
            return math.exp(y0 + (y1 - y0) * (x - x0) / (x1 - x0))
    (x0, y0), (x1, y1) = points[-2], points[-1]
    return math.exp(y1 + (y1 - y0) * (x - x1) / (x1 - x0))


def surname_people(rows, tables):
    surnames = read_table(os.path.join(tables, "surnames.tsv"), ints=("people", "rank"), optional=("people", "rank"))
    anchors = read_table(os.path.join(tables, "anchors.tsv"), ints=("rank", "people"))
    published = {}
    for s in surnames:
        published.setdefault(s["kanji"], s)
    last = [r for r in rows if r[0] == "last"]
    order, readings_of = [], {}
    for _, kanji, hira in last:
        if kanji not in readings_of:
            order.append(kanji)
            readings_of[kanji] = []
        readings_of[kanji].append(hira)
    people = {}
    for place, kanji in enumerate(order, start=1):
        s = published.get(kanji)
        if s and s["people"] is not None:
            total = s["people"]
        else:
            # gimei lists its surnames about in rank order, so its place stands in for an unpublished rank
            total = fit_people(s["rank"] if s and s["rank"] else place, anchors)
        share = total / len(readings_of[kanji])
        for hira in readings_of[kanji]:
            people[("last", kanji, hira)] = max(1, int(round(share)))
    return people


def decade_of(year):
    return year - year % 10


def given_weights(rows, tables, report):
    births = read_table(os.path.join(tables, "births.tsv"), ints=("year", "male", "female"))
    ranks = read_table(os.path.join(tables, "given-ranks.tsv"), ints=("year", "rank"))
    curves = read_table(os.path.join(tables, "share-curve.tsv"), ints=("from_year", "to_year"),
                        floats=("top_share", "exponent"))
    endings = read_table(os.path.join(tables, "endings.tsv"), floats=("share",))

    born = {}
    for b in births:
        for sex in ("male", "female"):
            key = (sex, decade_of(b["year"]))
            born[key] = born.get(key, 0) + b[sex]

    def share(kind, year, rank):
        for c in curves:
            if c["kind"] == kind and c["from_year"] <= year <= c["to_year"]:
                return c["top_share"] * rank ** -c["exponent"]
        raise BuildError("share-curve.tsv: no '%s' curve covers %d" % (kind, year))

    weights = {}
    missing = set()
    for sex in ("male", "female"):
        mine = [r for r in rows if r[0] == sex]
        by_kanji, by_hira = {}, {}
        for r in mine:
            by_kanji.setdefault(r[1], []).append(r)
            by_hira.setdefault(r[2], []).append(r)
        for decade in DECADES:
            total = born.get((sex, decade), 0)
            if total <= 0:
                raise BuildError("births.tsv: no %s births for the %ds" % (sex, decade))
            in_decade = [x for x in ranks if x["sex"] == sex and decade_of(x["year"]) == decade]
            # a ranking year stands for the whole decade: shares are averaged over the years that have one
            written_years = {x["year"] for x in in_decade if x["kanji"]}
            read_years = {x["year"] for x in in_decade if not x["kanji"]}
            written, read = {}, {}
            for x in in_decade:
                if x["kanji"]:
                    key = (x["kanji"], x["hiragana"])
                    written[key] = written.get(key, 0.0) + share("name", x["year"], x["rank"]) * total / len(written_years)
                else:
                    read[x["hiragana"]] = read.get(x["hiragana"], 0.0) + share("reading", x["year"], x["rank"]) * total / len(read_years)
            ranked = {}
            for (kanji, hira), mass in sorted(written.items()):
                targets = [r for r in by_kanji.get(kanji, []) if not hira or r[2] == hira]
                if not targets:
                    missing.add((sex, kanji or hira))
                    continue
                # a writing ranked without its reading goes to its readings by their own reading ranks, else evenly
                evidence = [read.get(r[2], 0.0) for r in targets]
                if sum(evidence) <= 0:
                    evidence = [1.0] * len(targets)
                for r, e in zip(targets, evidence):
                    ranked[r] = ranked.get(r, 0.0) + mass * e / sum(evidence)
            for hira, mass in sorted(read.items()):
                targets = by_hira.get(hira, [])
                if not targets:
                    missing.add((sex, hira))
                    continue
                # the reading's weight beyond what its ranked writings already hold goes evenly to its other spellings
                rest = mass - sum(ranked.get(r, 0.0) for r in targets)
                others = [r for r in targets if r not in ranked]
                if rest > 0 and others:
                    for r in others:
                        ranked[r] = ranked.get(r, 0.0) + rest / max(len(others), WRITINGS_PER_READING)
            # every spelling keeps a base weight; an ending share (e.g. 子) moves base weight between endings
            left = total - sum(ranked.values())
            base = {}
            claimed = 0.0
            groups = [e for e in endings if e["sex"] == sex and e["decade"] == "%ds" % decade]
            rest_rows = list(mine)
            for e in groups:
                members = [r for r in rest_rows if r[1].endswith(e["ending"])]
                if not members:
                    continue
                want = e["share"] * total - sum(ranked.get(r, 0.0) for r in members)
                each = max(want, 0.0) / len(members)
                for r in members:
                    base[r] = each
                claimed += each * len(members)
                rest_rows = [r for r in rest_rows if r not in base]
            if rest_rows:
                each = max(left - claimed, 0.0) / len(rest_rows)
                for r in rest_rows:
                    base[r] = each
            for r in mine:
                weights.setdefault(r, {})[decade] = max(1, int(round(base[r] + ranked.get(r, 0.0))))
    if report:
        for sex, name in sorted(missing):
            print("ranked but not in readings.tsv: %s %s" % (sex, name), file=sys.stderr)
    return weights


def build(readings_path=os.path.join(DATA, "readings.tsv"), tables=TABLES, report=False):
    rows = spellings(readings_path)
    people = surname_people(rows, tables)
    weights = given_weights(rows, tables, report)
    out = ["\t".join(HEADER)]
    for r in rows:
        if r[0] == "last":
            out.append("\t".join([r[0], r[1], r[2], str(people[r])] + [""] * len(DECADES)))
        elif r[0] in ("male", "female"):
            cells = [weights[r][d] for d in DECADES]
            out.append("\t".join([r[0], r[1], r[2], str(sum(cells))] + [str(c) for c in cells]))
        else:
            raise BuildError("readings.tsv: unknown list '%s'" % r[0])
    return "\n".join(out) + "\n"


def main(argv):
    shipped = os.path.join(DATA, "frequency.tsv")
    args = [a for a in argv if not a.startswith("--")]
    try:
        text = build(report="--report" in argv)
    except BuildError as e:
        print("build_frequency: %s" % e, file=sys.stderr)
        return 1
    if "--check" in argv:
        try:
            with open(shipped, encoding="utf-8", newline="") as f:
                old = f.read()
        except OSError as e:
            print("build_frequency: cannot read %s: %s" % (shipped, e), file=sys.stderr)
            return 1
        if old == text:
            return 0
        diff = difflib.unified_diff(old.splitlines(), text.splitlines(), "data/frequency.tsv (shipped)",
                                    "data/frequency.tsv (built)", lineterm="", n=0)
        print("build_frequency: data/frequency.tsv differs from what the tables build; rerun "
              "python3 data/build_frequency.py", file=sys.stderr)
        for n, line in enumerate(diff):
            if n >= 40:
                print("...", file=sys.stderr)
                break
            print(line, file=sys.stderr)
        return 1
    with open(args[0] if args else shipped, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
