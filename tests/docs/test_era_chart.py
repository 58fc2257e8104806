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

    def test_targets_kana_summed_and_published_told_from_estimates(self):
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "targets.tsv"
            path.write_text("sex\tdecade\tindicator\tshare\tsource\tnote\n"
                            "female\t1930s\tends:子\t0.75\ta\tpublished: 75%\n"
                            "female\t1930s\thiragana\t0.01\tb\tpublished: 1%\n"
                            "female\t1930s\tkatakana\t0.03\tc\testimate\n"
                            "male\t1920s\tlate-kanji\t0.01\tc\testimate\n", encoding="utf-8")
            targets, skipped = era_chart.read_targets(path)
        self.assertEqual(targets, [("female", "kana", 1930, 0.04, False), ("female", "ko", 1930, 0.75, True)])
        self.assertEqual(skipped, ["male late-kanji"])

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
