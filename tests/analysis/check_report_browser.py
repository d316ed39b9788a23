#!/usr/bin/env python3
"""Opens data-quality reports in headless Chromium with the network off and checks them.

For each report: no console message from the page at all (errors, warnings and logs alike: the
page writes none when every plot is drawn), every plot container (div.plot) holds an svg or canvas after the
scripts ran, no request made on the page's behalf (Chromium's network log), and a screenshot
written beside the report.

The network: as root the browser runs in a network namespace of its own (unshare -n), where
nothing can be reached; otherwise every host name resolves to nothing and every request goes to
a proxy that does not exist. Either way the network log must show no request from the page.

  check_report_browser.py --out DIR [--writer PROGRAM] [--batch TRELVOX-BATCH --source SRC]
                          [REPORT.html...]

With --writer, PROGRAM DIR writes the reports to check into DIR first. With --batch,
trelvox-batch analyze writes the reports of the examples and of real DMDX files in SRC (the
source tree), each copied into DIR under the analysis's name.
"""
import argparse
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
    "--disable-component-update", "--no-first-run", "--disable-sync", "--hide-scrollbars",
    "--enable-logging=stderr", "--v=0",
]
# Virtual time: the page is given this much (ms) to run its scripts, however slow the machine.
VIRTUAL_TIME_BUDGET = "20000"
CONSOLE_LINE = re.compile(r":CONSOLE[:(]")
# Chromium's own pages (its headless UI) log too; only the report's messages count.
BROWSER_PAGE = re.compile(r"source: chrome(-untrusted)?://")


# The analyses whose reports are checked: the guide's examples with the item list, a real AZK
# file of 30 subjects and a real ZIL file with COT (paths from the source tree).
ANALYSES = [
    ("examples", ["examples/sample.azk", "examples/sample.zil", "--timeout", "2000",
                  "--items", "examples/items.csv", "--by", "condition", "--min-rt", "480",
                  "--max-rt", "1500", "--sd", "2.5"]),
    ("ella-nnn-nn1", ["tests/data/dmdx-samples/ella-nnn-nn1.azk", "--timeout", "8112"]),
    ("hercules-a", ["tests/data/dmdx-samples/hercules-a.zil", "--cot"]),
]


def analyse(batch, source, out):
    """Runs each analysis into out/analyses/NAME and copies its report to out/NAME.html."""
    reports = []
    for name, args in ANALYSES:
        folder = os.path.join(out, "analyses", name)
        result = subprocess.run([batch, "analyze"] + args + ["--out", folder], cwd=source,
                                capture_output=True, text=True, errors="replace")
        if result.returncode != 0:
            sys.exit("report_browser: analyze %s ended with status %d: %s" %
                     (name, result.returncode, result.stderr.strip()))
        report = os.path.join(out, name + ".html")
        shutil.copyfile(os.path.join(folder, "report.html"), report)
        reports.append(report)
    return reports


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    sys.exit("report_browser: Chromium is not installed (apt-get install chromium, or "
             "scripts/install-deps.sh)")


def offline_command():
    """The prefix that runs the browser without a network, and what it is in words."""
    if os.geteuid() == 0 and shutil.which("unshare") and \
            subprocess.run(["unshare", "-n", "true"], capture_output=True).returncode == 0:
        return ["unshare", "-n"], [], "a network namespace of its own (unshare -n)"
    flags = ["--host-resolver-rules=MAP * ~NOTFOUND", "--proxy-server=127.0.0.1:9",
             "--proxy-bypass-list=<-loopback>"]
    return [], flags, "host names resolving to nothing and a proxy to nowhere"


class PlotFinder(html.parser.HTMLParser):
    """Collects each div.plot's id and whether an svg or canvas lies inside it."""

    def __init__(self):
        super().__init__()
        self.plots = {}
        self.stack = []  # (tag, plot id or None)

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        plot = None
        if tag == "div" and "plot" in (attributes.get("class") or "").split():
            plot = attributes.get("id", "?")
            self.plots[plot] = False
        if tag in ("svg", "canvas"):
            for _, open_plot in self.stack:
                if open_plot is not None:
                    self.plots[open_plot] = True
        if tag not in ("br", "img", "input", "meta", "link", "hr", "col", "source", "wbr"):
            self.stack.append((tag, plot))

    def handle_endtag(self, tag):
        for at in range(len(self.stack) - 1, -1, -1):
            if self.stack[at][0] == tag:
                del self.stack[at:]
                return


def page_requests(net_log_path):
    """The URLs that the network log shows requested on behalf of a file:// page."""
    with open(net_log_path, encoding="utf-8", errors="replace") as handle:
        text = handle.read()
    try:
        log = json.loads(text)
    except json.JSONDecodeError:
        # Chromium may stop before it closes the log's JSON: close it here.
        log = json.loads(text.rstrip().rstrip(",") + "]}")
    types = {number: name for name, number in log["constants"]["logEventTypes"].items()}
    urls = []
    for event in log.get("events", []):
        params = event.get("params", {})
        if types.get(event["type"]) == "URL_REQUEST_START_JOB" and \
                params.get("network_isolation_key", "").startswith("file://"):
            urls.append(params.get("url", "?"))
    return urls


def run_chromium(chromium, prefix, flags, report, extra, work):
    profile = tempfile.mkdtemp(prefix="profile-", dir=work)
    command = prefix + [chromium] + CHROMIUM_FLAGS + flags + [
        "--user-data-dir=" + profile, "--virtual-time-budget=" + VIRTUAL_TIME_BUDGET] + extra + [
        "file://" + os.path.abspath(report)]
    start = time.monotonic()
    result = subprocess.run(command, capture_output=True, text=True, errors="replace",
                            timeout=240)
    return result, time.monotonic() - start


def check_report(chromium, prefix, flags, report, out):
    name = os.path.splitext(os.path.basename(report))[0]
    problems = []
    work = tempfile.mkdtemp(prefix="report-browser-", dir=out)
    try:
        net_log = os.path.join(work, "net-log.json")
        result, seconds = run_chromium(chromium, prefix, flags, report,
                                       ["--dump-dom", "--log-net-log=" + net_log], work)
        if result.returncode != 0:
            problems.append("Chromium ended with status %d" % result.returncode)
        for line in result.stderr.splitlines():
            if CONSOLE_LINE.search(line) and not BROWSER_PAGE.search(line):
                problems.append("console: " + line.split("]", 1)[-1].strip())
        finder = PlotFinder()
        finder.feed(result.stdout)
        if not finder.plots and "empty" not in name:
            problems.append("no plot container in the page")
        for plot, drawn in finder.plots.items():
            if not drawn:
                problems.append("plot %s: nothing drawn (no svg or canvas)" % plot)
        if os.path.exists(net_log):
            for url in page_requests(net_log):
                problems.append("the page requested " + url)
        else:
            problems.append("Chromium wrote no network log")

        screenshot = os.path.join(out, name + ".png")
        shot, _ = run_chromium(chromium, prefix, flags, report,
                               ["--window-size=1280,2400", "--screenshot=" + screenshot], work)
        if shot.returncode != 0 or not os.path.exists(screenshot):
            problems.append("no screenshot written")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return problems, len(finder.plots), seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--writer")
    parser.add_argument("--batch")
    parser.add_argument("--source")
    parser.add_argument("reports", nargs="*")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    reports = list(args.reports)
    if args.writer:
        subprocess.run([args.writer, args.out], check=True)
        analysed = {name + ".html" for name, _ in ANALYSES}
        reports += sorted(os.path.join(args.out, name) for name in os.listdir(args.out)
                          if name.endswith(".html") and name not in analysed)
    if args.batch:
        reports += analyse(args.batch, args.source or os.getcwd(), args.out)
    if not reports:
        sys.exit("report_browser: no report to check")

    chromium = find_chromium()
    prefix, flags, how = offline_command()
    print("Network off: " + how)
    failed = 0
    for report in reports:
        problems, plots, seconds = check_report(chromium, prefix, flags, report, args.out)
        size = os.path.getsize(report)
        status = "FAILED" if problems else "ok"
        print("%-6s %s: %d bytes, %d plots drawn, %.1f s in Chromium" %
              (status, report, size, plots, seconds))
        for problem in problems:
            print("       " + problem)
        failed += 1 if problems else 0
    print("%d passed, %d failed" % (len(reports) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
