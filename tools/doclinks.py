#!/usr/bin/env python3
"""Every relative link and picture of README.md and docs/*.md must lead to a
file that exists, and every #anchor to a heading of the file it names, so a
section moved or renamed cannot leave a dead link behind.

Usage: doclinks.py SOURCE_DIR. Prints each dead link; exit status 1 if any.
"""
import re
import sys
from pathlib import Path

LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)")
FENCE = re.compile(r"^(```|~~~)")


def prose(path):
    """The lines outside fenced code blocks."""
    inside = False
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if FENCE.match(line):
            inside = not inside
        elif not inside:
            yield number, line


def anchors(path):
    """The anchors a Markdown renderer gives the headings, as GitHub and
    GitLab make them: lower case, punctuation dropped, blanks to hyphens, a
    repeated heading numbered."""
    seen = {}
    for _, line in prose(path):
        heading = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line)
        if heading:
            text = heading.group(1).lower()
            slug = re.sub(r"[^\w\- ]", "", text).replace(" ", "-")
            count = seen.get(slug, 0)
            seen[slug] = count + 1
            yield slug if count == 0 else f"{slug}-{count}"


def main(root):
    root = Path(root)
    pages = [root / "README.md", *sorted((root / "docs").glob("*.md"))]
    dead = 0
    for page in pages:
        for number, line in prose(page):
            # A link written inside inline code is an example, not a link.
            for target in LINK.findall(re.sub(r"`[^`]*`", "", line)):
                if re.match(r"^[a-z]+:", target):
                    continue  # http:, https:, mailto: are not checked here
                name, _, anchor = target.partition("#")
                file = (page.parent / name).resolve() if name else page
                problem = None
                if not file.is_file():
                    problem = "no such file"
                elif anchor and anchor not in set(anchors(file)):
                    problem = "no such heading"
                if problem:
                    dead += 1
                    print(f"{page.relative_to(root)}:{number}: {target}: {problem}")
    print(f"{len(pages)} pages, {dead} dead links")
    return 1 if dead else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
