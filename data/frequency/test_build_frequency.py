"""Checks of data/build_frequency.py and the data/frequency.tsv it ships (python3 -m unittest)."""
import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)
sys.path.insert(0, DATA)
import build_frequency as bf  # noqa: E402

TOP10 = ["佐藤", "鈴木", "高橋", "田中", "渡辺", "伊藤", "中村", "小林", "山本", "加藤"]


def table(text):
    lines = text.rstrip("\n").split("\n")
    return lines[0].split("\t"), [l.split("\t") for l in lines[1:]]


class Builder(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text = bf.build()
        cls.head, cls.rows = table(cls.text)

    def test_reproduces_shipped_file(self):
        with open(os.path.join(DATA, "frequency.tsv"), encoding="utf-8", newline="") as f:
            self.assertEqual(f.read(), self.text, "rerun python3 data/build_frequency.py")

    def test_one_row_per_spelling_in_readings_order(self):
        keys = [tuple(r[:3]) for r in self.rows]
        self.assertEqual(keys, bf.spellings(os.path.join(DATA, "readings.tsv")))
        self.assertEqual(len(keys), len(set(keys)))
        self.assertEqual(self.head, bf.HEADER)

    def test_cells_are_positive_integers_and_people_is_the_sum(self):
        for r in self.rows:
            self.assertGreaterEqual(int(r[3]), 1, r)
            if r[0] == "last":
                self.assertEqual(r[4:], [""] * len(bf.DECADES), r)
            else:
                self.assertEqual(int(r[3]), sum(int(c) for c in r[4:]), r)

    def test_bad_figure_is_refused_naming_file_and_line(self):
        with tempfile.TemporaryDirectory() as tmp:
            tables = os.path.join(tmp, "frequency")
            shutil.copytree(os.path.join(DATA, "frequency"), tables)
            path = os.path.join(tables, "births.tsv")
            with open(path, encoding="utf-8") as f:
                lines = f.read().split("\n")
            cells = lines[2].split("\t")
            cells[1] = "12O00"
            lines[2] = "\t".join(cells)
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            with self.assertRaises(bf.BuildError) as caught:
                bf.build(tables=tables)
            message = str(caught.exception)
            self.assertIn("births.tsv:3", message)
            self.assertIn("'male' is not a number: '12O00'", message)

    def ko_share(self, decade):
        col = 4 + bf.DECADES.index(decade)
        female = [r for r in self.rows if r[0] == "female"]
        total = sum(int(r[col]) for r in female)
        return sum(int(r[col]) for r in female if r[1].endswith("子")) / total

    def test_ko_names_rule_the_1930s_and_are_rare_in_the_2010s(self):
        for decade, low, high in ((1930, 0.6, 0.9), (1950, 0.6, 0.9), (2010, 0.0, 0.05)):
            with self.subTest(decade=decade):
                self.assertTrue(low <= self.ko_share(decade) <= high, self.ko_share(decade))

    def test_decades_add_up_to_births(self):
        for sex in ("male", "female"):
            for i, decade in enumerate(bf.DECADES):
                total = sum(int(r[4 + i]) for r in self.rows if r[0] == sex)
                with self.subTest(sex=sex, decade=decade):
                    self.assertGreater(total, 2_500_000)
                    self.assertLess(total, 13_000_000)

    def test_top_ten_surnames_and_their_shares(self):
        last = {}
        for r in self.rows:
            if r[0] == "last":
                last[r[1]] = last.get(r[1], 0) + int(r[3])
        ranked = sorted(last, key=lambda k: -last[k])
        self.assertEqual(ranked[:10], TOP10)
        total = sum(last.values())
        self.assertEqual(last["佐藤"], 1_940_000)
        self.assertAlmostEqual(last["佐藤"] / total, 0.0266, delta=0.003)
        self.assertAlmostEqual(sum(last[k] for k in TOP10) / total, 0.17, delta=0.02)

    def test_every_figure_names_a_listed_source(self):
        # A figure whose source id is not in sources.tsv has no provenance in NOTICE.md.
        def rows(name):
            with open(os.path.join(HERE, name), encoding="utf-8") as f:
                return table(f.read())
        head, listed = rows("sources.tsv")
        ids = {r[head.index("id")] for r in listed}
        for name in sorted(os.listdir(HERE)):
            if not name.endswith(".tsv") or name == "sources.tsv":
                continue
            head, body = rows(name)
            column = head.index("source")
            for n, r in enumerate(body, start=2):
                for source in r[column].split(","):
                    self.assertIn(source.strip(), ids, f"{name}:{n}")

    def test_check_mode_passes_on_the_shipped_file(self):
        self.assertEqual(bf.main(["--check"]), 0)


if __name__ == "__main__":
    unittest.main()
