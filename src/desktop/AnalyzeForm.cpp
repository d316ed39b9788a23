#include "desktop/AnalyzeForm.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

#include "analysis/Inputs.h"
#include "analysis/ItemList.h"
#include "commands/CommandRun.h"
#include "platform/DiskFileChannels.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "platform/Prompts.h"
#include "platform/SettingsStore.h"

namespace trelvox {

namespace {

using analysis::AnalysisField;

constexpr const char* kAnalyzeSection = "Analyze";

// Where each remembered text field is stored.
struct TextSetting {
  const char* key;
  std::string AnalyzeFormValues::*field;
};
constexpr TextSetting kTextSettings[] = {
    {"Timeout", &AnalyzeFormValues::timeout},
    {"Responses", &AnalyzeFormValues::responses},
    {"MinRt", &AnalyzeFormValues::minRt},
    {"MaxRt", &AnalyzeFormValues::maxRt},
    {"Sd", &AnalyzeFormValues::sd},
    {"MaxErrorRate", &AnalyzeFormValues::maxErrorRate},
    {"ItemList", &AnalyzeFormValues::itemList},
    {"OutputFolder", &AnalyzeFormValues::outputFolder},
};
struct SwitchSetting {
  const char* key;
  bool AnalyzeFormValues::*field;
};
constexpr SwitchSetting kSwitchSettings[] = {
    {"COT", &AnalyzeFormValues::cot},
    {"ZOR", &AnalyzeFormValues::zor},
    {"OpenReport", &AnalyzeFormValues::openReport},
};
// The chosen columns are kept one a line: a line of a table cannot hold a line break.
constexpr const char* kByKey = "By";

struct FieldLabel {
  AnalysisField field;
  AnalyzeControl label;
};
constexpr FieldLabel kFieldLabels[] = {
    {AnalysisField::Inputs, AnalyzeControl::lblInputsError},
    {AnalysisField::Timeout, AnalyzeControl::lblTimeoutError},
    {AnalysisField::Responses, AnalyzeControl::lblResponsesError},
    {AnalysisField::MinRt, AnalyzeControl::lblMinRtError},
    {AnalysisField::MaxRt, AnalyzeControl::lblMaxRtError},
    {AnalysisField::Sd, AnalyzeControl::lblSdError},
    {AnalysisField::MaxErrorRate, AnalyzeControl::lblMaxErrorRateError},
    {AnalysisField::ItemList, AnalyzeControl::lblItemListError},
    {AnalysisField::By, AnalyzeControl::lblByError},
    {AnalysisField::OutputFolder, AnalyzeControl::lblOutputFolderError},
};
constexpr AnalysisField kFields[] = {
    AnalysisField::Inputs,       AnalysisField::Timeout,  AnalysisField::Responses,
    AnalysisField::MinRt,        AnalysisField::MaxRt,    AnalysisField::Sd,
    AnalysisField::MaxErrorRate, AnalysisField::ItemList, AnalysisField::By,
    AnalysisField::OutputFolder,
};

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += (text.empty() ? "" : "\n") + line;
  }
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (end > start) {
      lines.push_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return lines;
}

// Collects at most one problem a field: the first found is the one to mend first.
class Problems {
 public:
  void Add(AnalysisField field, std::string message) {
    if (!Has(field)) {
      list_.push_back({field, std::move(message)});
    }
  }
  bool Has(AnalysisField field) const {
    return std::any_of(list_.begin(), list_.end(),
                       [field](const FieldProblem& problem) { return problem.field == field; });
  }
  std::vector<FieldProblem> Take() { return std::move(list_); }

 private:
  std::vector<FieldProblem> list_;
};

// A typed whole number, read as the parse commands read their answers.
std::optional<std::int16_t> ReadCount(const std::string& text, AnalysisField field,
                                      const char* what, const Locale& locale, Problems& problems) {
  if (IsBlank(text)) {
    return std::nullopt;
  }
  const std::optional<std::int16_t> number = ToInt16(locale.ParseNumber(text));
  if (!number) {
    problems.Add(field, "\"" + text + "\" is no whole number: give " + what + ".");
  }
  return number;
}

std::optional<double> ReadNumber(const std::string& text, AnalysisField field, const char* what,
                                 const Locale& locale, Problems& problems) {
  if (IsBlank(text)) {
    return std::nullopt;
  }
  const std::optional<double> number = locale.ParseNumber(text);
  if (!number || !std::isfinite(*number)) {
    problems.Add(field, "\"" + text + "\" is no number: give " + what + ", or leave it empty.");
    return std::nullopt;
  }
  return number;
}

void ReadNumbers(const AnalyzeFormValues& values, const Locale& locale,
                 analysis::AnalysisRequest& request, Problems& problems) {
  request.timeout = ReadCount(values.timeout, AnalysisField::Timeout,
                              "the time-out in ms, such as 2000", locale, problems);
  request.responses = ReadCount(values.responses, AnalysisField::Responses,
                                "the responses expected per trial, such as 1", locale, problems);
  request.minRt =
      ReadNumber(values.minRt, AnalysisField::MinRt, "a number of ms", locale, problems);
  request.maxRt =
      ReadNumber(values.maxRt, AnalysisField::MaxRt, "a number of ms", locale, problems);
  request.sd =
      ReadNumber(values.sd, AnalysisField::Sd, "a number of standard deviations", locale, problems);
  request.maxErrorRate = ReadNumber(values.maxErrorRate, AnalysisField::MaxErrorRate,
                                    "a share from 0 to 1 (0.2 for 20%)", locale, problems);
}

void CheckInputs(const std::vector<std::string>& inputs, Problems& problems) {
  if (inputs.empty()) {
    problems.Add(AnalysisField::Inputs,
                 "Add the .azk, .zil or composite files to analyse (Add..., or drop them here).");
    return;
  }
  DiskFileChannels files;
  for (const std::string& input : inputs) {
    try {
      bool zil = false;
      if (!analysis::KindOfInput(input, files, zil)) {
        problems.Add(AnalysisField::Inputs, input +
                                                " is no .azk, .zil or composite file: remove it "
                                                "from the list.");
      }
    } catch (const TrelvoxError& error) {
      problems.Add(AnalysisField::Inputs,
                   std::string(error.what()) + " Mend it or remove it from the list.");
    }
  }
}

void CheckItemList(const AnalyzeFormValues& values, Problems& problems) {
  if (values.itemList.empty()) {
    if (!values.by.empty()) {
      problems.Add(AnalysisField::By, "Choose an item list first: its columns make the cells.");
    }
    return;
  }
  std::vector<std::string> columns;
  try {
    columns = ItemListColumns(values.itemList);
  } catch (const TrelvoxError& error) {
    problems.Add(AnalysisField::ItemList,
                 std::string(error.what()) + " Mend it or choose another item list.");
    return;
  }
  for (const std::string& column : values.by) {
    if (std::find(columns.begin(), columns.end(), column) == columns.end()) {
      problems.Add(AnalysisField::By, "The item list has no column " + column +
                                          " any more: choose the columns again.");
    }
  }
}

void CheckOutputFolder(const std::string& folder, Problems& problems) {
  if (IsBlank(folder)) {
    problems.Add(AnalysisField::OutputFolder,
                 "Choose the folder the tables go to (Browse...); it is made when missing.");
    return;
  }
  std::error_code ignored;
  const std::filesystem::path path = PathFromBytes(folder);
  if (std::filesystem::exists(path, ignored) && !std::filesystem::is_directory(path, ignored)) {
    problems.Add(AnalysisField::OutputFolder,
                 folder + " is a file, not a folder: choose a folder for the tables.");
  }
}

}  // namespace

CheckedForm CheckForm(const AnalyzeFormValues& values, const Locale& locale) {
  CheckedForm checked;
  analysis::AnalysisRequest& request = checked.request;
  request.inputs = values.inputs;
  request.itemList = values.itemList;
  request.by = values.by;
  request.outputFolder = values.outputFolder;
  request.cot = values.cot;
  request.zor = values.zor;
  Problems problems;
  ReadNumbers(values, locale, request, problems);
  CheckInputs(values.inputs, problems);
  CheckItemList(values, problems);
  CheckOutputFolder(values.outputFolder, problems);
  if (const auto failure = analysis::CheckRequest(request)) {
    problems.Add(failure->field, failure->message);
  }
  checked.problems = problems.Take();
  return checked;
}

std::vector<std::string> ItemListColumns(const std::string& path) {
  DiskFileChannels files;
  return analysis::ItemList::Read(path, files).Columns();
}

AnalyzeControl ProblemLabelOf(AnalysisField field) {
  for (const FieldLabel& entry : kFieldLabels) {
    if (entry.field == field) {
      return entry.label;
    }
  }
  return AnalyzeControl::lblInputsError;
}

std::span<const AnalysisField> FormFields() {
  return kFields;
}

AnalyzeFormValues LoadRememberedValues(const SettingsStore& settings) {
  AnalyzeFormValues values;
  for (const TextSetting& setting : kTextSettings) {
    values.*setting.field = settings.Get(kAppTitle, kAnalyzeSection, setting.key, "");
  }
  for (const SwitchSetting& setting : kSwitchSettings) {
    const std::string fallback = values.*setting.field ? "1" : "0";
    values.*setting.field = settings.Get(kAppTitle, kAnalyzeSection, setting.key, fallback) == "1";
  }
  values.by = SplitLines(settings.Get(kAppTitle, kAnalyzeSection, kByKey, ""));
  return values;
}

void RememberValues(SettingsStore& settings, const AnalyzeFormValues& values) {
  for (const TextSetting& setting : kTextSettings) {
    settings.Set(kAppTitle, kAnalyzeSection, setting.key, values.*setting.field);
  }
  for (const SwitchSetting& setting : kSwitchSettings) {
    settings.Set(kAppTitle, kAnalyzeSection, setting.key, values.*setting.field ? "1" : "0");
  }
  settings.Set(kAppTitle, kAnalyzeSection, kByKey, JoinLines(values.by));
}

void AddInputs(std::vector<std::string>& inputs, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (!path.empty() && std::find(inputs.begin(), inputs.end(), path) == inputs.end()) {
      inputs.push_back(path);
    }
  }
}

void RemoveInputs(std::vector<std::string>& inputs, std::vector<std::size_t> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    if (*row < inputs.size()) {
      inputs.erase(inputs.begin() + static_cast<std::ptrdiff_t>(*row));
    }
  }
}

std::string ProgressText(const analysis::AnalysisProgress& progress) {
  if (progress.file.empty()) {
    return "Writing the tables";
  }
  std::string text = "Reading " + std::string(progress.file);
  if (progress.passes > 1) {
    text +=
        " (pass " + std::to_string(progress.pass) + " of " + std::to_string(progress.passes) + ")";
  }
  return text;
}

int ProgressPermille(const analysis::AnalysisProgress& progress) {
  if (progress.bytesTotal == 0) {
    return 0;
  }
  const std::uint64_t done = std::min(progress.bytesDone, progress.bytesTotal);
  return static_cast<int>(done * 1000 / progress.bytesTotal);
}

std::string SummaryLine(const analysis::AnalysisSummary& summary) {
  const auto count = [](long number, const char* one, const char* many) {
    return std::to_string(number) + " " + (number == 1 ? one : many);
  };
  return count(summary.subjects, "subject", "subjects") + ", " +
         count(summary.trials, "trial", "trials") + ", " + std::to_string(summary.excluded) +
         " excluded, " + count(summary.anomalies, "anomaly", "anomalies") + ".";
}

bool ControlEnabled(AnalyzeControl control, bool running) {
  switch (control) {
    case AnalyzeControl::cmdCancel:
      return running;
    case AnalyzeControl::prgProgress:
    case AnalyzeControl::lblCurrentFile:
    case AnalyzeControl::lblSummary:
    case AnalyzeControl::lstNotices:
    case AnalyzeControl::cmdOpenFolder:
    case AnalyzeControl::cmdClose:
      return true;
    default:
      return !running;
  }
}

}  // namespace trelvox
