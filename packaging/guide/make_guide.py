"""Makes the user's guide that the packages ship: one HTML page from README.md, with the
screenshots it shows, without the developers' sections and without the guide test's markers.
The Markdown is converted by cmark-gfm (GitHub's dialect: tables, autolinks); this script only
cuts the text before and names the headings after, as GitHub does, so that the contents links
work.
Usage: python3 make_guide.py --readme README.md --cmark cmark-gfm --out DIR
Writes DIR/guide.html and DIR/screenshots/*.png (only the pictures the page shows)."""

import argparse
import html
import os
import re
import shutil
import subprocess
import sys

DEVELOPERS_HEADING = "## For developers"
MARKER = re.compile(r"^<!-- guide-test: .* -->$")
PICTURES_IN_README = "docs/screenshots/"
PICTURES_IN_GUIDE = "screenshots/"
IMAGE_LINK = re.compile(r"!\[[^\]]*\]\(" + re.escape(PICTURES_IN_README) + r"([^)\s]+)\)")

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ font-family: "Segoe UI", "DejaVu Sans", Arial, sans-serif; line-height: 1.5;
       max-width: 60em; margin: 0 auto; padding: 1em 2em; color: #1f2328; }}
h1, h2 {{ border-bottom: 1px solid #d0d7de; padding-bottom: 0.3em; }}
code, pre {{ font-family: Consolas, "DejaVu Sans Mono", monospace; font-size: 0.9em;
            background: #f6f8fa; border-radius: 4px; }}
code {{ padding: 0.1em 0.3em; }}
pre {{ padding: 0.8em 1em; overflow-x: auto; }}
pre code {{ padding: 0; background: none; }}
table {{ border-collapse: collapse; margin: 1em 0; }}
th, td {{ border: 1px solid #d0d7de; padding: 0.3em 0.7em; vertical-align: top; }}
th {{ background: #f6f8fa; }}
img {{ max-width: 100%; }}
</style>
</head>
<body>
{body}</body>
</html>
"""


def users_part(readme):
    """The guide for users: up to the developers' sections, without the test markers."""
    lines = readme.split("\n")
    if DEVELOPERS_HEADING in lines:
        lines = lines[: lines.index(DEVELOPERS_HEADING)]
    kept = [line for line in lines if not MARKER.match(line)]
    return "\n".join(kept).rstrip("\n") + "\n"


def slug(heading_html):
    """GitHub's anchor for a heading: its text in lower case, punctuation dropped, blanks as -."""
    text = html.unescape(re.sub(r"<[^>]+>", "", heading_html)).lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def name_headings(body):
    taken = {}

    def named(found):
        level, inner = found.group(1), found.group(2)
        anchor = slug(inner)
        count = taken.get(anchor, 0)
        taken[anchor] = count + 1
        if count:
            anchor = f"{anchor}-{count}"
        return f'<h{level} id="{anchor}">{inner}</h{level}>'

    return re.sub(r"<h([1-6])>(.*?)</h\1>", named, body)


def drop_dead_links(body):
    """Links to sections that the guide leaves out: dropped from a list of links joined by
    " · ", reduced to their text elsewhere."""
    anchors = set(re.findall(r' id="([^"]+)"', body))

    def dead(name):
        return name not in anchors

    def in_list(found):
        return "" if dead(found.group(1)) else found.group(0)

    body = re.sub(r'\s*·\s*<a href="#([^"]+)">[^<]*</a>', in_list, body)
    return re.sub(r'<a href="#([^"]+)">(.*?)</a>',
                  lambda found: found.group(2) if dead(found.group(1)) else found.group(0), body)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--readme", required=True)
    parser.add_argument("--cmark", default="cmark-gfm")
    parser.add_argument("--out", required=True)
    options = parser.parse_args()

    with open(options.readme, encoding="utf-8") as readme_file:
        text = users_part(readme_file.read())
    pictures = sorted(set(IMAGE_LINK.findall(text)))
    text = text.replace("](" + PICTURES_IN_README, "](" + PICTURES_IN_GUIDE)
    converted = subprocess.run(
        [options.cmark, "--extension", "table", "--extension", "autolink", "--to", "html"],
        input=text, capture_output=True, text=True, check=True)
    body = drop_dead_links(name_headings(converted.stdout))
    title = re.search(r"<h1[^>]*>(.*?)</h1>", body)
    title = html.unescape(re.sub(r"<[^>]+>", "", title.group(1))) if title else "Guide"

    pictures_out = os.path.join(options.out, PICTURES_IN_GUIDE)
    shutil.rmtree(pictures_out, ignore_errors=True)
    os.makedirs(pictures_out)
    readme_dir = os.path.dirname(os.path.abspath(options.readme))
    for picture in pictures:
        shutil.copyfile(os.path.join(readme_dir, PICTURES_IN_README, picture),
                        os.path.join(pictures_out, picture))
    with open(os.path.join(options.out, "guide.html"), "w", encoding="utf-8",
              newline="\n") as page:
        page.write(PAGE.format(title=html.escape(title + " guide"), body=body))
    return 0


if __name__ == "__main__":
    sys.exit(main())
