#!/usr/bin/env python3
"""Builds data/frequency.tsv from data/readings.tsv and the source tables in data/frequency/.

    python3 data/build_frequency.py            writes data/frequency.tsv
    python3 data/build_frequency.py OUT        writes OUT
    python3 data/build_frequency.py --check    exits 1 if data/frequency.tsv is not what this builds
    python3 data/build_frequency.py --report   also prints each decade's name forms beside their targets,
                                               and the ranked names that readings.tsv lacks

Standard library only, no network, no randomness: the same inputs give the same bytes.
How every figure is estimated is told in data/NOTICE.md, section "Name frequencies".
"""
import datetime
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
# The place given to a ranked writing in a neighbouring ranked year whose top ten lacks it.
NEXT_RANK = 11
# An unranked writing stays below this part of the least of the decade's steadily ranked writings.
STEADY_MARGIN = 0.95
# The era profile of an unranked spelling (see era_profiles): a decade's ranked entries count fully,
# its neighbours' by these parts, so that a name ranked in the 1970s is also likely in the 1960s and 1980s.
ERA_KERNEL = (1.0, 0.5, 0.2)
# Pseudo-count, in ranked entries, that pulls a feature's rate in a decade towards its rate over all decades:
# one entry in a thinly ranked decade is weak evidence.
ERA_PRIOR = 20.0
# An era profile moves a spelling's start weight by at most this factor either way.
ERA_CAP = 40.0
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


# From this year on a child's name may hold only the kanji permitted on the day of the birth.
LAW_YEAR = 1948
# A decade of the law's years is weighed by its births, so a spelling permitted for half of them keeps half.
ALWAYS_PERMITTED = "ー々"


def is_hiragana(text):
    return text != "" and all("\u3041" <= c <= "\u309f" or c in ALWAYS_PERMITTED for c in text)


def is_katakana(text):
    return text != "" and all("\u30a1" <= c <= "\u30ff" or c in ALWAYS_PERMITTED for c in text)


def is_kana(text):
    return text != "" and all("\u3041" <= c <= "\u30ff" or c in ALWAYS_PERMITTED for c in text)


def kanji_dates(path):
    """kanji -> date (y, m, d) from which it may be given; a kanji absent was never permitted."""
    dates = {}
    for row in read_table(path):
        text = row["permitted"]
        try:
            y, m, d = (int(x) for x in text.split("-"))
            datetime.date(y, m, d)
        except ValueError:
            raise BuildError("%s: column 'permitted' is not a date YYYY-MM-DD: '%s'" % (row["_where"], text))
        if len(row["kanji"]) != 1:
            raise BuildError("%s: column 'kanji' must hold one character: '%s'" % (row["_where"], row["kanji"]))
        dates[row["kanji"]] = (y, m, d)
    return dates


def first_permitted(kanji, dates):
    """The date from which every character of the spelling may be given, or None if one never may."""
    first = (LAW_YEAR, 1, 1)
    for c in kanji:
        if is_kana(c):
            continue
        if c not in dates:
            return None
        first = max(first, dates[c])
    return first


def permitted_part(kanji, dates, decade, births_of_year):
    """The part of a decade's births for which the spelling could be given (1 before the law)."""
    first = first_permitted(kanji, dates)
    kept = whole = 0.0
    for year in range(decade, decade + 10):
        born = births_of_year(year)
        whole += born
        if year < LAW_YEAR:
            kept += born
        elif first is None or first[0] > year:
            continue
        elif first[0] < year:
            kept += born
        else:
            start = datetime.date(*first)
            days = (datetime.date(year + 1, 1, 1) - datetime.date(year, 1, 1)).days
            kept += born * (datetime.date(year + 1, 1, 1) - start).days / days
    return kept / whole if whole else 0.0


def indicator_test(name, dates):
    """Membership test of a name form that targets.tsv may set; None for an unknown one."""
    if name.startswith("ends:") and len(name) > 5:
        tails = name[5:]
        # an ending is the last kanji of a longer name; a one-kanji name is a form of its own
        return lambda k: len(k) > 1 and not is_kana(k) and k[-1] in tails
    if name == "one-kanji":
        return lambda k: len(k) == 1 and not is_kana(k)
    if name == "hiragana":
        return is_hiragana
    if name == "katakana":
        return is_katakana
    if name == "late-kanji":
        # holds a kanji that the law admitted only from 1976 on (or never): rare in names before the law
        return lambda k: any(not is_kana(c) and dates.get(c, (9999,)) >= (1976, 1, 1) for c in k)
    return None


def read_targets(path, dates):
    targets = {}
    decades = {"%ds" % d for d in DECADES}
    for row in read_table(path, floats=("share",)):
        where = row["_where"]
        if row["sex"] not in ("male", "female"):
            raise BuildError("%s: unknown sex '%s'" % (where, row["sex"]))
        if row["decade"] not in decades:
            raise BuildError("%s: unknown decade '%s'" % (where, row["decade"]))
        if indicator_test(row["indicator"], dates) is None:
            raise BuildError("%s: unknown indicator '%s'" % (where, row["indicator"]))
        if not 0 < row["share"] < 1:
            raise BuildError("%s: share must lie between 0 and 1: %s" % (where, row["share"]))
        key = (row["sex"], int(row["decade"][:4]), row["indicator"])
        if key in targets:
            raise BuildError("%s: a second target for %s %s %s" % ((where,) + tuple(str(k) for k in key)))
        targets[key] = row
    for (sex, decade) in {(k[0], k[1]) for k in targets}:
        ends = sum(r["share"] for k, r in targets.items() if k[:2] == (sex, decade) and k[2].startswith("ends:"))
        if ends >= 1:
            raise BuildError("%s: the endings of %s %ds add up to %.3f, more than all names"
                             % (os.path.relpath(path, os.path.dirname(DATA)), sex, decade, ends))
    return targets


def rake(free, classes, wanted, rounds=500):
    """Iterative proportional fitting: scales the free weights so that each class holds its wanted mass.

    free: {row: weight}; classes: [(name, set of rows)]; wanted: {name: mass}. The whole free mass is
    kept; classes are visited in the given order, so the result is the same on every run."""
    total = sum(free.values())
    if total <= 0:
        return free
    for _ in range(rounds):
        worst = 0.0
        for name, members in classes:
            inside = sum(w for r, w in free.items() if r in members)
            outside = total - inside
            want = min(max(wanted[name], 0.0), total)
            if inside <= 0 or (outside <= 0 and want < total):
                continue
            worst = max(worst, abs(inside - want) / total)
            a = want / inside
            b = (total - want) / outside if outside > 0 else 1.0
            for r in free:
                free[r] *= a if r in members else b
        if worst < 1e-10:
            break
    return free


def ranked_entries(ranks, evidence, rows):
    """(sex, decade, kanji, {reading: part}) for each top-ten place of each ranked year.

    Only the top ten, which every ranked year publishes: the deeper lists of the later years would
    otherwise outweigh the earlier decades as evidence of an era."""
    listed = {}
    for r in rows:
        listed.setdefault((r[0], r[1]), []).append(r[2])
    out = []
    for x in ranks:
        if x["rank"] >= NEXT_RANK:
            continue
        if not x["kanji"]:
            out.append((x["sex"], decade_of(x["year"]), "", {x["hiragana"]: 1.0}))
            continue
        said = {e["hiragana"]: e["share"] for e in evidence if e["sex"] == x["sex"] and e["kanji"] == x["kanji"]
                and e["from_year"] <= x["year"] <= e["to_year"]}
        if x["hiragana"]:
            said = {x["hiragana"]: 1.0}
        if not said:
            hiras = listed.get((x["sex"], x["kanji"]), [])
            said = {h: 1.0 / len(hiras) for h in hiras}
        whole = sum(said.values())
        out.append((x["sex"], decade_of(x["year"]), x["kanji"], {h: v / whole for h, v in said.items()} if whole else {}))
    return out


def spelling_features(sex, kanji, hira):
    """What of a spelling the rankings can attest: each of its kanji, its reading and its reading's ending."""
    out = [("kanji", c) for c in sorted(set(kanji)) if not is_kana(c)]
    if hira:
        out.append(("reading", sex, hira))
        out.append(("ending", sex, hira[-2:]))
    return out


def era_profiles(rows, entries):
    """Each given-name spelling's era estimate: {row: {decade: factor}} and its peak decade (None: no evidence).

    A feature (a kanji, a reading, a reading's last two kana) is attested in a decade by the ranked entries
    that hold it: kanji by the writings of both sexes, readings by those of the spelling's sex. Its rate in
    a decade (smoothed over neighbouring decades, pulled towards its rate over all decades by ERA_PRIOR
    entries) over its rate over all decades says how typical of that decade it is; a spelling's profile
    multiplies those of its attested features, is centred on its geometric mean over the decades and
    capped at ERA_CAP either way. Features the rankings never hold say nothing."""
    counts, totals = {}, {}
    for sex, decade, kanji, said in entries:
        for key in ("kanji", ("reading", sex)):
            totals[(key, decade)] = totals.get((key, decade), 0.0) + 1.0
        if kanji:
            for c in set(kanji):
                if not is_kana(c):
                    f = ("kanji", c)
                    counts[(f, decade)] = counts.get((f, decade), 0.0) + 1.0
        for h, part in said.items():
            for f in (("reading", sex, h), ("ending", sex, h[-2:])):
                counts[(f, decade)] = counts.get((f, decade), 0.0) + part

    def smooth(table, key):
        return {d: sum(table.get((key, e), 0.0) * ERA_KERNEL[abs(d - e) // 10]
                       for e in DECADES if abs(d - e) // 10 < len(ERA_KERNEL)) for d in DECADES}

    base = {k: smooth(totals, k) for k in ("kanji", ("reading", "male"), ("reading", "female"))}
    rates = {}

    def rate(f):
        if f not in rates:
            seen = smooth(counts, f)
            under = base["kanji"] if f[0] == "kanji" else base[("reading", f[1])]
            whole = sum(seen.values()) / sum(under.values())
            rates[f] = None if whole <= 0 else {
                d: math.log((seen[d] + ERA_PRIOR * whole) / (under[d] + ERA_PRIOR) / whole) for d in DECADES}
        return rates[f]

    cap = math.log(ERA_CAP)
    profiles, peaks = {}, {}
    for r in rows:
        if r[0] not in ("male", "female"):
            continue
        logs = [p for p in (rate(f) for f in spelling_features(*r)) if p is not None]
        if not logs:
            profiles[r], peaks[r] = {d: 1.0 for d in DECADES}, None
            continue
        total = {d: sum(p[d] for p in logs) for d in DECADES}
        mean = sum(total.values()) / len(DECADES)
        profiles[r] = {d: math.exp(min(max(total[d] - mean, -cap), cap)) for d in DECADES}
        peaks[r] = max(DECADES, key=lambda d: (total[d], -d))
    return profiles, peaks


def survey_sizes(path, ranks):
    """(sex, year) -> children surveyed, for every year with a published count in given-ranks.tsv."""
    sizes = {}
    for row in read_table(path, ints=("year", "male", "female")):
        for sex in ("male", "female"):
            if row[sex] <= 0:
                raise BuildError("%s: column '%s' must be a positive number of children" % (row["_where"], sex))
            sizes[(sex, row["year"])] = row[sex]
    for x in ranks:
        if x["count"] is None:
            continue
        size = sizes.get((x["sex"], x["year"]))
        if size is None:
            raise BuildError("%s: a count for %s %d, a year survey-sizes.tsv lacks" % (x["_where"], x["sex"], x["year"]))
        if not 0 < x["count"] <= size:
            raise BuildError("%s: count %d is not within the %d children surveyed" % (x["_where"], x["count"], size))
    return sizes


def given_weights(rows, tables, dates, report):
    births = read_table(os.path.join(tables, "births.tsv"), ints=("year", "male", "female"))
    ranks = read_table(os.path.join(tables, "given-ranks.tsv"), ints=("year", "rank", "count"), optional=("count",))
    surveyed = survey_sizes(os.path.join(tables, "survey-sizes.tsv"), ranks)
    curves = read_table(os.path.join(tables, "share-curve.tsv"), ints=("from_year", "to_year"),
                        floats=("top_share", "exponent"))
    targets = read_targets(os.path.join(tables, "targets.tsv"), dates)
    evidence_path = os.path.join(tables, "writing-readings.tsv")
    evidence = []
    if os.path.exists(evidence_path):
        evidence = read_table(evidence_path, ints=("from_year", "to_year"), floats=("share",))

    born, born_year = {}, {}
    for b in births:
        for sex in ("male", "female"):
            key = (sex, decade_of(b["year"]))
            born[key] = born.get(key, 0) + b[sex]
            born_year[(sex, b["year"])] = b[sex]

    def share(kind, year, rank):
        """A rank's part of its year's births, by the rank curve: for the years without published counts."""
        for c in curves:
            if c["kind"] == kind and c["from_year"] <= year <= c["to_year"]:
                return c["top_share"] * rank ** -c["exponent"]
        raise BuildError("share-curve.tsv: no '%s' curve covers %d" % (kind, year))

    def read_as(sex, kanji, decade):
        """Published or estimated shares of the readings of a ranked writing in a decade, by overlap in years."""
        out = {}
        for e in evidence:
            if e["sex"] != sex or e["kanji"] != kanji:
                continue
            years = min(e["to_year"], decade + 9) - max(e["from_year"], decade) + 1
            if years > 0:
                out[e["hiragana"]] = out.get(e["hiragana"], 0.0) + e["share"] * years
        return out

    profiles, peaks = era_profiles(rows, ranked_entries(ranks, evidence, rows))
    weights = {}
    missing, unread, fits = set(), set(), []
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
            part = {r: permitted_part(r[1], dates, decade, lambda y: born_year.get((sex, y), 0)) for r in mine}
            in_decade = [x for x in ranks if x["sex"] == sex and decade_of(x["year"]) == decade]
            # a ranking year stands for the whole decade: shares are averaged over the years that have one
            written_years = {x["year"] for x in in_decade if x["kanji"]}
            read_years = {x["year"] for x in in_decade if not x["kanji"]}
            written, read = {}, {}
            def part_of_year(x):
                # a published count is the name's share of the children surveyed; a bare rank goes by the curve
                if x["count"] is not None:
                    return x["count"] / surveyed[(sex, x["year"])]
                return share("name" if x["kanji"] else "reading", x["year"], x["rank"])

            for x in in_decade:
                if x["kanji"]:
                    key = (x["kanji"], x["hiragana"])
                    written[key] = written.get(key, 0.0) + part_of_year(x) * total / len(written_years)
                else:
                    read[x["hiragana"]] = read.get(x["hiragana"], 0.0) + part_of_year(x) * total / len(read_years)
            # estimate: a writing out of a ranked year's list next to a year where it is in stood just below
            # the list rather than nowhere: at the eleventh place of a top ten, at the least count of a counted list
            years_of, least = {}, {}
            for x in in_decade:
                if x["kanji"]:
                    years_of.setdefault((x["kanji"], x["hiragana"]), {})[x["year"]] = x["rank"]
                    if x["count"] is not None:
                        least[x["year"]] = min(least.get(x["year"], x["count"]), x["count"])
            for key, years in sorted(years_of.items()):
                for y in sorted(written_years - set(years)):
                    near = [years[n] for n in (y - 1, y + 1) if n in years]
                    if y in least and near:
                        written[key] += least[y] / surveyed[(sex, y)] * total / len(written_years)
                    elif near and min(near) < NEXT_RANK:
                        written[key] += share("name", y, NEXT_RANK) * total / len(written_years)
            ranked, lost = {}, [0, 0.0]
            for (kanji, hira), mass in sorted(written.items()):
                rows_of = [r for r in by_kanji.get(kanji, []) if not hira or r[2] == hira]
                if not rows_of:
                    # its weight stays with the rest of the decade
                    missing.add((sex, kanji or hira))
                    lost[0] += 1
                    lost[1] += mass / total
                    continue
                # a writing goes to its readings by the reading evidence of its era, else by the decade's reading ranks
                said = read_as(sex, kanji, decade)
                split = [said.get(r[2], 0.0) for r in rows_of]
                if sum(split) <= 0:
                    split = [read.get(r[2], 0.0) for r in rows_of]
                if sum(split) <= 0:
                    unread.add((sex, decade, kanji))
                    split = [1.0] * len(rows_of)
                for r, e in zip(rows_of, split):
                    if e > 0:
                        ranked[r] = ranked.get(r, 0.0) + mass * part[r] * e / sum(split)
            for hira, mass in sorted(read.items()):
                rows_of = by_hira.get(hira, [])
                if not rows_of:
                    missing.add((sex, hira))
                    continue
                # the reading's weight beyond what its ranked writings already hold goes evenly to its other spellings
                rest = mass - sum(ranked.get(r, 0.0) for r in rows_of)
                others = [r for r in rows_of if r not in ranked and part[r] > 0]
                if rest > 0 and others:
                    for r in others:
                        ranked[r] = ranked.get(r, 0.0) + rest * part[r] / max(len(others), WRITINGS_PER_READING)
            # the rest of the decade: every spelling alike, scaled to the part of the decade it was permitted,
            # then raked so that each name form holds its target share; ranked names stay as they are
            # a writing is the unit of the even start, shared by its readings, so that a writing with many
            # readings does not weigh more than one with a single reading
            # and weighed by its era profile, so that within each form the names of the decade's era lead
            free = {r: part[r] * profiles[r][decade] / len(by_kanji[r[1]]) for r in mine if r not in ranked and part[r] > 0}
            left = max(total - sum(ranked.values()), 0.0)
            scale = left / sum(free.values()) if free else 0.0
            for r in free:
                free[r] *= scale
            mine_targets = sorted((k[2], t) for k, t in targets.items() if k[:2] == (sex, decade))
            classes, wanted = [], {}
            for name, t in mine_targets:
                test = indicator_test(name, dates)
                members = {r for r in mine if test(r[1])}
                classes.append((name, members))
                wanted[name] = t["share"] * total - sum(w for r, w in ranked.items() if r in members)
            # a writing in the top ten of half the decade's ranked years is among its commonest: no unranked
            # writing may outweigh it, so writings that the raking pushes above that are held at the bound
            # (the top ten only: the least of a top hundred would hold the long tail of a name form down)
            counts = {}
            for x in in_decade:
                if x["kanji"] and x["rank"] < NEXT_RANK:
                    counts[x["kanji"]] = counts.get(x["kanji"], 0) + 1
            steady = [sum(ranked.get(r, 0.0) for r in by_kanji[k]) for k, n in counts.items()
                      if 2 * n >= len(written_years) and k in by_kanji]
            steady = [w for w in steady if w > 0]
            bound = STEADY_MARGIN * min(steady) if steady else None
            # likewise an unranked reading, whose spellings the era profile may all favour, stays below the
            # published weight of the least reading in the top ten of half the decade's reading-ranked years
            counts = {}
            for x in in_decade:
                if not x["kanji"] and x["rank"] < NEXT_RANK:
                    counts[x["hiragana"]] = counts.get(x["hiragana"], 0) + 1
            steady = [read[h] for h, n in counts.items() if 2 * n >= len(read_years)]
            steady = [w for w in steady if w > 0]
            read_bound = STEADY_MARGIN * min(steady) if steady else None
            held = {}
            for _ in range(100):
                room = left - sum(held.values())
                now = sum(free.values())
                for r in free:
                    free[r] *= room / now if now > 0 else 0.0
                rake(free, classes, {n: wanted[n] - sum(w for r, w in held.items() if r in m) for n, m in classes})
                # a writing or reading counts what is already held of it; its free rows take what is left
                writing, reading, writing_held, reading_held = {}, {}, {}, {}
                for r, w in free.items():
                    writing[r[1]] = writing.get(r[1], 0.0) + w
                    reading[r[2]] = reading.get(r[2], 0.0) + w
                for r, w in held.items():
                    writing_held[r[1]] = writing_held.get(r[1], 0.0) + w
                    reading_held[r[2]] = reading_held.get(r[2], 0.0) + w
                room_of = {}
                if bound is not None:
                    room_of.update({("w", k): bound - writing_held.get(k, 0.0) for k in writing})
                if read_bound is not None:
                    # what an unranked reading may still take beside its ranked writings
                    room_of.update({("r", h): read_bound - reading_held.get(h, 0.0)
                                    - sum(ranked.get(r, 0.0) for r in by_hira[h]) for h in reading if h not in read})
                over = sorted(key for key, room_k in room_of.items()
                              if (writing if key[0] == "w" else reading)[key[1]] > max(room_k, 0.0) * (1 + 1e-9))
                if not over:
                    break
                # a row over both bounds is held at the lower
                factor = {}
                for kind, k in over:
                    now_k = (writing if kind == "w" else reading)[k]
                    for r in (by_kanji if kind == "w" else by_hira)[k]:
                        if r in free:
                            f = max(room_of[(kind, k)], 0.0) / now_k
                            factor[r] = min(factor.get(r, f), f)
                for r in sorted(factor):
                    held[r] = free.pop(r) * factor[r]
            free.update(held)
            for r in mine:
                w = ranked.get(r, 0.0) + free.get(r, 0.0)
                weights.setdefault(r, {})[decade] = max(1, int(round(w))) if part[r] > 0 else 0
            fits.append((sex, decade, {r: part[r] for r in mine}, written, lost))
    if report:
        for sex, name in sorted(missing):
            print("ranked but not in readings.tsv: %s %s" % (sex, name), file=sys.stderr)
        for sex, decade, kanji in sorted(unread):
            print("ranked without reading evidence, split evenly: %s %ds %s" % (sex, decade, kanji), file=sys.stderr)
    return weights, targets, fits, peaks


FORMS = {"female": ("ends:子", "ends:美", "ends:代", "ends:江", "ends:枝", "one-kanji", "hiragana", "katakana",
                    "late-kanji"),
         "male": ("ends:郎", "ends:雄夫男", "one-kanji", "hiragana", "katakana", "late-kanji")}


def indicators(weights, rows, sex, decade, dates):
    """Shares of a decade's weight, by name form, as targets.tsv names them."""
    mine = [r for r in rows if r[0] == sex]
    total = sum(weights[r][decade] for r in mine) or 1
    out = {}
    for name in FORMS[sex]:
        test = indicator_test(name, dates)
        out[name] = sum(weights[r][decade] for r in mine if test(r[1])) / total
    out["kana"] = out["hiragana"] + out["katakana"]
    return out


def peak_decades(weights, mine):
    """Each spelling's decade of highest share of that decade's weight (the earliest on a tie)."""
    totals = {d: sum(weights[r][d] for r in mine) or 1 for d in DECADES}
    return {r: max(DECADES, key=lambda d: (weights[r][d] / totals[d], -d)) for r in mine}


def era_shares(weights, mine, decade, era_peaks):
    """Parts of a decade's weight on spellings whose era profile peaks within a decade of it, and three or
    more decades away from it; spellings with no era evidence count in neither."""
    total = sum(weights[r][decade] for r in mine) or 1
    near = sum(weights[r][decade] for r in mine if era_peaks[r] is not None and abs(era_peaks[r] - decade) <= 10)
    far = sum(weights[r][decade] for r in mine if era_peaks[r] is not None and abs(era_peaks[r] - decade) >= 30)
    return near / total, far / total


def print_report(weights, rows, targets, fits, dates, era_peaks, out=sys.stdout):
    """Each decade's name forms beside their targets, the law and the ranked names' share."""
    peaks = {}
    for sex in ("male", "female"):
        peaks.update(peak_decades(weights, [r for r in rows if r[0] == sex]))
    for sex, decade, part, written, lost in fits:
        mine = [r for r in rows if r[0] == sex]
        total = sum(weights[r][decade] for r in mine) or 1
        banned = sum(weights[r][decade] for r in mine if part[r] <= 0) / total
        ranked_kanji = {k for k, _ in written}
        top = sum(weights[r][decade] for r in mine if r[1] in ranked_kanji) / total
        print("%s %ds: %d people; on not yet permitted kanji %.2f%%; on the published ranked writings %.1f%%"
              % (sex, decade, total, 100 * banned, 100 * top), file=out)
        if written:
            print("  ranked writings not in readings.tsv: %d of %d, %.2f%% of the decade's births"
                  % (lost[0], len(written), 100 * lost[1]), file=out)
        for name, value in indicators(weights, rows, sex, decade, dates).items():
            t = targets.get((sex, decade, name))
            if t:
                print("  %-12s %6.2f%%  target %6.2f%%  %s" % (name, 100 * value, 100 * t["share"], t["source"]), file=out)
            else:
                print("  %-12s %6.2f%%  (no target)" % (name, 100 * value), file=out)
        era = sum(weights[r][decade] for r in mine if peaks[r] == decade) / total
        print("  %-12s %6.2f%%  (no published figure: share on spellings whose share peaks in this decade)"
              % ("era-peak", 100 * era), file=out)
        near, far = era_shares(weights, mine, decade, era_peaks)
        print("  %-12s %6.2f%%  (no published figure: share on spellings whose era profile peaks within a decade"
              " of this one; %.2f%% three or more decades away)" % ("era-typical", 100 * near, 100 * far), file=out)


def build(readings_path=os.path.join(DATA, "readings.tsv"), tables=TABLES, report=False,
          kanji_path=os.path.join(DATA, "kanji-dates.tsv")):
    rows = spellings(readings_path)
    people = surname_people(rows, tables)
    dates = kanji_dates(kanji_path)
    weights, targets, fits, era_peaks = given_weights(rows, tables, dates, report)
    out = ["\t".join(HEADER)]
    for r in rows:
        if r[0] == "last":
            out.append("\t".join([r[0], r[1], r[2], str(people[r])] + [""] * len(DECADES)))
        elif r[0] in ("male", "female"):
            cells = [weights[r][d] for d in DECADES]
            out.append("\t".join([r[0], r[1], r[2], str(sum(cells))] + [str(c) for c in cells]))
        else:
            raise BuildError("readings.tsv: unknown list '%s'" % r[0])
    if report:
        print_report(weights, rows, targets, fits, dates, era_peaks)
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
