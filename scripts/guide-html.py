#!/usr/bin/env python3
"""Renders the user guide (Markdown) as one HTML page for the desktop's browser.

Usage: guide-html.py <guia-de-uso.md> <guia-de-uso.html>
The pictures stay beside it in img/, as in docs/. Headings get the same anchors as
the guide's own table of contents uses.
"""
import sys

import markdown
from markdown.extensions.toc import slugify_unicode

STYLE = """
body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.4; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #999; padding: 0.2em 0.4em; vertical-align: top; text-align: left; }
th { background: #e8ecf2; }
code, pre { background: #f2f2f2; }
pre { padding: 0.5em; overflow-x: auto; }
img { max-width: 100%; }
"""


def main() -> int:
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    body = markdown.markdown(
        text,
        extensions=["tables", "fenced_code", "toc"],
        extension_configs={"toc": {"slugify": slugify_unicode}},
    )
    title = text.splitlines()[0].lstrip("# ").strip()
    with open(target, "w", encoding="utf-8") as f:
        f.write(f'<!DOCTYPE html>\n<html lang="es">\n<head>\n<meta charset="utf-8">\n'
                f"<title>{title}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n{body}\n</body>\n</html>\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
