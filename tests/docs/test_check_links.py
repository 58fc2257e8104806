"""The link checker finds each kind of broken target, and only broken ones."""

import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_links  # noqa: E402

# (what, README text, the faults expected as "LINE: TARGET")
CASES = [
    ("a good link, image and anchor", "# Top\n\n[p](docs/p.md#a-b-c) ![i](docs/i.png) [t](#top)\n", []),
    ("a missing file", "[x](docs/none.md)\n", ["1: docs/none.md"]),
    ("a missing image", "text\n\n![x](docs/i.svg)\n", ["3: docs/i.svg"]),
    ("an image that is a folder", '<img src="docs" alt="">\n', ["1: docs"]),
    ("an HTML image", '<p>\n  <img width="49%" src="docs/gone.png">\n</p>\n', ["2: docs/gone.png"]),
    ("link text over two lines", "see [the\npage](docs/gone.md)\n", ["1: docs/gone.md"]),
    ("a missing heading", "[x](docs/p.md#nowhere)\n", ["1: docs/p.md#nowhere"]),
    ("a second heading of the same text", "[x](docs/p.md#same-1) [y](docs/p.md#same-2)\n", ["1: docs/p.md#same-2"]),
    ("a reference definition", "[x][r]\n\n[r]: docs/gone.md\n", ["3: docs/gone.md"]),
    ("out of the repository", "[x](../elsewhere.md)\n", ["1: ../elsewhere.md"]),
    ("a path from the root", "[x](/docs/p.md)\n", []),
    ("a code span, fence and indented code", "`[x](a.md)`\n\n```\n[x](b.md)\n```\n\n    [x](c.md)\n", []),
    ("addresses with a scheme", "[x](https://example.org/a.md) [m](mailto:a@b.c)\n", []),
    ("an escaped space", "[x](docs/with%20space.md)\n", []),
]


class CheckLinksTest(unittest.TestCase):
    def test_cases(self):
        for what, readme, expected in CASES:
            with self.subTest(what), tempfile.TemporaryDirectory() as folder:
                root = Path(folder) / "repo"
                (root / "docs").mkdir(parents=True)
                (root / "docs/p.md").write_text("# A, b: `c`\n\n## Same\n\n## Same\n", encoding="utf-8")
                (root / "docs/with space.md").write_text("", encoding="utf-8")
                (root / "docs/i.png").write_bytes(b"")
                (root / "README.md").write_text(readme, encoding="utf-8")
                faults = check_links.check_file(root, root / "README.md")
                # A fault is "FILE:LINE: TARGET: why".
                self.assertEqual([f.rsplit(": ", 1)[0] for f in faults], ["README.md:" + e for e in expected])

    def test_docs_pages_are_checked(self):
        with tempfile.TemporaryDirectory() as folder:
            root = Path(folder)
            (root / "docs/sub").mkdir(parents=True)
            (root / "docs/sub/deep.md").write_text("![x](../../nothing.png)\n", encoding="utf-8")
            self.assertEqual(check_links.main(["check_links.py", folder]), 1)
            self.assertEqual(check_links.main(["check_links.py", str(root / "docs/sub")]), 1)


if __name__ == "__main__":
    unittest.main()
