#include "analysis/Schema.h"

#include "analysis/Tsv.h"

namespace trelvox::analysis {

namespace {

const std::vector<std::string> kOutcomes = {"correct", "error", "no_response"};
const std::vector<std::string> kTrims = {"fast", "slow", "sd_low", "sd_high"};
const std::vector<std::string> kFlag = {"0", "1"};

ColumnLayout Text(std::string name, std::string description) {
  return {std::move(name), ColumnType::String, std::move(description), "", -1, {}};
}

ColumnLayout Count(std::string name, std::string description) {
  return {std::move(name), ColumnType::Integer, std::move(description), "", -1, {}};
}

ColumnLayout Ms(std::string name, std::string description, int decimals = kRtDecimals) {
  return {std::move(name), ColumnType::Number, std::move(description), "ms", decimals, {}};
}

ColumnLayout Rate(std::string name, std::string description) {
  return {std::move(name), ColumnType::Number, std::move(description), "", kRateDecimals, {}};
}

ColumnLayout Choice(std::string name, std::string description,
                    const std::vector<std::string>& values) {
  return {std::move(name), ColumnType::String, std::move(description), "", -1, values};
}

ColumnLayout Excluded() {
  return {"excluded",
          ColumnType::Integer,
          "1 when the subject is excluded for its error rate (--max-error-rate), else 0",
          "",
          -1,
          kFlag};
}

void AddListColumns(std::vector<ColumnLayout>& columns, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    columns.push_back(Text(name, "From the item list, joined by item number"));
  }
}

void AddRtFigures(std::vector<ColumnLayout>& columns) {
  columns.push_back(Ms("mean_rt", "Mean reaction time of the correct, untrimmed trials"));
  columns.push_back(Ms("median_rt", "Median reaction time of the correct, untrimmed trials"));
  columns.push_back(
      Ms("sd_rt",
         "Sample standard deviation (n - 1) of the reaction times of the correct, untrimmed "
         "trials"));
}

const char* kErrorRate =
    "Share of error and no_response among the trials with an outcome; empty when some trials "
    "have none (ZIL trials without the item line's own reaction time), as their correct trials "
    "cannot be told from their errors";

}  // namespace

TableLayout TrialsTable(const TableShape& shape) {
  TableLayout table{"trials", "trials.tsv", "One row per trial, in file order", {}};
  auto& c = table.columns;
  c.push_back(Text("file", "The input's file name, without folder"));
  c.push_back(Count("block", "The subject block's order in its file, from 1"));
  c.push_back(Text("subject",
                   "The subject's ID from the block's header; without one, S and the header's "
                   "subject number"));
  c.push_back({"date", ColumnType::Date, "The date of the block's header", "", -1, {}});
  c.push_back({"time", ColumnType::Time, "The time of day of the block's header", "", -1, {}});
  c.push_back(Text("machine", "The machine named in the block's header"));
  c.push_back(
      Ms("refresh_ms", "The display's refresh interval named in the header, as written", -1));
  c.push_back(Count("trial", "The trial's order within the block, from 1"));
  c.push_back(Text("item", "The item number as written"));
  AddListColumns(c, shape.listColumns);
  c.push_back(Choice("outcome",
                     "AZK: RT 0 or more correct, exactly minus the time-out no_response, any other "
                     "negative RT error. ZIL: from the item line's own RT likewise, no_response "
                     "for \"No Responses\"; empty where the file does not say",
                     kOutcomes));
  c.push_back(Ms("rt", "The reaction time without sign; empty for no_response"));
  c.push_back(Text("rt_raw", "The reaction time as DMDX wrote it"));
  if (shape.cot) {
    c.push_back(Ms("cot", "The clock-on time, as written", -1));
  }
  if (shape.zil) {
    c.push_back(Text("response", "ZIL: the key of the trial's first key press, without its sign"));
    c.push_back(Count("responses", "ZIL: how many events (presses and releases) the trial has"));
  }
  c.push_back(Choice("prev_outcome", "The outcome of the block's previous trial", kOutcomes));
  c.push_back(Ms("prev_rt", "The rt of the block's previous trial"));
  c.push_back(Count("repetition",
                    "1 for the item's first presentation in the block, 2 for the second, ..."));
  c.push_back(Choice("trim",
                     "Why the trial is left out of reaction-time figures: fast or slow (--min-rt, "
                     "--max-rt), sd_low or sd_high (--sd, per subject and cell); empty when it "
                     "is not",
                     kTrims));
  c.push_back(Excluded());
  return table;
}

TableLayout EventsTable() {
  TableLayout table{"events", "events.tsv", "ZIL inputs: one row per recorded event", {}};
  auto& c = table.columns;
  c.push_back(Text("file", "The input's file name, without folder"));
  c.push_back(Count("block", "The subject block's order in its file, from 1"));
  c.push_back(Text("subject", "As in trials.tsv"));
  c.push_back(Count("trial", "The trial's order within the block, from 1"));
  c.push_back(Text("item", "The item number as written"));
  c.push_back(Count("event", "The event's order within the trial, from 1"));
  c.push_back(Ms("time", "The event's time from the start of the trial, as written", -1));
  c.push_back(Text("key", "The key or button, without its sign"));
  c.push_back(Choice("action", "press (+) or release (-)", {"press", "release"}));
  return table;
}

TableLayout SubjectsTable() {
  TableLayout table{"subjects", "subjects.tsv", "One row per subject", {}};
  auto& c = table.columns;
  c.push_back(Text("subject", "As in trials.tsv"));
  c.push_back(Count("files", "How many input files hold blocks of the subject"));
  c.push_back(Count("blocks", "How many blocks the subject has"));
  c.push_back(Count("trials", "All trials"));
  c.push_back(Count("correct", "Trials with outcome correct"));
  c.push_back(Count("errors", "Trials with outcome error"));
  c.push_back(Count("no_responses", "Trials with outcome no_response"));
  c.push_back(Rate("error_rate", kErrorRate));
  AddRtFigures(c);
  c.push_back(Count("trimmed", "Trials with a trim"));
  c.push_back(Excluded());
  c.push_back(Text("reason", "Why the subject is excluded; empty when it is not"));
  return table;
}

TableLayout ItemsTable(const TableShape& shape) {
  TableLayout table{"items",
                    "items.tsv",
                    "One row per item presented; excluded subjects are left out of the figures",
                    {}};
  auto& c = table.columns;
  c.push_back(Text("item", "The item number as written"));
  AddListColumns(c, shape.listColumns);
  c.push_back(Count("presentations", "Trials of the item"));
  c.push_back(Count("subjects", "Subjects who saw the item"));
  c.push_back(Count("errors", "Trials with outcome error"));
  c.push_back(Count("no_responses", "Trials with outcome no_response"));
  c.push_back(Rate("error_rate", kErrorRate));
  AddRtFigures(c);
  return table;
}

TableLayout BySubjectTable(const TableShape& shape) {
  TableLayout table{"by_subject",
                    "by_subject.tsv",
                    "One row per subject that is not excluded, one pair of columns per cell of "
                    "the --by columns (all without --by): for a by-subjects analysis",
                    {}};
  auto& c = table.columns;
  c.push_back(Text("subject", "As in trials.tsv"));
  for (const std::string& cell : shape.cells) {
    c.push_back(Ms(cell + "_rt", "Cell " + cell +
                                     ": mean reaction time of the correct, "
                                     "untrimmed trials"));
    c.push_back(Rate(cell + "_error_rate", "Cell " + cell + ": " + kErrorRate));
  }
  return table;
}

TableLayout ByItemTable(const TableShape& shape) {
  TableLayout table{"by_item",
                    "by_item.tsv",
                    "One row per item, excluded subjects left out: for a by-items analysis",
                    {}};
  auto& c = table.columns;
  c.push_back(Text("item", "The item number as written"));
  AddListColumns(c, shape.byColumns);
  c.push_back(Ms("mean_rt", "Mean reaction time of the correct, untrimmed trials"));
  c.push_back(Rate("error_rate", kErrorRate));
  c.push_back(Count("subjects", "Subjects who saw the item"));
  return table;
}

std::string HeaderRow(const TableLayout& table) {
  TsvRow row;
  for (const ColumnLayout& column : table.columns) {
    row.Text(column.name);
  }
  return std::string(row.Finish());
}

}  // namespace trelvox::analysis
