#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/Figures.h"
#include "analysis/Inputs.h"
#include "analysis/ItemList.h"
#include "analysis/Trials.h"
#include "analysis/Tsv.h"

namespace trelvox {
class FileChannels;
}

namespace trelvox::analysis {

enum class Trim : std::uint8_t { None, Fast, Slow, SdLow, SdHigh };
std::string_view TrimName(Trim trim);

struct InputEntry {
  std::string path;
  std::string name;  // without folder
  InputKind kind = InputKind::Azk;
  bool zil = false;
  std::uintmax_t bytes = 0;
  long subjects = 0;
  long blocks = 0;
  long trials = 0;
  // Second pass: reaction times with more decimals than hundredths, which rt rounds.
  long roundedRts = 0;
  std::string firstRounded;  // "499.996 as 500.00"
};

struct SubjectEntry {
  std::string name;
  int files = 0;
  std::size_t lastInput = SIZE_MAX;
  long blocks = 0;
  long trials = 0;
  long correct = 0;
  long errors = 0;
  long noResponses = 0;
  // Correct trials not cut off as fast or slow, per cell: what --sd measures against. Index 0
  // holds the items that the item list lacks, cell c is at c + 1.
  std::vector<Spread> spread;
  bool excluded = false;
  std::string reason;
  // Second pass.
  long trimmed = 0;
  RtFigures rts;                   // correct, untrimmed
  std::vector<CellFigures> cells;  // per cell
  // A bit per item the subject saw, for the items' subject counts. Kept with the subject, not
  // the item: a block's trials are all one subject's, so its bits stay close at hand.
  std::vector<std::uint64_t> itemsSeen;

  Spread& SpreadOf(int cell);
  const Spread* FindSpread(int cell) const;
  long WithOutcome() const { return correct + errors + noResponses; }
};

struct ItemEntry {
  std::string text;  // as written in the data
  int listRow = -1;  // in the item list, or -1
  int cell = -1;     // -1: the item list lacks it, so it is in no cell
  long correct = 0;  // first pass: room for the times the second keeps
  // Second pass, excluded subjects left out.
  long presentations = 0;
  long errors = 0;
  long noResponses = 0;
  long withOutcome = 0;
  long subjects = 0;
  RtFigures rts;
  std::string listCells;  // "\t" and each item-list value, ready for the rows
  long block = -1;        // the block of its last presentation
  int repetition = 0;
};

struct AnomalyEntry {
  std::size_t input = 0;
  std::string subject;  // empty: between blocks
  AnomalyKind kind = AnomalyKind::LineWithoutRt;
  long count = 0;
  std::string example;
};

struct DuplicateEntry {
  std::string subject;
  std::size_t input = 0;
  long block = 0;
  std::size_t firstInput = 0;
  long firstBlock = 0;
};

struct PositionFigures {
  Centis sum = 0;
  long count = 0;
};

struct KeyFigures {
  std::string key;
  long presses = 0;
  long releases = 0;
};

// What the analysis knows of its inputs: the subjects, items and cells met in the first pass
// with the figures that flags depend on, and the figures the second pass gathers.
class Catalog {
 public:
  Catalog(const AnalysisRequest& request, const ItemList* list, std::vector<int> byColumns);

  int SubjectOf(const std::string& name);
  int ItemOf(std::string_view text);  // adds it when new
  void AddAnomaly(std::size_t input, const std::string& subject, AnomalyKind kind,
                  std::string_view line);

  // --min-rt and --max-rt; then --sd against the subject's cell.
  Trim CutoffTrim(Centis rt) const;
  Trim TrimOf(const TrialFacts& trial, const SubjectEntry& subject, int cell) const;

  // Whether a first reading must come before the rows: only the exclusion and the SD trims
  // depend on figures of the whole input. Without them one reading does both passes' work.
  bool NeedsFirstPass() const { return request.sd || request.maxErrorRate; }
  // After the first pass: who is excluded, and room for the times the second pass keeps.
  void Decide();

  const AnalysisRequest& request;
  const ItemList* list;
  const std::vector<int> byColumns;

  std::vector<InputEntry> inputs;
  std::vector<SubjectEntry> subjects;
  std::vector<ItemEntry> items;
  std::vector<std::string> cells;  // names, in order of first appearance
  std::vector<char> listed;        // per item-list row: presented
  std::vector<AnomalyEntry> anomalies;
  std::vector<std::string> notices;  // the readers' own words, as told
  std::vector<DuplicateEntry> duplicates;
  bool anyZil = false;  // known before the first row: it decides the trial table's columns

  // Second pass.
  std::vector<PositionFigures> positions;  // by trial number
  std::vector<long> eventsPerTrial;        // ZIL: trials by their number of events
  std::vector<KeyFigures> keys;

  void CountKey(std::string_view key, KeyAction action);

 private:
  int CellOf(int listRow);

  std::unordered_map<std::string, int> subjectIndex_;
  ItemIndex itemIndex_;
  std::unordered_map<std::string, int> cellIndex_;
  std::unordered_map<std::string, std::size_t> anomalyIndex_;
  std::unordered_map<std::string, std::size_t> keyIndex_;

  friend class SecondPass;
};

// The first reading: subjects, items, cells, counts, the spread --sd needs, anomalies.
class FirstPass final : public TrialSink {
 public:
  explicit FirstPass(Catalog& catalog) : catalog_(catalog) {}
  void InputStarted(std::size_t index) override;
  void BlockStarted(const BlockFacts& block) override;
  void Trial(const TrialFacts& trial) override;
  void BlockEnded() override;
  void Anomaly(AnomalyKind kind, std::string_view line) override;
  void Notice(std::string_view text) override { catalog_.notices.emplace_back(text); }
  // The index of the last trial's item.
  int LastItem() const { return lastItem_; }

 private:
  void Mix(std::string_view text);
  void Mix(std::uint64_t value);

  Catalog& catalog_;
  std::size_t input_ = 0;
  long block_ = 0;
  int subject_ = -1;
  bool inBlock_ = false;
  std::uint64_t fingerprint_ = 0;
  long blockTrials_ = 0;
  int lastItem_ = -1;
  std::unordered_map<std::string, std::pair<std::size_t, long>> seenBlocks_;
};

// The second reading: the rows of trials.tsv and events.tsv, and the figures of the tables.
class SecondPass final : public TrialSink {
 public:
  // `eventsChannel` is 0 when no input is ZIL.
  SecondPass(Catalog& catalog, FileChannels& out, std::int16_t trialsChannel,
             std::int16_t eventsChannel);
  void InputStarted(std::size_t index) override;
  void BlockStarted(const BlockFacts& block) override;
  void Trial(const TrialFacts& trial) override;
  void BlockEnded() override {}
  void Anomaly(AnomalyKind kind, std::string_view line) override {
    (void)kind;
    (void)line;
  }
  void Notice(std::string_view text) override { (void)text; }
  // A trial whose item is known by its index already.
  void TrialOfItem(const TrialFacts& trial, int index);

 private:
  void WriteRow(const TrialFacts& trial, const ItemEntry& item, Trim trim);
  void WriteEvents(const TrialFacts& trial);
  void CountRounded(std::string_view raw, std::string_view rt);
  void Count(const TrialFacts& trial, ItemEntry& item, Trim trim);
  // The item's first trial in the block: a subject more for it, unless one of the subject's
  // earlier blocks had it.
  void CountSubjectOf(ItemEntry& item, std::size_t index, SubjectEntry& subject);

  Catalog& catalog_;
  FileChannels& out_;
  std::int16_t trialsChannel_;
  std::int16_t eventsChannel_;
  std::size_t input_ = 0;
  long block_ = 0;
  long blockStamp_ = 0;
  int subject_ = -1;
  std::string prefix_;       // the row's cells up to the trial number, with their tabs
  std::string eventPrefix_;  // events.tsv's likewise
  RowBuffer row_;
  Outcome previousOutcome_ = Outcome::None;
  std::string previousRt_;  // the rt cell of the block's previous row, as written there
};

// Both readings in one, for a request whose flags need no figures of the whole input first: each
// event goes to the first pass, then to the second.
class BothPasses final : public TrialSink {
 public:
  BothPasses(FirstPass& first, SecondPass& second) : first_(first), second_(second) {}
  void InputStarted(std::size_t index) override {
    first_.InputStarted(index);
    second_.InputStarted(index);
  }
  void BlockStarted(const BlockFacts& block) override {
    first_.BlockStarted(block);
    second_.BlockStarted(block);
  }
  void Trial(const TrialFacts& trial) override {
    first_.Trial(trial);
    second_.TrialOfItem(trial, first_.LastItem());  // found once, not twice
  }
  void BlockEnded() override {
    first_.BlockEnded();
    second_.BlockEnded();
  }
  void Anomaly(AnomalyKind kind, std::string_view line) override { first_.Anomaly(kind, line); }
  void Notice(std::string_view text) override { first_.Notice(text); }

 private:
  FirstPass& first_;
  SecondPass& second_;
};

}  // namespace trelvox::analysis
