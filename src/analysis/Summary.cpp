#include "analysis/Summary.h"

#include "analysis/Tables.h"
#include "analysis/Tsv.h"

namespace trelvox::analysis {

namespace {

constexpr std::size_t kItemsNamed = 20;  // enough to see which; the report lists them all

std::string CountOf(long count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

// A DMDX input's damaged dates and passed-over headers are told by the readers in their own
// words; the transcript does not tell them twice.
bool ToldByReaders(const Catalog& catalog, const AnomalyEntry& anomaly) {
  return catalog.inputs[anomaly.input].kind != InputKind::Composite &&
         (anomaly.kind == AnomalyKind::DamagedDate ||
          anomaly.kind == AnomalyKind::PassedOverHeader);
}

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < kItemsNamed; ++i) {
    text += (i == 0 ? "" : ", ") + names[i];
  }
  if (names.size() > kItemsNamed) {
    text += ", ... and " + std::to_string(names.size() - kItemsNamed) + " more";
  }
  return text;
}

std::vector<std::string> ItemsNotInList(const Catalog& catalog,
                                        const std::vector<std::size_t>& order) {
  std::vector<std::string> items;
  for (const std::size_t index : order) {
    if (catalog.list != nullptr && catalog.items[index].listRow < 0) {
      items.push_back(catalog.items[index].text);
    }
  }
  return items;
}

std::vector<std::string> ItemsNotPresented(const Catalog& catalog) {
  std::vector<std::string> items;
  for (std::size_t row = 0; row < catalog.listed.size(); ++row) {
    if (catalog.listed[row] == 0) {
      items.push_back(catalog.list->Item(static_cast<int>(row)));
    }
  }
  return items;
}

void AddSubjectLines(const Catalog& catalog, std::vector<std::string>& lines) {
  for (const SubjectEntry& subject : catalog.subjects) {
    std::string line = subject.name + ": " + CountOf(subject.trials, "trial", "trials") + ", " +
                       CountOf(subject.errors, "error", "errors") + ", " +
                       CountOf(subject.noResponses, "no response", "no responses") + ", " +
                       std::to_string(subject.trimmed) + " trimmed";
    if (subject.excluded) {
      line += ", excluded: " + subject.reason;
    }
    lines.push_back(line);
  }
  long unrated = 0;
  for (const SubjectEntry& subject : catalog.subjects) {
    unrated += subject.WithOutcome() < subject.trials ? 1 : 0;
  }
  if (catalog.request.maxErrorRate && unrated > 0) {
    lines.push_back(CountOf(unrated, "subject has", "subjects have") +
                    " trials whose outcome the file does not say (ZIL items without their own "
                    "reaction time), so no error rate, and --max-error-rate excluded none of "
                    "them.");
  }
}

void AddNotices(const Catalog& catalog, std::vector<std::string>& lines) {
  for (const std::string& notice : catalog.notices) {
    std::size_t start = 0;
    for (std::size_t end; (end = notice.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      lines.push_back(notice.substr(start, end - start));
    }
    lines.push_back(notice.substr(start));
  }
}

void AddAnomalyLines(const Catalog& catalog, std::vector<std::string>& lines) {
  for (const AnomalyEntry& anomaly : catalog.anomalies) {
    if (ToldByReaders(catalog, anomaly) || anomaly.kind == AnomalyKind::DuplicateBlock) {
      continue;
    }
    const std::string where = catalog.inputs[anomaly.input].name +
                              (anomaly.subject.empty() ? "" : ", subject " + anomaly.subject);
    lines.push_back(where + ": " + std::string(AnomalyTitle(anomaly.kind)) + " (" +
                    std::to_string(anomaly.count) + "), the first: " + anomaly.example);
  }
}

void AddRoundingLines(const Catalog& catalog, std::vector<std::string>& lines) {
  for (const InputEntry& input : catalog.inputs) {
    if (input.roundedRts > 0) {
      lines.push_back(input.name + ": " +
                      CountOf(input.roundedRts, "reaction time has", "reaction times have") +
                      " more than two decimals: rt and the figures hold them rounded to "
                      "hundredths (the first: " +
                      input.firstRounded + "), rt_raw as written.");
    }
  }
}

void AddItemLines(const Catalog& catalog, std::vector<std::string>& lines) {
  const std::vector<std::string> missing = ItemsNotInList(catalog, ItemOrder(catalog));
  if (!missing.empty()) {
    lines.push_back(CountOf(static_cast<long>(missing.size()), "item", "items") + " of the data " +
                    (missing.size() == 1 ? "is" : "are") +
                    " not in the item list: " + Listed(missing));
  }
  const std::vector<std::string> unseen = ItemsNotPresented(catalog);
  if (!unseen.empty()) {
    lines.push_back(CountOf(static_cast<long>(unseen.size()), "item", "items") +
                    " of the item list " + (unseen.size() == 1 ? "was" : "were") +
                    " never presented: " + Listed(unseen));
  }
}

void AddDuplicateLines(const Catalog& catalog, std::vector<std::string>& lines) {
  for (const DuplicateEntry& duplicate : catalog.duplicates) {
    lines.push_back("Subject " + duplicate.subject + ": block " + std::to_string(duplicate.block) +
                    " of " + catalog.inputs[duplicate.input].name + " repeats block " +
                    std::to_string(duplicate.firstBlock) + " of " +
                    catalog.inputs[duplicate.firstInput].name +
                    " (same date, time and trials); both are in the tables.");
  }
}

void AddSubjects(Catalog& catalog, ReportData& report) {
  for (SubjectEntry& subject : catalog.subjects) {
    ReportSubject entry;
    entry.subject = subject.name;
    entry.trials = subject.trials;
    entry.correct = subject.correct;
    entry.errors = subject.errors;
    entry.noResponses = subject.noResponses;
    entry.errorRate =
        ErrorRate(subject.errors + subject.noResponses, subject.WithOutcome(), subject.trials);
    entry.meanRt = Ms(subject.rts.MeanCentis());
    entry.medianRt = Ms(subject.rts.MedianCentis());
    const std::optional<double> sd = subject.rts.SdCentis();
    entry.sdRt = sd ? std::optional(*sd / 100) : std::nullopt;
    entry.trimmed = subject.trimmed;
    entry.excluded = subject.excluded;
    entry.reason = subject.reason;
    report.subjects.push_back(entry);
  }
}

// The histogram of each cell, from the times the items keep: correct, untrimmed trials of the
// subjects not excluded, the population the report shows.
void AddBins(const Catalog& catalog, ReportData& report) {
  std::optional<std::int32_t> fastest;
  std::optional<std::int32_t> slowest;
  long values = 0;
  for (const ItemEntry& item : catalog.items) {
    for (const std::int32_t rt : item.rts.Values()) {
      fastest = std::min(fastest.value_or(rt), rt);
      slowest = std::max(slowest.value_or(rt), rt);
      ++values;
    }
  }
  if (!fastest || catalog.cells.empty()) {
    return;
  }
  const BinLayout bins = LayoutBins(*fastest / 100.0, *slowest / 100.0, MostBinsFor(values));
  std::vector<std::vector<long>> counts(catalog.cells.size(),
                                        std::vector<long>(static_cast<std::size_t>(bins.count)));
  for (const ItemEntry& item : catalog.items) {
    if (item.cell < 0) {
      continue;  // an item the list lacks is in no cell
    }
    std::vector<long>& cell = counts[static_cast<std::size_t>(item.cell)];
    for (const std::int32_t rt : item.rts.Values()) {
      ++cell[static_cast<std::size_t>(bins.BinOf(rt / 100.0))];
    }
  }
  for (std::size_t cell = 0; cell < counts.size(); ++cell) {
    for (int bin = 0; bin < bins.count; ++bin) {
      const double from = bins.from + bin * bins.width;
      report.rtBins.push_back({catalog.cells[cell], from, from + bins.width,
                               counts[cell][static_cast<std::size_t>(bin)]});
    }
  }
}

void AddReactionTimes(const Catalog& catalog, ReportData& report) {
  report.cells = catalog.cells;
  AddBins(catalog, report);
  for (std::size_t position = 1; position < catalog.positions.size(); ++position) {
    const PositionFigures& figures = catalog.positions[position];
    if (figures.count > 0) {
      report.positions.push_back(
          {static_cast<int>(position),
           static_cast<double>(RoundedQuotient(figures.sum, figures.count)) / 100, figures.count});
    }
  }
}

void AddItems(Catalog& catalog, ReportData& report) {
  const std::vector<std::size_t> order = ItemOrder(catalog);
  for (const std::size_t index : order) {
    ItemEntry& item = catalog.items[index];
    report.items.push_back(
        {item.text, item.presentations,
         ErrorRate(item.errors + item.noResponses, item.withOutcome, item.presentations),
         Ms(item.rts.MeanCentis())});
  }
  report.itemsNotInList = ItemsNotInList(catalog, order);
  report.itemsNotPresented = ItemsNotPresented(catalog);
}

void AddAnomalies(const Catalog& catalog, ReportData& report) {
  for (const AnomalyEntry& anomaly : catalog.anomalies) {
    report.anomalies.push_back({anomaly.subject, std::string(AnomalyTitle(anomaly.kind)),
                                anomaly.count, anomaly.example,
                                catalog.inputs[anomaly.input].name});
  }
}

void AddZil(const Catalog& catalog, ReportData& report) {
  report.hasZil = catalog.anyZil;
  for (std::size_t events = 0; events < catalog.eventsPerTrial.size(); ++events) {
    if (catalog.eventsPerTrial[events] > 0) {
      report.responsesPerTrial.push_back(
          {static_cast<int>(events), catalog.eventsPerTrial[events]});
    }
  }
  for (const KeyFigures& key : catalog.keys) {
    report.keys.push_back({key.key, key.presses, key.releases});
  }
}

}  // namespace

std::vector<ReportOption> OptionsOf(const AnalysisRequest& request) {
  std::vector<ReportOption> options{{"--out", request.outputFolder}};
  if (request.timeout) {
    options.push_back({"--timeout", std::to_string(*request.timeout)});
  }
  if (request.responses) {
    options.push_back({"--responses", std::to_string(*request.responses)});
  }
  if (!request.itemList.empty()) {
    options.push_back({"--items", request.itemList});
  }
  for (const std::string& column : request.by) {
    options.push_back({"--by", column});
  }
  const std::pair<const char*, const std::optional<double>*> numbers[] = {
      {"--min-rt", &request.minRt},
      {"--max-rt", &request.maxRt},
      {"--sd", &request.sd},
      {"--max-error-rate", &request.maxErrorRate}};
  for (const auto& [flag, value] : numbers) {
    if (*value) {
      options.push_back({flag, PlainNumber(**value)});
    }
  }
  if (request.cot) {
    options.push_back({"--cot", ""});
  }
  if (request.zor) {
    options.push_back({"--zor", ""});
  }
  if (!request.report) {
    options.push_back({"--no-report", ""});
  }
  return options;
}

ReportData BuildReport(Catalog& catalog, const AnalysisRequest& request, std::string version,
                       std::string analysedAt) {
  ReportData report;
  report.version = std::move(version);
  report.analysedAt = std::move(analysedAt);
  for (const InputEntry& input : catalog.inputs) {
    report.inputs.push_back({input.name, input.bytes, input.subjects, input.trials});
  }
  report.options = OptionsOf(request);
  AddSubjects(catalog, report);
  report.maxErrorRate = request.maxErrorRate;
  AddReactionTimes(catalog, report);
  report.minRt = request.minRt;
  report.maxRt = request.maxRt;
  report.sdCutoff = request.sd;
  AddItems(catalog, report);
  AddAnomalies(catalog, report);
  AddZil(catalog, report);
  return report;
}

AnalysisSummary Summarise(const Catalog& catalog) {
  AnalysisSummary summary;
  summary.subjects = static_cast<long>(catalog.subjects.size());
  for (const SubjectEntry& subject : catalog.subjects) {
    summary.trials += subject.trials;
    summary.excluded += subject.excluded ? 1 : 0;
  }
  for (const AnomalyEntry& anomaly : catalog.anomalies) {
    summary.anomalies += anomaly.count;
  }
  return summary;
}

std::vector<std::string> TranscriptLines(const Catalog& catalog, const AnalysisSummary& summary,
                                         const std::string& folder,
                                         const std::vector<std::string>& written) {
  std::vector<std::string> lines;
  AddSubjectLines(catalog, lines);
  AddNotices(catalog, lines);
  AddAnomalyLines(catalog, lines);
  AddRoundingLines(catalog, lines);
  AddItemLines(catalog, lines);
  AddDuplicateLines(catalog, lines);
  lines.push_back(CountOf(summary.subjects, "subject", "subjects") + ", " +
                  CountOf(summary.trials, "trial", "trials") + ", " +
                  std::to_string(summary.excluded) + " excluded, " +
                  CountOf(summary.anomalies, "anomaly", "anomalies") + ".");
  std::string files;
  for (const std::string& name : written) {
    files += (files.empty() ? "" : ", ") + name;
  }
  lines.push_back("Files written to " + folder + ": " + files);
  return lines;
}

}  // namespace trelvox::analysis
