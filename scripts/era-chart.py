#!/usr/bin/python3
"""Draws the chart of names by era: docs/images/names-by-era.svg.

    scripts/era-chart.py [--data DIR] [--output FILE]

For each decade of birth, the share of the given names of the shipped data (data/frequency.tsv,
the people given each spelling in each decade, as "Real frequency" draws them) that end in 子
or 美 (girls), in 郎 or in 雄, 夫 or 男 (boys), that are one kanji, or that are written in kana
(a decade without the spellings whose kanji data/kanji-dates.tsv permits only after it); next
to the published figures the data is fitted to (data/frequency/targets.tsv: sex, decade,
indicator, share, source, note), drawn as marks. Without that table the chart shows the data
alone. Also prints the shares as a table.

Run by hand when the data changes, never by the tests. It needs python3-matplotlib and
installs it with apt-get (through sudo when not root) when it is missing.
"""

import argparse
import csv
import datetime
import importlib
import os
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

SEXES = {"female": "Girls", "male": "Boys"}
# (key, sex, label, test of a spelling's written form)
INDICATORS = [
    # An ending is the last kanji of a name of two characters or more, as the fit counts it.
    ("ko", "female", "ending in 子", lambda w: len(w) > 1 and w.endswith("子")),
    ("mi", "female", "ending in 美", lambda w: len(w) > 1 and w.endswith("美")),
    ("ro", "male", "ending in 郎", lambda w: len(w) > 1 and w.endswith("郎")),
    ("o", "male", "ending in 雄, 夫 or 男", lambda w: len(w) > 1 and w[-1:] in ("雄", "夫", "男")),
    ("one-kanji", None, "one kanji", lambda w: len(w) == 1 and is_kanji(w)),
    ("kana", None, "in kana", lambda w: w != "" and all(is_kana(c) for c in w)),
]


def is_kanji(char):
    code = ord(char)
    return 0x4E00 <= code <= 0x9FFF or 0x3400 <= code <= 0x4DBF or 0xF900 <= code <= 0xFAFF or code >= 0x20000


def is_kana(char):
    # Hiragana, katakana, the long-vowel mark and the iteration marks.
    return 0x3041 <= ord(char) <= 0x30FF


def indicators_of(sex):
    return [(key, label, test) for key, s, label, test in INDICATORS if s in (None, sex)]


def decade_columns(header):
    """Column index -> decade start year: "1930s" columns, or year columns summed by decade."""
    columns = {}
    for index, name in enumerate(header):
        match = re.fullmatch(r"(\d{4})s?", name.strip())
        if match:
            columns[index] = int(match.group(1)) // 10 * 10
    return columns


# From 1948 a name could hold only the kanji permitted by then; births before take any.
RESTRICTED_FROM = datetime.date(1948, 1, 1)


def read_kanji_dates(path):
    """{kanji: the day it was permitted in names} of kanji-dates.tsv (kanji, permitted, ...)."""
    days = {}
    with open(path, encoding="utf-8-sig") as stream:
        for line in stream:
            fields = line.rstrip("\r\n").split("\t")
            if len(fields) >= 2 and re.fullmatch(r"\d{4}-\d{2}-\d{2}", fields[1]):
                days[fields[0]] = datetime.date.fromisoformat(fields[1])
    return days


def drawn_in(written, decade, kanji_dates):
    """Whether a spelling can be drawn for some birth of the decade, as the application decides:
    any day before 1948, from then only once all its kanji were permitted (never, for a kanji
    the table lacks)."""
    if kanji_dates is None or decade < RESTRICTED_FROM.year:
        return True
    permitted = RESTRICTED_FROM
    for char in written:
        if is_kanji(char):
            if char not in kanji_dates:
                return False
            permitted = max(permitted, kanji_dates[char])
    return permitted < datetime.date(decade + 10, 1, 1)


def read_frequencies(path, kanji_dates=None):
    """{sex: {decade: {indicator key or "all": people}}} of the given names of frequency.tsv, each
    decade without the spellings the kanji dates rule out (when given)."""
    with open(path, encoding="utf-8-sig", newline="") as stream:
        rows = csv.reader(stream, delimiter="\t")
        header = next(rows)
        position = {name: index for index, name in enumerate(header)}
        if "list" not in position or "kanji" not in position:
            raise ValueError(f"{path}: no list or kanji column in {header}")
        decades = decade_columns(header)
        if not decades:
            raise ValueError(f"{path}: no decade columns in {header}")
        totals = {sex: {} for sex in SEXES}
        for row in rows:
            if len(row) < len(header) or row[position["list"]] not in SEXES:
                continue
            sex = row[position["list"]]
            written = row[position["kanji"]].strip()
            keys = ["all"] + [key for key, _, test in indicators_of(sex) if test(written)]
            for index, decade in decades.items():
                people = float(row[index] or 0) if drawn_in(written, decade, kanji_dates) else 0.0
                bucket = totals[sex].setdefault(decade, {})
                for key in keys:
                    bucket[key] = bucket.get(key, 0.0) + people
    return totals


def shares(totals):
    """{sex: {key: [(decade, share)]}}: each indicator's share of the decade's given names."""
    result = {}
    for sex, by_decade in totals.items():
        result[sex] = {}
        for key, _, _ in indicators_of(sex):
            result[sex][key] = [
                (decade, bucket.get(key, 0.0) / bucket["all"])
                for decade, bucket in sorted(by_decade.items()) if bucket.get("all")
            ]
    return result


# The indicators of data/frequency/targets.tsv drawn here; its kana targets are given by script,
# hiragana and katakana, and drawn summed.
TARGET_KEYS = {"ends:子": "ko", "ends:美": "mi", "ends:郎": "ro", "ends:雄夫男": "o", "one-kanji": "one-kanji",
               "hiragana": "kana", "katakana": "kana"}


def read_targets(path):
    """[(sex, key, decade, share, published)] of targets.tsv, kana summed; and the indicators not drawn.

    A target is published when its note says so; the rest are the estimates the fit aims at."""
    with open(path, encoding="utf-8-sig", newline="") as stream:
        rows = list(csv.DictReader(stream, delimiter="\t"))
    missing = {"sex", "decade", "indicator", "share", "note"} - set(rows[0].keys() if rows else ())
    if rows and missing:
        raise ValueError(f"{path}: no column {', '.join(sorted(missing))}")
    summed, skipped = {}, set()
    for row in rows:
        key = TARGET_KEYS.get(row["indicator"])
        decade = re.fullmatch(r"(\d{3}0)s", row["decade"])
        if row["sex"] not in SEXES or not key or not decade:
            skipped.add(f"{row['sex']} {row['indicator']}")
            continue
        at = (row["sex"], key, int(decade.group(1)))
        share, published = summed.get(at, (0.0, True))
        summed[at] = (share + float(row["share"]), published and row["note"].startswith("published"))
    return [(*at, share, published) for at, (share, published) in sorted(summed.items())], sorted(skipped)


def ensure_matplotlib(argv):
    """Debian's python3-matplotlib, installed when missing; run under Debian's Python for it."""
    try:
        import matplotlib  # noqa: F401
        return
    except ImportError:
        pass
    system = "/usr/bin/python3"
    if os.path.realpath(sys.executable) != os.path.realpath(system) and os.access(system, os.X_OK):
        os.execv(system, [system, str(Path(__file__).resolve()), *argv])
    print("era-chart.py: installing python3-matplotlib", file=sys.stderr)
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(sudo + ["apt-get", "-o", "DPkg::Lock::Timeout=300", "install", "-y", "-q",
                           "--no-install-recommends", "python3-matplotlib"], check=True, env=env)
    importlib.invalidate_caches()


def import_matplotlib():
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.lines  # noqa: F401
    import matplotlib.pyplot as pyplot
    import matplotlib.ticker  # noqa: F401
    from matplotlib import font_manager

    return matplotlib, pyplot, font_manager


def draw(result, targets, data_label, target_note, output):
    matplotlib, pyplot, font_manager = import_matplotlib()
    installed = {font.name for font in font_manager.fontManager.ttflist}
    japanese = [name for name in ("IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "TakaoGothic") if name in installed]
    matplotlib.rcParams.update({
        "font.family": ["DejaVu Sans"] + japanese[:1],
        "svg.hashsalt": "toviska-era-chart",  # the same ids on every run
        "font.size": 9,
    })
    # A panel an indicator, each with its own scale: a share of 1 % changes as visibly as one of 80 %.
    kinds = {True: dict(marker="o", s=34, facecolors="none", edgecolors="#222222", linewidths=1.1),
             False: dict(marker="x", s=22, color="#999999", linewidths=0.9)}
    colours = {"female": "#c0392b", "male": "#2471a3"}
    figure, axes = pyplot.subplots(2, 4, figsize=(12, 6.2))
    for row, sex in zip(axes, SEXES):
        for axis, (key, label, _) in zip(row, indicators_of(sex)):
            points = result[sex][key]
            axis.plot([d for d, _ in points], [100 * s for _, s in points], color=colours[sex], marker=".",
                      linewidth=1.6)
            top = max([s for _, s in points] + [0.001])
            for published, style in kinds.items():
                marks = [(d, s) for s2, k, d, s, p in targets if s2 == sex and k == key and p == published]
                if marks:
                    top = max([top] + [s for _, s in marks])
                    axis.scatter([d for d, _ in marks], [100 * s for _, s in marks], zorder=3, **style)
            axis.set_title(f"{SEXES[sex]}, {label}")
            decades = [d for d, _ in points]
            axis.set_xticks(decades[::2])
            axis.set_xticklabels([f"{d}s" for d in decades[::2]], rotation=45)
            axis.set_ylim(0, 100 * top * 1.15)
            axis.yaxis.set_major_formatter(matplotlib.ticker.PercentFormatter(decimals=None))
            axis.grid(True, color="#dddddd", linewidth=0.6)
    handles = [matplotlib.lines.Line2D([], [], color="#555555", marker=".", linewidth=1.6)]
    labels = [data_label]
    if targets:
        handles.append(matplotlib.lines.Line2D([], [], linestyle="none", marker="o", markerfacecolor="none",
                                               markeredgecolor="#222222"))
        labels.append("a published figure")
        handles.append(matplotlib.lines.Line2D([], [], linestyle="none", marker="x", color="#999999"))
        labels.append("an estimate between published figures")
    figure.legend(handles, labels, loc="lower center", bbox_to_anchor=(0.5, 0.03), ncol=min(len(labels), 3), fontsize=8,
                  frameon=False)
    figure.suptitle("Given names by decade of birth: the share of each form", fontsize=11)
    figure.text(0.5, 0.01, target_note, fontsize=7.5, color="#444444", horizontalalignment="center")
    figure.tight_layout(rect=(0, 0.09, 1, 1))
    output.parent.mkdir(parents=True, exist_ok=True)
    # No date in an SVG, so that the same data gives the same file. Other suffixes (.png) for a look.
    figure.savefig(output, metadata={"Date": None} if output.suffix == ".svg" else None)


def main(argv):
    parser = argparse.ArgumentParser(description="Draws the chart of given names by decade of birth.")
    parser.add_argument("--data", type=Path, default=ROOT / "data", help="the data folder (data/)")
    parser.add_argument("--output", type=Path, default=ROOT / "docs/images/names-by-era.svg")
    args = parser.parse_args(argv)
    ensure_matplotlib(argv)

    kanji_dates_path = args.data / "kanji-dates.tsv"
    kanji_dates = read_kanji_dates(kanji_dates_path) if kanji_dates_path.is_file() else None
    if kanji_dates is None:
        print(f"era-chart.py: no {kanji_dates_path}: every spelling counts in every decade", file=sys.stderr)
    result = shares(read_frequencies(args.data / "frequency.tsv", kanji_dates))
    readings = args.data / "readings.tsv"
    if readings.is_file():
        with open(readings, encoding="utf-8-sig") as stream:
            spellings = {tuple(line.rstrip("\r\n").split("\t")[:3]) for line in list(stream)[1:]}
        with open(args.data / "frequency.tsv", encoding="utf-8-sig") as stream:
            weighted = {tuple(line.rstrip("\r\n").split("\t")[:3]) for line in list(stream)[1:]}
        unweighted = {s for s in spellings - weighted if s[0] in SEXES}
        if unweighted:
            print(f"era-chart.py: {len(unweighted)} given-name spellings of readings.tsv have no row in "
                  "frequency.tsv and are left out", file=sys.stderr)

    targets_path = args.data / "frequency" / "targets.tsv"
    targets = []
    if targets_path.is_file():
        targets, skipped = read_targets(targets_path)
        note = "Marks: the targets the data is fitted to (data/frequency/targets.tsv, each with its source)."
        if skipped:
            print(f"era-chart.py: indicators of targets.tsv not drawn: {'; '.join(skipped)}", file=sys.stderr)
    else:
        note = "No table of published figures (data/frequency/targets.tsv) yet."
        print(f"era-chart.py: no {targets_path}: drawing the data alone", file=sys.stderr)

    for sex in SEXES:
        keys = indicators_of(sex)
        print(f"{SEXES[sex]:<6}" + "".join(f"{label:>24}" for _, label, _ in keys))
        for index, (decade, _) in enumerate(result[sex][keys[0][0]]):
            print(f"{decade}s " + "".join(f"{100 * result[sex][key][index][1]:23.1f}%" for key, _, _ in keys))
    tables = "data/frequency.tsv" + (", kanji-dates.tsv" if kanji_dates is not None else "")
    draw(result, targets, f"the shipped data ({tables}), as drawn with Real frequency", note, args.output)
    print(f"era-chart.py: wrote {args.output}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
