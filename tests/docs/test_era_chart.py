"""scripts/era-chart.py reads the shipped data and the published targets as they are written.

Only its reading and counting: the drawing needs matplotlib, which the tests do not install.
"""

import importlib.util
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
spec = importlib.util.spec_from_file_location("era_chart", ROOT / "scripts/era-chart.py")
era_chart = importlib.util.module_from_spec(spec)
spec.loader.exec_module(era_chart)

HEADER = "list\tkanji\thiragana\tpeople\t1930s\t1931\t1945\n"
ROWS = [
    "female\t花子\tはなこ\t10\t60\t5\t0\n",
    "female\tハル\tはる\t10\t20\t0\t0\n",
    "female\t凛\tりん\t10\t20\t5\t10\n",
    "male\t一郎\tいちろう\t10\t30\t0\t0\n",
    "male\t幸男\tゆきお\t10\t10\t0\t0\n",
    "last\t佐藤\tさとう\t99\t0\t0\t0\n",
]


class EraChartTest(unittest.TestCase):
    def test_indicator_names(self):
        for text, sex, expected in [
            ("ending-子", "female", "ko"), ("ends in 美", "female", "mi"), ("郎", "male", "ro"),
            ("ending 雄/夫/男", "male", "o"), ("one-kanji", "female", "one-kanji"), ("one_kanji", "male", "one-kanji"),
            ("kana", "male", "kana"), ("子", "male", None), ("郎雄夫男", "male", None), ("top100", "female", None),
        ]:
            with self.subTest(text=text, sex=sex):
                self.assertEqual(era_chart.indicator_key(text, sex), expected)

    def test_shares_by_decade_with_years_summed(self):
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "frequency.tsv"
            path.write_text(HEADER + "".join(ROWS), encoding="utf-8")
            shares = era_chart.shares(era_chart.read_frequencies(path))
        self.assertEqual(shares["female"]["ko"], [(1930, 65 / 110), (1940, 0.0)])
        self.assertEqual(shares["female"]["kana"][0], (1930, 20 / 110))
        self.assertEqual(shares["female"]["one-kanji"], [(1930, 25 / 110), (1940, 1.0)])
        self.assertEqual(shares["male"]["ro"], [(1930, 0.75)])
        self.assertEqual(shares["male"]["o"], [(1930, 0.25)])

    def test_kanji_dates_rule_out_decades_before_the_permit(self):
        rows = ["male\t翔\tしょう\t1\t1\t1\t1\n", "male\t颯\tはやて\t1\t1\t1\t1\n", "male\tハル\tはる\t1\t1\t1\t1\n"]
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "frequency.tsv"
            path.write_text("list\tkanji\thiragana\t1940s\t1970s\t1980s\t2020s\n" + "".join(rows), encoding="utf-8")
            dates = Path(folder) / "kanji-dates.tsv"
            dates.write_text("kanji\tpermitted\tsource\tnote\n翔\t1981-10-01\tmoj\t\n", encoding="utf-8")
            totals = era_chart.read_frequencies(path, era_chart.read_kanji_dates(dates))["male"]
        # 颯 is not in the table: before 1948 only. ハル is kana: always.
        self.assertEqual({d: (b["all"], b.get("one-kanji", 0)) for d, b in totals.items()},
                         {1940: (3, 2), 1970: (1, 0), 1980: (2, 1), 2020: (2, 1)})

    def test_targets_in_percent_or_fractions(self):
        for shares, expected in [(("78%", "1.5"), (0.78, 0.015)), (("0.78", "0.015"), (0.78, 0.015)),
                                 (("78", "1.5"), (0.78, 0.015))]:
            with self.subTest(shares=shares), tempfile.TemporaryDirectory() as folder:
                path = Path(folder) / "targets.tsv"
                path.write_text("# comment\nsex\tdecade\tindicator\tshare\tsource\tnote\n"
                                f"female\t1930s\tending-子\t{shares[0]}\ts1\t\n"
                                f"male\t2010\tkana\t{shares[1]}\ts2\tn\n"
                                "female\t1930s\ttop-100\t40\ts1\t\n", encoding="utf-8")
                targets, skipped = era_chart.read_targets(path)
                self.assertEqual([(t[0], t[1], t[2], t[4]) for t in targets],
                                 [("female", "ko", 1930, "s1"), ("male", "kana", 2010, "s2")])
                self.assertEqual([round(t[3], 6) for t in targets], list(expected))
                self.assertEqual(skipped, ["female top-100"])

    def test_the_shipped_data_reads(self):
        shares = era_chart.shares(era_chart.read_frequencies(ROOT / "data/frequency.tsv"))
        for sex in era_chart.SEXES:
            for key, points in shares[sex].items():
                self.assertTrue(points, (sex, key))
                self.assertTrue(all(0 <= share <= 1 for _, share in points), (sex, key))
        targets = ROOT / "data/frequency/targets.tsv"
        if targets.is_file():
            self.assertTrue(era_chart.read_targets(targets)[0])


if __name__ == "__main__":
    unittest.main()
