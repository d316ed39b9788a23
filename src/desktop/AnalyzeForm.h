#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "desktop/WindowLayout.h"

namespace trelvox {

class Locale;
class SettingsStore;

// The filters of Add... and of the item list's Browse..., as "description|patterns" pairs.
inline constexpr const char* kAnalyzeInputFilter =
    "DMDX results and composite files|*.azk;*.zil;*.dat|All Files (*.*)|*.*";
inline constexpr const char* kItemListFilter = "Item lists|*.csv;*.tsv;*.txt|All Files (*.*)|*.*";

// What the Analyze window's fields hold, as the user typed and chose it.
struct AnalyzeFormValues {
  std::vector<std::string> inputs;
  std::string timeout;
  std::string responses;
  std::string minRt;
  std::string maxRt;
  std::string sd;
  std::string maxErrorRate;
  bool cot = false;
  bool zor = false;
  std::string itemList;
  std::vector<std::string> by;  // the chosen columns of the item list
  std::string outputFolder;
  bool openReport = true;
  friend bool operator==(const AnalyzeFormValues&, const AnalyzeFormValues&) = default;
};

// What is wrong with one field, and what to do about it.
struct FieldProblem {
  analysis::AnalysisField field;
  std::string message;
};

// The request the form makes, or the problems that keep it from running (at most one a field).
struct CheckedForm {
  analysis::AnalysisRequest request;
  std::vector<FieldProblem> problems;
  bool Runs() const { return problems.empty(); }
};

// Reads the typed numbers under the user's locale, then looks at the files before anything is
// written: every input must open and be an AZK, ZIL or composite file, the item list must be
// one and hold the chosen columns, the output folder must not be a file. The request's own
// rules (ranges, time-out for AZK input) are the analysis' own check.
CheckedForm CheckForm(const AnalyzeFormValues& values, const Locale& locale);

// The columns of the item list at `path` that can make cells; raises TrelvoxError, naming what
// to mend, when it is no item list.
std::vector<std::string> ItemListColumns(const std::string& path);

// The label that tells the problems of a field.
AnalyzeControl ProblemLabelOf(analysis::AnalysisField field);
// Every field that has a problem label, in the window's order.
std::span<const analysis::AnalysisField> FormFields();

// The values the window opened with last time, all but the inputs; the defaults where nothing
// is stored.
AnalyzeFormValues LoadRememberedValues(const SettingsStore& settings);
void RememberValues(SettingsStore& settings, const AnalyzeFormValues& values);

// Adds the paths not listed yet, in their order.
void AddInputs(std::vector<std::string>& inputs, const std::vector<std::string>& paths);
// Removes the inputs at those rows; rows beyond the list are ignored.
void RemoveInputs(std::vector<std::string>& inputs, std::vector<std::size_t> rows);

// "Reading day1.azk (pass 1 of 2)"; "Writing the tables" once every input is read.
std::string ProgressText(const analysis::AnalysisProgress& progress);
// How far the run has got, from 0 to 1000.
int ProgressPermille(const analysis::AnalysisProgress& progress);
// "12 subjects, 4800 trials, 1 excluded, 3 anomalies."
std::string SummaryLine(const analysis::AnalysisSummary& summary);

// Whether the control can be used: while an analysis runs the fields and Analyze wait, and
// Cancel can be pressed only then.
bool ControlEnabled(AnalyzeControl control, bool running);

}  // namespace trelvox
