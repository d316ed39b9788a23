#include "analysis/ReportHtml.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/ReportCharts.h"
#include "analysis/ReportScripts.h"
#include "analysis/ReportText.h"

namespace trelvox::analysis {

using nlohmann::json;

namespace {

// How many names a list of missing items shows before it says how many more there are.
constexpr std::size_t kItemsListed = 200;

constexpr std::string_view kStyle = R"css(
:root { color-scheme: light; --ink: #1d1d1f; --muted: #5f6368; --rule: #d0d4da; --band: #f4f6f8;
  --warn: #b22222; }
* { box-sizing: border-box; }
body { margin: 0 auto; max-width: 72rem; padding: 1rem 1.5rem 3rem; color: var(--ink);
  font: 15px/1.45 system-ui, -apple-system, "Segoe UI", Roboto, "DejaVu Sans", sans-serif; }
h1 { font-size: 1.6rem; margin: 0.5rem 0 0.2rem; }
h2 { font-size: 1.25rem; margin: 2rem 0 0.6rem; padding-bottom: 0.2rem;
  border-bottom: 2px solid var(--rule); }
h3 { font-size: 1.05rem; margin: 1.4rem 0 0.4rem; }
.meta, figcaption, .note { color: var(--muted); }
nav { margin: 0.8rem 0 0; display: flex; flex-wrap: wrap; gap: 0.3rem 1.2rem; }
nav a { color: #1a5fb4; text-decoration: none; }
nav a:hover { text-decoration: underline; }
figure { margin: 0.8rem 0 1.2rem; break-inside: avoid; }
figcaption { font-size: 0.9rem; max-width: 48rem; }
.plot { min-height: 2rem; overflow-x: auto; }
.plot svg { max-width: 100%; height: auto; }
.none { font-style: italic; color: var(--muted); }
code { font-family: ui-monospace, "DejaVu Sans Mono", monospace; font-size: 0.9em;
  background: var(--band); padding: 0 0.25em; border-radius: 3px; white-space: nowrap; }
td code { white-space: pre-wrap; overflow-wrap: anywhere; }
table { border-collapse: collapse; font-size: 0.9rem; margin: 0.4rem 0 1rem; }
th, td { padding: 0.2rem 0.6rem; border-bottom: 1px solid var(--rule); text-align: left;
  vertical-align: top; }
td.number, th.number { text-align: right; font-variant-numeric: tabular-nums; }
tbody tr:nth-child(even) { background: var(--band); }
tr.excluded td { color: var(--warn); }
.scroll { max-height: 32rem; overflow: auto; border: 1px solid var(--rule); }
.scroll table { margin: 0; width: 100%; }
.scroll thead th { position: sticky; top: 0; background: #fff; box-shadow: 0 1px 0 var(--rule); }
th button { font: inherit; font-weight: bold; background: none; border: 0; padding: 0;
  cursor: pointer; color: inherit; text-align: inherit; }
th[aria-sort="ascending"] button::after { content: " \25B2"; }
th[aria-sort="descending"] button::after { content: " \25BC"; }
.flag { display: inline-block; margin: 0 0.3rem 0.1rem 0; padding: 0 0.35rem; border-radius: 3px;
  background: #fde8e8; color: var(--warn); font-size: 0.85em; }
footer { margin-top: 3rem; font-size: 0.85rem; color: var(--muted); }
footer pre { white-space: pre-wrap; font-size: 0.8rem; }
@media print {
  body { max-width: none; padding: 0; font-size: 10pt; }
  nav, .note, th button::after { display: none; }
  h2 { break-after: avoid; }
  section { break-before: auto; }
  .scroll { max-height: none; overflow: visible; border: 0; }
  .scroll thead th { position: static; box-shadow: none; }
  tbody tr:nth-child(even) { background: none; }
  tr { break-inside: avoid; }
  footer details:not([open]) { display: none; }
}
)css";

// Draws every plot of the page from its chart description, and sorts a table by the column whose
// header is clicked (numbers by value, empty cells last, text in natural order). When every
// plot is drawn, the body's data-drawn-ms tells after how long (the report benchmark reads it).
constexpr std::string_view kPageScript = R"js(
(function () {
  'use strict';
  var plots = JSON.parse(document.getElementById('trelvox-plots').textContent);
  Promise.all(Object.keys(plots).map(function (id) {
    var box = document.getElementById(id);
    return vegaEmbed(box, plots[id], { mode: 'vega-lite', renderer: 'svg', actions: false })
      .catch(function (error) {
        box.textContent = 'This plot could not be drawn: ' + error.message;
        console.error(error);
      });
  })).then(function () {
    document.body.setAttribute('data-drawn-ms', String(Math.round(performance.now())));
  });
  function key(row, column, numeric) {
    var cell = row.cells[column];
    var text = cell.hasAttribute('data-value') ? cell.getAttribute('data-value') : cell.textContent;
    return numeric ? (text === '' ? NaN : Number(text)) : text;
  }
  document.querySelectorAll('table.sortable').forEach(function (table) {
    var headers = Array.prototype.slice.call(table.tHead.rows[0].cells);
    headers.forEach(function (header, column) {
      header.querySelector('button').addEventListener('click', function () {
        var ascending = header.getAttribute('aria-sort') !== 'ascending';
        var numeric = header.classList.contains('number');
        headers.forEach(function (other) { other.removeAttribute('aria-sort'); });
        header.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        rows.sort(function (a, b) {
          var x = key(a, column, numeric), y = key(b, column, numeric);
          if (numeric && (isNaN(x) || isNaN(y))) { return isNaN(x) - isNaN(y); }
          var order = numeric ? x - y : x.localeCompare(y, undefined, { numeric: true });
          return ascending ? order : -order;
        });
        rows.forEach(function (row) { body.appendChild(row); });
      });
    });
  });
})();
)js";

// The plots of the page by container id, in the order they appear.
using Plots = std::vector<std::pair<std::string, json>>;

std::string Cell(std::string_view text) {
  return Concat({"<td>", EscapeHtml(text), "</td>"});
}

std::string NumberCell(const std::string& shown, const std::string& sortValue) {
  return Concat({"<td class=\"number\" data-value=\"", sortValue, "\">", shown, "</td>"});
}

std::string CountCell(long count) {
  return NumberCell(FormatCount(count), std::to_string(count));
}

std::string OptionalCell(const std::optional<double>& value, int decimals) {
  if (!value) {
    return "<td class=\"number\" data-value=\"\"></td>";
  }
  return NumberCell(FormatFixed(*value, decimals), FormatFixed(*value, 6));
}

std::string RateCell(const std::optional<double>& rate) {
  if (!rate) {
    return "<td class=\"number\" data-value=\"\"></td>";
  }
  return NumberCell(FormatPercent(*rate), FormatFixed(*rate, 6));
}

std::string Code(std::string_view text) {
  return Concat({"<code>", EscapeHtml(text), "</code>"});
}

// A plot's container and caption, or the sentence that stands in for it.
void WritePlot(std::ostream& out, Plots& plots, const std::string& id, std::optional<json> chart,
               std::string_view label, std::string_view caption, std::string_view none) {
  if (!chart) {
    out << "<p class=\"none\">" << none << "</p>\n";
    return;
  }
  out << "<figure><div class=\"plot\" id=\"" << id << "\" role=\"img\" aria-label=\"" << label
      << "\"></div><figcaption>" << caption << "</figcaption></figure>\n";
  plots.emplace_back(id, std::move(*chart));
}

void WriteHead(const ReportData& data, std::ostream& out) {
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<title>Trelvox data-quality report";
  if (data.inputs.size() == 1) {
    out << ": " << EscapeHtml(data.inputs.front().name);
  }
  out << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n";
}

void WriteHeader(const ReportData& data, std::ostream& out) {
  long subjects = 0;
  long trials = 0;
  unsigned long long bytes = 0;
  for (const ReportInput& input : data.inputs) {
    subjects += input.subjects;
    trials += input.trials;
    bytes += input.bytes;
  }
  out << "<header>\n<h1>Data-quality report</h1>\n<p class=\"meta\">Analysed "
      << EscapeHtml(data.analysedAt) << " by Trelvox " << EscapeHtml(data.version) << "</p>\n"
      << "<nav><a href=\"#inputs\">Inputs</a><a href=\"#subjects\">Subjects</a>"
         "<a href=\"#reaction-times\">Reaction times</a><a href=\"#items\">Items</a>"
         "<a href=\"#anomalies\">Anomalies</a><a href=\"#zil\">ZIL responses</a></nav>\n"
         "</header>\n<main>\n<section id=\"inputs\">\n<h2>Inputs and options</h2>\n";
  if (data.inputs.empty()) {
    out << "<p class=\"none\">No input files.</p>\n";
  } else {
    out << "<table>\n<thead><tr><th>File</th><th class=\"number\">Size</th>"
           "<th class=\"number\">Subjects</th><th class=\"number\">Trials</th></tr></thead>\n"
           "<tbody>\n";
    for (const ReportInput& input : data.inputs) {
      out << "<tr>" << Cell(input.name) << "<td class=\"number\" title=\""
          << FormatCount(static_cast<long long>(input.bytes)) << " bytes\">"
          << FormatBytes(input.bytes) << "</td><td class=\"number\">" << FormatCount(input.subjects)
          << "</td><td class=\"number\">" << FormatCount(input.trials) << "</td></tr>\n";
    }
    out << "</tbody>\n";
    if (data.inputs.size() > 1) {
      out << "<tfoot><tr><th>" << data.inputs.size() << " files</th><th class=\"number\">"
          << FormatBytes(bytes) << "</th><th class=\"number\">" << FormatCount(subjects)
          << "</th><th class=\"number\">" << FormatCount(trials) << "</th></tr></tfoot>\n";
    }
    out << "</table>\n";
  }
  out << "<p>Options: ";
  if (data.options.empty()) {
    out << "none beyond the inputs.";
  }
  for (const ReportOption& option : data.options) {
    out << Code(option.value.empty() ? option.name : Concat({option.name, " ", option.value}))
        << " ";
  }
  out << "</p>\n</section>\n";
}

std::map<std::string, long> AnomaliesOfSubject(const ReportData& data) {
  std::map<std::string, long> total;
  for (const ReportAnomaly& anomaly : data.anomalies) {
    total[anomaly.subject] += anomaly.count;
  }
  return total;
}

std::string SubjectFlags(const ReportSubject& subject, long anomalies) {
  std::string flags;
  if (subject.excluded) {
    flags += "<span class=\"flag\">excluded";
    if (!subject.reason.empty()) {
      flags += Concat({": ", EscapeHtml(subject.reason)});
    }
    flags += "</span>";
  }
  if (!subject.meanRt) {
    flags += "<span class=\"flag\">no correct trial</span>";
  }
  if (anomalies > 0) {
    flags += Concat({"<span class=\"flag\">", FormatCount(anomalies),
                     anomalies == 1 ? " anomaly" : " anomalies", "</span>"});
  }
  return flags;
}

void WriteSubjectsTable(const ReportData& data, std::ostream& out) {
  static constexpr std::pair<const char*, bool> kColumns[] = {
      {"Subject", false},    {"Trials", true},     {"Correct", true}, {"Errors", true},
      {"No response", true}, {"Error rate", true}, {"Mean RT", true}, {"Median RT", true},
      {"SD RT", true},       {"Trimmed", true},    {"Flags", false}};
  out << "<div class=\"scroll\"><table class=\"sortable\" id=\"subjects-table\">\n<thead><tr>";
  for (const auto& [title, numeric] : kColumns) {
    out << "<th" << (numeric ? " class=\"number\"" : "") << "><button type=\"button\">" << title
        << "</button></th>";
  }
  out << "</tr></thead>\n<tbody>\n";
  const std::map<std::string, long> anomalies = AnomaliesOfSubject(data);
  for (const ReportSubject& subject : data.subjects) {
    const auto found = anomalies.find(subject.subject);
    out << (subject.excluded ? "<tr class=\"excluded\">" : "<tr>") << Cell(subject.subject)
        << CountCell(subject.trials) << CountCell(subject.correct) << CountCell(subject.errors)
        << CountCell(subject.noResponses) << RateCell(subject.errorRate)
        << OptionalCell(subject.meanRt, 1) << OptionalCell(subject.medianRt, 1)
        << OptionalCell(subject.sdRt, 1) << CountCell(subject.trimmed) << "<td>"
        << SubjectFlags(subject, found == anomalies.end() ? 0 : found->second) << "</td></tr>\n";
  }
  out << "</tbody>\n</table></div>\n";
}

void WriteSubjects(const ReportData& data, Plots& plots, std::ostream& out) {
  out << "<section id=\"subjects\">\n<h2>Subjects</h2>\n";
  if (data.subjects.empty()) {
    out << "<p class=\"none\">No subjects were found in the inputs.</p>\n</section>\n";
    return;
  }
  long excluded = 0;
  long unplaced = 0;
  for (const ReportSubject& subject : data.subjects) {
    excluded += subject.excluded ? 1 : 0;
    unplaced += subject.meanRt && subject.errorRate ? 0 : 1;
  }
  out << "<p>" << FormatCount(static_cast<long long>(data.subjects.size())) << " subjects, "
      << FormatCount(excluded) << " excluded.</p>\n";
  std::string caption =
      "Each point is a subject: fast and careless subjects sit high on the left, slow ones far "
      "right. Crosses are excluded subjects.";
  if (data.maxErrorRate) {
    caption +=
        Concat({" The dashed line is ",
                Code(Concat({"--max-error-rate ", FormatFixed(*data.maxErrorRate, 2)})), "."});
  }
  if (unplaced > 0) {
    caption += Concat({" ", FormatCount(unplaced), " without a correct trial cannot be placed."});
  }
  WritePlot(out, plots, "plot-subjects", SubjectsPlot(data),
            "Error rate against mean reaction time per subject", caption,
            "No subject has a correct trial: there is no mean reaction time to plot.");
  out << "<p class=\"note\">Click a column's title to sort the table by it.</p>\n";
  WriteSubjectsTable(data, out);
  out << "</section>\n";
}

void WriteReactionTimes(const ReportData& data, Plots& plots, std::ostream& out) {
  out << "<section id=\"reaction-times\">\n<h2>Reaction times</h2>\n<h3>Distribution</h3>\n";
  std::string caption =
      "The correct trials the means are made of (not trimmed, of subjects not excluded), one "
      "histogram per cell of the ";
  caption += data.cells.size() > 1 ? Code("--by") + " columns." : "data.";
  if (data.minRt || data.maxRt) {
    caption += " Dashed lines: the cutoffs";
    if (data.minRt) {
      caption += Concat({" ", Code(Concat({"--min-rt ", FormatFixed(*data.minRt, 0)}))});
    }
    if (data.maxRt) {
      caption += Concat({" ", Code(Concat({"--max-rt ", FormatFixed(*data.maxRt, 0)}))});
    }
    caption += ".";
  }
  if (data.sdCutoff) {
    caption += Concat({" ", Code(Concat({"--sd ", FormatFixed(*data.sdCutoff, 2)})),
                       " trims per subject and cell, so its cutoffs differ and are not drawn."});
  }
  WritePlot(out, plots, "plot-rt-distribution", RtDistributionPlot(data),
            "Histograms of correct reaction times", caption, "No correct reaction times.");
  out << "<h3>Mean RT by trial position</h3>\n";
  WritePlot(out, plots, "plot-rt-position", PositionPlot(data),
            "Mean reaction time by trial position",
            "Mean RT of the same trials at each position within a block, over every subject not "
            "excluded: a fall at the start is practice, a rise towards the end fatigue.",
            "No correct reaction times.");
  out << "</section>\n";
}

void WriteItemList(std::ostream& out, std::string_view title,
                   const std::vector<std::string>& items) {
  out << "<p>" << title << " (" << FormatCount(static_cast<long long>(items.size())) << "): ";
  for (std::size_t i = 0; i < items.size() && i < kItemsListed; ++i) {
    out << Code(items[i]) << " ";
  }
  if (items.size() > kItemsListed) {
    out << "and " << FormatCount(static_cast<long long>(items.size() - kItemsListed)) << " more.";
  }
  out << "</p>\n";
}

void WriteItems(const ReportData& data, Plots& plots, std::ostream& out) {
  out << "<section id=\"items\">\n<h2>Items</h2>\n";
  if (data.items.empty()) {
    out << "<p class=\"none\">No items were presented.</p>\n";
  } else {
    WritePlot(out, plots, "plot-items", ItemsPlot(data),
              "Error rate against mean reaction time per item",
              "Each point is an item (excluded subjects left out); the ten with the highest error "
              "rate are named in red. An item far above the others may be miskeyed or ambiguous.",
              "No item has a correct trial: there is no mean reaction time to plot.");
    out << "<h3>The items with the highest error rate</h3>\n<table>\n<thead><tr><th>Item</th>"
           "<th class=\"number\">Presentations</th><th class=\"number\">Error rate</th>"
           "<th class=\"number\">Mean RT</th></tr></thead>\n<tbody>\n";
    for (const ReportItem* item : WorstItems(data, 10)) {
      out << "<tr>" << Cell(item->item) << CountCell(item->presentations)
          << RateCell(item->errorRate) << OptionalCell(item->meanRt, 1) << "</tr>\n";
    }
    out << "</tbody>\n</table>\n";
  }
  if (!data.itemsNotInList.empty()) {
    WriteItemList(out, "In the data but not in the item list", data.itemsNotInList);
  }
  if (!data.itemsNotPresented.empty()) {
    WriteItemList(out, "In the item list but never presented", data.itemsNotPresented);
  }
  out << "</section>\n";
}

void WriteAnomalyTable(const ReportData& data, std::ostream& out) {
  struct Kind {
    long count = 0;
    long subjects = 0;
    std::string example;
    std::vector<std::string> files;  // where it was met, in order of first meeting
  };
  std::vector<std::string> order;
  std::map<std::string, Kind> kinds;
  for (const ReportAnomaly& anomaly : data.anomalies) {
    auto [entry, added] = kinds.try_emplace(anomaly.kind);
    if (added) {
      order.push_back(anomaly.kind);
      entry->second.example = anomaly.example;
    }
    entry->second.count += anomaly.count;
    entry->second.subjects += 1;
    std::vector<std::string>& files = entry->second.files;
    if (std::find(files.begin(), files.end(), anomaly.file) == files.end()) {
      files.push_back(anomaly.file);
    }
  }
  out << "<table>\n<thead><tr><th>Kind</th><th class=\"number\">Times met</th>"
         "<th class=\"number\">Subjects</th><th>Files</th><th>First as found</th></tr>"
         "</thead>\n<tbody>\n";
  for (const std::string& name : order) {
    const Kind& kind = kinds[name];
    std::string files;
    for (const std::string& file : kind.files) {
      files += Concat({files.empty() ? "" : ", ", file});
    }
    out << "<tr>" << Cell(name) << CountCell(kind.count) << CountCell(kind.subjects) << Cell(files)
        << "<td>" << (kind.example.empty() ? "" : Code(kind.example)) << "</td></tr>\n";
  }
  out << "</tbody>\n</table>\n";
}

void WriteAnomalies(const ReportData& data, Plots& plots, std::ostream& out) {
  out << "<section id=\"anomalies\">\n<h2>Anomalies</h2>\n";
  if (data.anomalies.empty()) {
    out << "<p class=\"none\">Nothing unusual: the readers reported nothing, and DMDX wrote no "
           "warning about lost data.</p>\n</section>\n";
    return;
  }
  out << "<p>What the readers reported while reading (passed-over headers, lines without a "
         "reaction time, more responses than expected, damaged dates), and what DMDX itself "
         "wrote into the files about lost data.</p>\n";
  WriteAnomalyTable(data, out);
  WritePlot(out, plots, "plot-anomaly-kinds", AnomalyKindsPlot(data), "Anomalies per kind",
            "How often each kind was met.", "");
  std::string caption = "Anomalies per subject, by kind";
  if (AnomaliesOfSubject(data).size() > kAnomalySubjectsShown) {
    caption +=
        Concat({", for the ", std::to_string(kAnomalySubjectsShown), " subjects with the most"});
  }
  WritePlot(out, plots, "plot-anomaly-subjects", AnomalySubjectsPlot(data), "Anomalies per subject",
            caption + ".", "");
  out << "</section>\n";
}

void WriteZil(const ReportData& data, Plots& plots, std::ostream& out) {
  out << "<section id=\"zil\">\n<h2>ZIL responses</h2>\n";
  if (!data.hasZil) {
    out << "<p class=\"none\">No ZIL input: these figures come from ZIL files only.</p>\n"
           "</section>\n";
    return;
  }
  out << "<h3>Events per trial</h3>\n";
  WritePlot(out, plots, "plot-zil-responses", ResponsesPerTrialPlot(data),
            "Trials by number of recorded events",
            "How many key events DMDX recorded in each trial. Trials with many more than the "
            "task asks for point to a held or bouncing key.",
            "No trials with recorded events.");
  out << "<h3>Presses and releases per key</h3>\n";
  WritePlot(out, plots, "plot-zil-keys", KeysPlot(data), "Key presses and releases per key",
            "DMDX records a key's press (+) and its release (-). A key with far fewer releases "
            "than presses was still held when the trial ended.",
            "No key events.");
  out << "</section>\n";
}

void WriteFooter(const ReportData& data, std::ostream& out) {
  out << "</main>\n<footer>\n<p>Written by Trelvox " << EscapeHtml(data.version)
      << ". Everything this page shows is inside it: it opens without a network.</p>\n"
         "<details><summary>Plots drawn with Vega, Vega-Lite and vega-embed (BSD 3-Clause "
         "licence; Vega bundles d3, ISC licence)</summary>\n";
  for (const EmbeddedText& licence : ReportScriptLicences()) {
    out << "<h4>" << EscapeHtml(licence.name) << "</h4><pre>";
    for (const std::string_view piece : licence.pieces) {
      out << EscapeHtml(piece);
    }
    out << "</pre>\n";
  }
  out << "</details>\n</footer>\n";
}

void WriteScripts(Plots plots, std::ostream& out) {
  for (const EmbeddedText& script : ReportScripts()) {
    out << "<script>";
    for (const std::string_view piece : script.pieces) {
      out << piece;
    }
    out << "</script>\n";
  }
  json charts = json::object();
  for (auto& [id, chart] : plots) {
    charts[id] = std::move(chart);
  }
  out << "<script type=\"application/json\" id=\"trelvox-plots\">" << ScriptJson(charts)
      << "</script>\n<script>" << kPageScript << "</script>\n</body>\n</html>\n";
}

}  // namespace

void WriteReportHtml(const ReportData& data, std::ostream& out) {
  Plots plots;
  WriteHead(data, out);
  WriteHeader(data, out);
  WriteSubjects(data, plots, out);
  WriteReactionTimes(data, plots, out);
  WriteItems(data, plots, out);
  WriteAnomalies(data, plots, out);
  WriteZil(data, plots, out);
  WriteFooter(data, out);
  WriteScripts(std::move(plots), out);
}

}  // namespace trelvox::analysis
