#!/usr/bin/env python3
"""Every relative link and image of the project's Markdown resolves.

    check_links.py ROOT

Reads ROOT/README.md, ROOT/CONTRIBUTING.md and every ROOT/docs/**/*.md. A relative target
(Markdown link or image, reference definition, or an HTML src/href) must name a file or folder
inside ROOT; an image must be a file; a #fragment into a Markdown file must name one of its
headings, as GitHub makes their anchors. Addresses with a scheme (https:, mailto:) are not
fetched. Prints one line a fault and exits 1 when there is any.
"""

import re
import sys
import urllib.parse
from pathlib import Path

SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:|^//")
FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})")
HEADING = re.compile(r"^ {0,3}#{1,6}\s+(.*?)\s*#*\s*$")
CODE_SPAN = re.compile(r"(`+)(.+?)\1", re.S)
# [text](target "title") and ![alt](target); the text may hold one level of brackets.
INLINE = re.compile(r'(!?)\[((?:[^\[\]]|\[[^\[\]]*\])*)\]\(\s*(<[^>]*>|[^)\s]*)(?:\s+"[^"]*")?\s*\)')
REFERENCE = re.compile(r"^ {0,3}\[[^\]]+\]:\s*(<[^>]*>|\S+)", re.M)
HTML = re.compile(r'<(img|a|source)\b[^>]*?\s(src|href)\s*=\s*"([^"]*)"', re.I)
HTML_ANCHOR = re.compile(r'<a\b[^>]*?\s(?:name|id)\s*=\s*"([^"]*)"', re.I)


def paragraphs(text):
    """(first line number, text) of each run of prose, without fenced or indented code."""
    blocks, current, start = [], [], 0
    fence = None
    previous_blank = True
    in_indented = False
    for number, line in enumerate(text.split("\n"), 1):
        opened = FENCE.match(line)
        if fence:
            if opened and opened.group(1)[0] == fence[0] and len(opened.group(1)) >= len(fence):
                fence = None
            continue
        if opened:
            fence = opened.group(1)
        blank = not line.strip()
        # An indented line starts code only after a blank line (it cannot interrupt prose).
        in_indented = not blank and line.startswith(("    ", "\t")) and (previous_blank or in_indented)
        if opened or blank or in_indented:
            if current:
                blocks.append((start, "\n".join(current)))
            current = []
        else:
            if not current:
                start = number
            current.append(line)
        previous_blank = blank
    if current:
        blocks.append((start, "\n".join(current)))
    return blocks


def slug(heading):
    """GitHub's anchor of a heading: lower case, punctuation dropped, spaces as hyphens."""
    text = CODE_SPAN.sub(lambda m: m.group(2), heading)
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"<[^>]+>", "", text).strip().lower()
    return re.sub(r"[^\w\- ]", "", text).replace(" ", "-")


def anchors(path):
    seen, result = {}, set()
    text = path.read_text(encoding="utf-8")
    for _, block in paragraphs(text):
        for line in block.split("\n"):
            match = HEADING.match(line)
            if match:
                base = slug(match.group(1))
                count = seen.get(base, 0)
                seen[base] = count + 1
                result.add(base if count == 0 else f"{base}-{count}")
        result.update(HTML_ANCHOR.findall(block))
    return result


def targets(text):
    """(line number, target, is image) of every link of a Markdown text."""
    for start, block in paragraphs(text):
        # Spans become blanks of the same length, so offsets still give line numbers.
        prose = CODE_SPAN.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), block)
        found = [(m.start(), m.group(3), m.group(1) == "!") for m in INLINE.finditer(prose)]
        found += [(m.start(), m.group(1), False) for m in REFERENCE.finditer(prose)]
        found += [(m.start(), m.group(3), m.group(1).lower() in ("img", "source")) for m in HTML.finditer(prose)]
        for offset, target, image in sorted(found):
            yield start + prose.count("\n", 0, offset), target.strip("<>"), image


def check_file(root, path):
    faults = []
    text = path.read_text(encoding="utf-8")
    name = path.relative_to(root).as_posix()
    for line, target, image in targets(text):
        if not target or SCHEME.match(target):
            continue
        where, _, fragment = target.partition("#")
        where = urllib.parse.unquote(where)
        if where:
            resolved = (root / where.lstrip("/")) if where.startswith("/") else (path.parent / where)
            resolved = resolved.resolve()
        else:
            resolved = path.resolve()
        if root.resolve() not in (resolved, *resolved.parents):
            faults.append(f"{name}:{line}: {target}: outside the repository")
        elif not resolved.exists():
            faults.append(f"{name}:{line}: {target}: no such file")
        elif image and not resolved.is_file():
            faults.append(f"{name}:{line}: {target}: an image that is not a file")
        elif fragment and resolved.suffix == ".md" and fragment not in anchors(resolved):
            faults.append(f"{name}:{line}: {target}: no heading #{fragment} in {resolved.name}")
    return faults


def documents(root):
    named = [root / "README.md", root / "CONTRIBUTING.md"]
    return [p for p in named if p.is_file()] + sorted((root / "docs").rglob("*.md"))


def main(argv):
    if len(argv) != 2:
        print("usage: check_links.py ROOT", file=sys.stderr)
        return 2
    root = Path(argv[1])
    files = documents(root)
    if not files:
        print(f"check_links.py: no Markdown files under {root}", file=sys.stderr)
        return 1
    faults = [fault for path in files for fault in check_file(root, path)]
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
