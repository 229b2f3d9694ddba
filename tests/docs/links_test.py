#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks the relative links of the documentation.

Usage: links_test.py ROOT
       links_test.py --self-test

Every relative Markdown link in ROOT's README.md, CONTRIBUTING.md,
docs/*.md and bench/README.md must name a file or folder that exists, and a
link with a #fragment into a Markdown file (or into the same file) must name
one of its headings, as the repository's web view makes their anchors.
Links in code (indented or fenced blocks, `code spans`) and links with a
scheme (https:, mailto:) are not checked. Each broken link is printed as
FILE:LINE: TARGET: WHY, and the exit status is 1 when there is any.

--self-test runs the checker on a tree of its own with known good and
broken links and fails unless it finds exactly the broken ones.
"""

import glob
import os
import re
import sys
import tempfile

INLINE_LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE_DEFINITION = re.compile(r"^ {0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s+.*)?$")
CODE_SPAN = re.compile(r"(`+).+?\1")
HEADING = re.compile(r"^ {0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
FENCE = re.compile(r"^ {0,3}(```|~~~)")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def prose_lines(text):
    """Yields (line number, line, raw line) for the lines that are not code,
    with the code spans of each replaced by a word in the second."""
    fence = None
    previous_blank = True
    in_indented_code = False
    for number, line in enumerate(text.splitlines(), 1):
        match = FENCE.match(line)
        if fence:
            if match and match.group(1) == fence:
                fence = None
            previous_blank = False
            continue
        if match:
            fence = match.group(1)
            continue
        blank = not line.strip()
        indented = line.startswith("    ") or line.startswith("\t")
        if indented and (previous_blank or in_indented_code) and not blank:
            in_indented_code = True
            previous_blank = False
            continue
        if not blank:
            in_indented_code = False
        previous_blank = blank
        yield number, CODE_SPAN.sub("code", line), line


def anchors(path):
    """The anchors of a Markdown file's headings: lower case, punctuation
    dropped, spaces made hyphens, a repeated one numbered -1, -2, ..."""
    with open(path, encoding="utf-8") as file:
        text = file.read()
    seen = {}
    result = set()
    for _, _, line in prose_lines(text):
        match = HEADING.match(line)
        if not match:
            continue
        title = match.group(2)
        # Links in a heading count by their text; emphasis marks drop out.
        title = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", title)
        slug = "".join(c for c in title.lower() if c.isalnum() or c in " -_")
        slug = slug.replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        result.add(slug if count == 0 else f"{slug}-{count}")
    return result


def documents(root):
    names = ["README.md", "CONTRIBUTING.md", "bench/README.md"]
    names += sorted(os.path.relpath(p, root) for p in glob.glob(os.path.join(root, "docs", "*.md")))
    return names


def check(root):
    """Returns the broken links as (file, line, target, why), and the
    number of links checked."""
    problems = []
    checked = 0
    for name in documents(root):
        path = os.path.join(root, name)
        if not os.path.isfile(path):
            problems.append((name, 0, name, "no such document"))
            continue
        with open(path, encoding="utf-8") as file:
            text = file.read()
        for number, line, _ in prose_lines(text):
            targets = INLINE_LINK.findall(line)
            definition = REFERENCE_DEFINITION.match(line)
            if definition:
                targets.append(definition.group(1))
            for target in targets:
                if not target or SCHEME.match(target) or target.startswith("//"):
                    continue
                checked += 1
                file_part, _, fragment = target.partition("#")
                if file_part.startswith("/"):
                    problems.append((name, number, target, "absolute path"))
                    continue
                linked = path
                if file_part:
                    linked = os.path.normpath(os.path.join(os.path.dirname(path), file_part))
                if file_part and not os.path.exists(linked):
                    problems.append((name, number, target, "no such file"))
                    continue
                if fragment and linked.endswith(".md") and os.path.isfile(linked):
                    if fragment not in anchors(linked):
                        problems.append((name, number, target, "no such heading"))
    return problems, checked


def self_test():
    good_and_bad = {
        "README.md": (
            "# Title\n\n## Two words\n\n## Two words\n\n"
            "[guide](docs/guide.md) [anchor](docs/guide.md#the-cli-kelvane-cli)\n"
            "[here](#two-words) [again](#two-words-1) ![picture](docs/pic.png)\n"
            "[web](https://example.org/x.md) [folder](docs/)\n"
            "`[in code](missing-in-span.md)`\n\n"
            "    [indented code](missing-in-code.md)\n\n"
            "```\n[fenced](missing-in-fence.md)\n```\n"
            "[gone](docs/gone.md)\n"
            "[no heading](docs/guide.md#nowhere) [no own heading](#three-words)\n"
            "[ref]: bench/missing.txt\n"
        ),
        "CONTRIBUTING.md": "# Contributing\n\n[back](README.md#title)\n",
        "bench/README.md": "# Benchmarks\n\n[up](../README.md) [up wrong](../READ.md) [self](#benchmarks) [self wrong](#nowhere)\n",
        "docs/guide.md": "# Guide\n\n## The CLI: `kelvane-cli`\n\n[up](../README.md#two-words)\n",
        "docs/pic.png": "",
    }
    expected = {
        ("README.md", 17, "docs/gone.md", "no such file"),
        ("README.md", 18, "docs/guide.md#nowhere", "no such heading"),
        ("README.md", 18, "#three-words", "no such heading"),
        ("README.md", 19, "bench/missing.txt", "no such file"),
        ("bench/README.md", 3, "../READ.md", "no such file"),
        ("bench/README.md", 3, "#nowhere", "no such heading"),
    }
    with tempfile.TemporaryDirectory() as root:
        for name, text in good_and_bad.items():
            os.makedirs(os.path.join(root, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(root, name), "w", encoding="utf-8") as file:
                file.write(text)
        problems, checked = check(root)
    found = set(problems)
    for problem in sorted(found - expected):
        print("reported but not broken: %s:%d: %s: %s" % problem)
    for problem in sorted(expected - found):
        print("broken but not reported: %s:%d: %s: %s" % problem)
    if checked != 16:
        print(f"checked {checked} links, not the 16 outside code")
    return 0 if found == expected and checked == 16 else 1


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    problems, checked = check(argv[1])
    for problem in problems:
        print("%s:%d: %s: %s" % problem)
    if not problems:
        print(f"{checked} links checked")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
