#!/usr/bin/env python3
"""toviska-cli's csv read back by Python's own csv module, strictly: names that need quoting
(commas, quotes, CR LF, a tab) and one of 70,000 characters, in a names.mdb written directly
with SQLite, come back field for field as the jsonl of the same seed shows them.

    csv_roundtrip.py TOVISKA_CLI NAMES_MDB
"""
import csv
import io
import json
import shutil
import sqlite3
import subprocess
import sys
import tempfile

FIELDS = ["family", "given", "family_kanji", "given_kanji", "family_hiragana", "given_hiragana",
          "family_katakana", "given_katakana", "gender"]


def main():
    cli, shipped = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        db = folder + "/names.mdb"
        shutil.copy(shipped, db)
        with sqlite3.connect(db) as connection:
            for name in ['O,"Neil"', "Line\r\nBreak", "Tab\tHere", "Ab" + "c" * 69998, "山田"]:
                connection.execute("insert into user_firstname (firstname) values (?)", (name,))
            connection.execute("insert into user_lastname (lastname) values ('Mori')")

        def run(fmt):
            return subprocess.run([cli, "generate", "--db", db, "--list", "user", "-n", "300", "--seed", "9",
                                   "--format", fmt], capture_output=True, check=True).stdout.decode("utf-8")

        text = run("csv")
        if "\r\n" not in text or not text.endswith("\r\n"):
            sys.exit("csv_roundtrip: records must end at CR LF")
        rows = list(csv.reader(io.StringIO(text, newline=""), strict=True))
        records = [json.loads(line) for line in run("jsonl").splitlines()]
        if rows[0] != FIELDS:
            sys.exit(f"csv_roundtrip: header {rows[0]}")
        if len(rows) - 1 != len(records) or len(records) != 300:
            sys.exit(f"csv_roundtrip: {len(rows) - 1} csv rows, {len(records)} jsonl records")
        seen = set()
        for row, record in zip(rows[1:], records):
            expected = ["" if record[field] is None else record[field] for field in FIELDS]
            if row != expected:
                sys.exit(f"csv_roundtrip: {row[:2]} is {expected[:2]} in jsonl")
            seen.add(row[1])
        if not any(len(name) == 70000 for name in seen) or 'O,"neil"' not in seen:
            sys.exit(f"csv_roundtrip: drew only {sorted(name[:20] for name in seen)}")
    print("csv_roundtrip: PASS")


main()
