"""Runs the examples of the user's guide (README.md) and checks that they give what it shows.

A block is taken when the line before it is a marker comment:
  <!-- guide-test: run -->      a shell block, run with bash in the work folder
  <!-- guide-test: r -->        an R block, run with Rscript
  <!-- guide-test: python -->   a Python block, run with the Python that has pandas
  <!-- guide-test: output -->   what the block before printed, exactly (trailing blanks aside)
  <!-- guide-test: file NAME -->  the first rows of the output file NAME, as a table or a
                                  code block

The work folder holds a copy of examples/, and trelvox-batch is first on the PATH. Blocks run
in the order of the guide, so the R and pandas examples read what the commands before wrote.

With --version, every version the guide names (the downloads' file names, "Version 5.0.0") must
be that one, the build's.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

MARKER = re.compile(r"^<!-- guide-test: (\w+)(?: (\S+))? -->$")


def blocks_of(guide):
    """Yields (kind, argument, lines, line number) for each marked block."""
    lines = guide.split("\n")
    for number, line in enumerate(lines):
        found = MARKER.match(line)
        if not found:
            continue
        body = []
        rest = lines[number + 1:]
        if rest and rest[0].startswith("```"):
            for text in rest[1:]:
                if text.startswith("```"):
                    break
                body.append(text)
        else:
            body = [text for text in rest[: next_blank(rest)]]
        yield found.group(1), found.group(2), body, number + 1


def next_blank(lines):
    for index, text in enumerate(lines):
        if not text.strip():
            return index
    return len(lines)


def table_rows(lines):
    """The cells of a Markdown table, without its rule line."""
    rows = []
    for text in lines:
        cells = [cell.strip() for cell in text.strip().strip("|").split("|")]
        if all(re.fullmatch(r"-+", cell) for cell in cells):
            continue
        rows.append(cells)
    return rows


def file_rows(path, width):
    """The file's rows cut at tabs; a short row is shown with empty cells up to the width."""
    with open(path, "rb") as data:
        text = data.read().decode("latin-1")
    rows = []
    for line in text.split("\r\n"):
        cells = line.split("\t")
        rows.append(cells + [""] * (width - len(cells)))
    return rows


def check_file(path, shown, where):
    if not os.path.exists(path):
        return f"line {where}: {path} was not written"
    if shown and shown[0].startswith("|"):
        expected = table_rows(shown)
        actual = file_rows(path, len(expected[0]))[: len(expected)]
    else:
        expected = shown
        with open(path, "rb") as data:
            actual = data.read().decode("latin-1").split("\r\n")[: len(shown)]
    if actual != expected:
        return f"line {where}: {path} begins with\n{actual}\nbut the guide shows\n{expected}"
    return None


# The ways the guide names a version: the downloads and the version the splash shows.
VERSION_MENTION = re.compile(r"trelvox-(\d+\.\d+\.\d+)-|trelvox_(\d+\.\d+\.\d+)_|"
                             r"[Vv]ersion (\d+\.\d+\.\d+)")


def wrong_versions(guide, version):
    """Each line naming another version than the build's, as 'line N: ...'."""
    problems = []
    for number, line in enumerate(guide.split("\n"), start=1):
        for found in VERSION_MENTION.finditer(line):
            named = next(group for group in found.groups() if group)
            if named != version:
                problems.append(f"line {number}: names version {named}, but the build is "
                                f"{version}: {line.strip()}")
    return problems


def same_output(printed, shown):
    def tidy(text_lines):
        text_lines = [line.rstrip() for line in text_lines]
        while text_lines and not text_lines[-1]:
            text_lines.pop()
        return text_lines

    return tidy(printed.split("\n")) == tidy(shown)


def run_block(kind, body, work, tools):
    source = "\n".join(body) + "\n"
    if kind == "run":
        command = ["bash", "-euo", "pipefail", "-c", source]
    elif kind == "r":
        command = [tools.rscript, "--no-save", "--no-restore", "-e", source]
    else:
        command = [tools.python, "-c", source]
    done = subprocess.run(command, cwd=work, env=tools.env, capture_output=True, text=True,
                          timeout=120)
    return done


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--guide", required=True)
    parser.add_argument("--examples", required=True)
    parser.add_argument("--batch", required=True, help="the trelvox-batch program")
    parser.add_argument("--rscript", default=shutil.which("Rscript") or "Rscript")
    parser.add_argument("--python", default="/usr/bin/python3")
    parser.add_argument("--version", help="the version the guide must name")
    tools = parser.parse_args()

    for program, package in ((tools.rscript, "r-base-core"), (tools.python, "python3-pandas")):
        if not shutil.which(program):
            print(f"{program} not found: install {package} (scripts/install-deps.sh does)")
            return 1
    # Dates as in the guide (month/day/year), whatever the machine's settings.
    tools.env = dict(os.environ, LC_ALL="C", LANG="C")
    tools.env["PATH"] = os.path.dirname(os.path.abspath(tools.batch)) + os.pathsep + os.environ["PATH"]

    with open(tools.guide, encoding="utf-8") as guide_file:
        guide = guide_file.read()
    problems = wrong_versions(guide, tools.version) if tools.version else []
    counts = {}
    with tempfile.TemporaryDirectory(prefix="trelvox-guide.") as work:
        shutil.copytree(tools.examples, os.path.join(work, "examples"))
        last = None
        for kind, argument, body, where in blocks_of(guide):
            counts[kind] = counts.get(kind, 0) + 1
            if kind in ("run", "r", "python"):
                last = run_block(kind, body, work, tools)
                if last.returncode != 0:
                    problems.append(f"line {where}: the {kind} block ended with status "
                                    f"{last.returncode}:\n{last.stdout}{last.stderr}")
                    last = None
            elif kind == "output":
                if last is None:
                    problems.append(f"line {where}: no block ran before this output")
                elif not same_output(last.stdout, body):
                    problems.append(f"line {where}: the block before printed\n{last.stdout}"
                                    "but the guide shows\n" + "\n".join(body))
                last = None
            elif kind == "file":
                problem = check_file(os.path.join(work, argument), body, where)
                if problem:
                    problems.append(problem)
            else:
                problems.append(f"line {where}: unknown marker {kind}")
    for problem in problems:
        print(problem, end="\n\n")
    print("Guide blocks checked:", ", ".join(f"{n} {k}" for k, n in sorted(counts.items())))
    # A guide that lost its markers would pass without checking anything.
    for kind in ("run", "r", "python", "output", "file"):
        if kind not in counts:
            problems.append(kind)
            print(f"No '{kind}' block found in the guide")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
