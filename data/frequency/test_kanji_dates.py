"""Checks of data/kanji-dates.tsv, the date each kanji became usable in a child's name (python3 -m unittest)."""
import collections
import os
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)
HEADER = ["kanji", "permitted", "source", "note"]

# Characters each change of the law made usable for the first time. The published counts, except
# 1981 (87 new 常用漢字 with 灯 竜, 54 人名用漢字 with the shape 亘, 202 of the 205 old forms: 燈 龍 亙
# were usable before) and 2010 (67 of the 196 added 常用漢字: 129 were 人名用漢字 already).
ADDED = {
    "1948-01-01": 1850, "1951-05-25": 92, "1976-07-30": 28, "1981-10-01": 89 + 55 + 202,
    "1990-04-01": 118, "1997-12-03": 1, "2004-02-23": 1, "2004-06-07": 1, "2004-07-12": 3,
    "2004-09-27": 488, "2009-04-30": 2, "2010-11-30": 67, "2015-01-07": 1, "2017-09-25": 1,
}


def read(path):
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    lines = text.split("\n")
    return text, lines[0].split("\t"), [l.split("\t") for l in lines[1:-1]], lines[-1]


class KanjiDates(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text, cls.head, cls.rows, cls.tail = read(os.path.join(DATA, "kanji-dates.tsv"))
        cls.date = {r[0]: r[1] for r in cls.rows}

    def test_layout_readers_rely_on(self):
        self.assertEqual(self.head, HEADER)
        self.assertEqual(self.tail, "", "the file ends with a line feed")
        self.assertNotIn("\r", self.text)
        self.assertFalse(self.text.startswith("\ufeff"))
        for r in self.rows:
            self.assertEqual(len(r), 4, r)
            self.assertEqual(len(r[0]), 1, r)

    def test_each_kanji_once(self):
        twice = [k for k, n in collections.Counter(r[0] for r in self.rows).items() if n > 1]
        self.assertEqual(twice, [])

    def test_count_of_each_addition(self):
        self.assertEqual(dict(collections.Counter(self.date.values())), ADDED)
        self.assertEqual(len(self.rows), 2136 + 863, "today's 常用漢字 and 人名用漢字: none was ever withdrawn")

    def test_spot_checks(self):
        for kanji, day in [("翔", "1981-10-01"), ("蓮", "1990-04-01"), ("颯", "1990-04-01"), ("凪", "1990-04-01"),
                           ("凜", "1990-04-01"), ("湊", "2004-09-27"), ("凛", "2004-09-27"), ("雫", "2004-09-27"),
                           ("琉", "1997-12-03"), ("龍", "1951-05-25"), ("竜", "1981-10-01"), ("勺", "1948-01-01"),
                           ("渚", "1976-07-30"), ("禱", "2004-09-27"), ("祷", "2009-04-30"), ("\U00020B9F", "2010-11-30")]:
            with self.subTest(kanji=kanji):
                self.assertEqual(self.date.get(kanji), day)

    def test_old_forms_of_unclear_status_are_marked(self):
        # The 205 old forms of 1981 (less 燈 龍 亙, listed earlier) with 亘; five 2004 old forms of 当用漢字.
        marked = collections.Counter((r[1], r[3].endswith(" unclear")) for r in self.rows if r[3])
        self.assertEqual(marked, {("1981-10-01", True): 203, ("2004-09-27", True): 5})

    def test_every_source_is_listed(self):
        _, head, sources, _ = read(os.path.join(HERE, "sources.tsv"))
        ids = {s[head.index("id")] for s in sources}
        self.assertEqual({r[2] for r in self.rows} - ids, set())


if __name__ == "__main__":
    unittest.main()
