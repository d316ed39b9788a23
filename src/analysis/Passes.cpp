#include "analysis/Passes.h"

#include <algorithm>

#include "analysis/Schema.h"
#include "analysis/Tsv.h"
#include "platform/Errors.h"

namespace trelvox::analysis {

namespace {

constexpr char kKeySeparator = '\x1f';  // joins the parts of a key: never in a line of text

// FNV-1a: a block's trials boiled down to one number, to find blocks given twice.
constexpr std::uint64_t kFnvOffset = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;

std::string FormattedRate(double rate, int decimals) {
  std::string text;
  AppendFixed(text, rate, decimals);
  return text;
}

// The cells of the trial table that are one of a few words, each with the tab before it.
constexpr Word kOutcomeCells[] = {Word("\t"), Word("\tcorrect"), Word("\terror"),
                                  Word("\tno_response")};
constexpr Word kTrimCells[] = {Word("\t"), Word("\tfast"), Word("\tslow"), Word("\tsd_low"),
                               Word("\tsd_high")};
constexpr Word kExcludedCells[] = {Word("\t0\n"), Word("\t1\n")};

// More decimals than the hundredths DMDX writes, as some programs write composite files.
bool HasLongDecimals(std::string_view text) {
  const std::size_t point = text.find('.');
  return point != std::string_view::npos && text.size() - point > 3;
}

// The rt cell: the time as written without its sign when DMDX wrote it as the cell shows it
// ("-804.11"), which spares formatting the number; otherwise formatted in hundredths, and
// `rounded` tells when that dropped decimals.
char* PutRt(char* at, const TrialFacts& trial, bool& rounded) {
  if (!trial.rt) {
    return at;
  }
  std::string_view raw = trial.rtRaw;
  raw.remove_prefix(!raw.empty() && raw.front() == '-' ? 1 : 0);
  const std::size_t size = raw.size();
  const bool asWritten = size >= 4 && size <= 10 && raw[size - 3] == '.' &&
                         (raw[0] != '0' || size == 4) && raw[0] != '+';
  if (asWritten) {
    return Put(at, raw);
  }
  rounded = HasLongDecimals(raw);
  return PutCentis(at, *trial.rt);
}

}  // namespace

std::string_view TrimName(Trim trim) {
  switch (trim) {
    case Trim::Fast:
      return "fast";
    case Trim::Slow:
      return "slow";
    case Trim::SdLow:
      return "sd_low";
    case Trim::SdHigh:
      return "sd_high";
    case Trim::None:
      break;
  }
  return {};
}

Spread& SubjectEntry::SpreadOf(int cell) {
  const auto index = static_cast<std::size_t>(cell + 1);
  if (spread.size() <= index) {
    spread.resize(index + 1);
  }
  return spread[index];
}

const Spread* SubjectEntry::FindSpread(int cell) const {
  const auto index = static_cast<std::size_t>(cell + 1);
  return index < spread.size() ? &spread[index] : nullptr;
}

Catalog::Catalog(const AnalysisRequest& request, const ItemList* list, std::vector<int> byColumns)
    : request(request), list(list), byColumns(std::move(byColumns)) {
  if (list != nullptr) {
    listed.assign(static_cast<std::size_t>(list->Rows()), 0);
  }
}

int Catalog::SubjectOf(const std::string& name) {
  const auto [found, added] = subjectIndex_.emplace(name, static_cast<int>(subjects.size()));
  if (added) {
    subjects.emplace_back().name = name;
  }
  return found->second;
}

int Catalog::CellOf(int listRow) {
  std::string key;
  std::string name;
  if (byColumns.empty()) {
    name = "all";
  } else if (listRow < 0) {
    return -1;  // the item list lacks the item: it has no levels
  } else {
    const std::vector<std::string>& values = list->Values(listRow);
    for (const int column : byColumns) {
      const std::string& level = values[static_cast<std::size_t>(column)];
      name += (key.empty() ? "" : "_") + level;
      key += level + kKeySeparator;
    }
  }
  const auto [found, added] = cellIndex_.emplace(key, static_cast<int>(cells.size()));
  if (added) {
    cells.push_back(name);
  }
  return found->second;
}

int Catalog::ItemOf(std::string_view text) {
  const int next = static_cast<int>(items.size());
  const int index = itemIndex_.FindOrAdd(text, next);
  if (index == next) {
    ItemEntry& item = items.emplace_back();
    item.text.assign(text);
    item.listRow = list != nullptr ? list->RowOf(text) : -1;
    if (item.listRow >= 0) {
      listed[static_cast<std::size_t>(item.listRow)] = 1;
    }
    item.cell = CellOf(item.listRow);
    for (std::size_t column = 0; list != nullptr && column < list->Columns().size(); ++column) {
      item.listCells += '\t';
      if (item.listRow >= 0) {
        AppendText(item.listCells, list->Values(item.listRow)[column]);
      }
    }
  }
  return index;
}

void Catalog::AddAnomaly(std::size_t input, const std::string& subject, AnomalyKind kind,
                         std::string_view line) {
  std::string key = std::to_string(input) + kKeySeparator + subject + kKeySeparator;
  key += static_cast<char>('A' + static_cast<int>(kind));
  const auto [found, added] = anomalyIndex_.emplace(std::move(key), anomalies.size());
  if (added) {
    anomalies.push_back({input, subject, kind, 0, std::string(line)});
  }
  ++anomalies[found->second].count;
}

void Catalog::CountKey(std::string_view key, KeyAction action) {
  const auto [found, added] = keyIndex_.emplace(std::string(key), keys.size());
  if (added) {
    keys.push_back({std::string(key), 0, 0});
  }
  KeyFigures& figures = keys[found->second];
  figures.presses += action == KeyAction::Press ? 1 : 0;
  figures.releases += action == KeyAction::Release ? 1 : 0;
}

Trim Catalog::CutoffTrim(Centis rt) const {
  const auto ms = static_cast<double>(rt);
  if (request.minRt && ms < *request.minRt * 100) {
    return Trim::Fast;
  }
  if (request.maxRt && ms > *request.maxRt * 100) {
    return Trim::Slow;
  }
  return Trim::None;
}

Trim Catalog::TrimOf(const TrialFacts& trial, const SubjectEntry& subject, int cell) const {
  if (trial.outcome != Outcome::Correct || !trial.rt) {
    return Trim::None;
  }
  const Trim cutoff = CutoffTrim(*trial.rt);
  if (cutoff != Trim::None || !request.sd) {
    return cutoff;
  }
  const Spread* spread = subject.FindSpread(cell);
  const std::optional<double> sd = spread != nullptr ? spread->Sd() : std::nullopt;
  if (!sd) {
    return Trim::None;
  }
  const auto rt = static_cast<double>(*trial.rt);
  if (rt < spread->Mean() - *request.sd * *sd) {
    return Trim::SdLow;
  }
  if (rt > spread->Mean() + *request.sd * *sd) {
    return Trim::SdHigh;
  }
  return Trim::None;
}

void Catalog::Decide() {
  for (SubjectEntry& subject : subjects) {
    subject.rts.Reserve(subject.correct);
    const std::optional<double> rate =
        ErrorRate(subject.errors + subject.noResponses, subject.WithOutcome(), subject.trials);
    if (request.maxErrorRate && rate && *rate > *request.maxErrorRate) {
      subject.excluded = true;
      subject.reason = "error rate " + FormattedRate(*rate, kRateDecimals) + " above " +
                       PlainNumber(*request.maxErrorRate);
    }
  }
  for (ItemEntry& item : items) {
    item.rts.Reserve(item.correct);
  }
}

void FirstPass::InputStarted(std::size_t index) {
  input_ = index;
  block_ = 0;
}

void FirstPass::Mix(std::uint64_t value) {
  fingerprint_ = (fingerprint_ ^ value) * kFnvPrime;
}

void FirstPass::Mix(std::string_view text) {
  for (const char c : text) {
    fingerprint_ = (fingerprint_ ^ static_cast<unsigned char>(c)) * kFnvPrime;
  }
  fingerprint_ = (fingerprint_ ^ 0xFF) * kFnvPrime;  // ends the text: "1","23" is not "12","3"
}

void FirstPass::BlockStarted(const BlockFacts& block) {
  ++block_;
  subject_ = catalog_.SubjectOf(block.subject);
  SubjectEntry& subject = catalog_.subjects[static_cast<std::size_t>(subject_)];
  InputEntry& input = catalog_.inputs[input_];
  if (subject.lastInput != input_) {
    subject.lastInput = input_;
    ++subject.files;
    ++input.subjects;
  }
  ++subject.blocks;
  ++input.blocks;
  inBlock_ = true;
  fingerprint_ = kFnvOffset;
  blockTrials_ = 0;
  for (const std::string* part : {&block.subject, &block.date, &block.time}) {
    Mix(*part);
  }
}

void FirstPass::Trial(const TrialFacts& trial) {
  ItemEntry& item = catalog_.items[static_cast<std::size_t>(catalog_.ItemOf(trial.item))];
  SubjectEntry& subject = catalog_.subjects[static_cast<std::size_t>(subject_)];
  ++subject.trials;
  ++catalog_.inputs[input_].trials;
  ++blockTrials_;
  // The item by its number and the time in hundredths: two steps, not one per byte.
  lastItem_ = static_cast<int>(&item - catalog_.items.data());
  Mix(static_cast<std::uint64_t>(lastItem_));
  Mix(static_cast<std::uint64_t>(trial.rt.value_or(-1 - static_cast<int>(trial.outcome))));
  switch (trial.outcome) {
    case Outcome::Correct:
      ++subject.correct;
      ++item.correct;
      break;
    case Outcome::Error:
      ++subject.errors;
      break;
    case Outcome::NoResponse:
      ++subject.noResponses;
      break;
    case Outcome::None:
      break;
  }
  if (catalog_.request.sd && trial.outcome == Outcome::Correct && trial.rt &&
      catalog_.CutoffTrim(*trial.rt) == Trim::None) {
    subject.SpreadOf(item.cell).Add(static_cast<double>(*trial.rt));
  }
}

void FirstPass::BlockEnded() {
  inBlock_ = false;
  if (blockTrials_ == 0) {
    return;  // an empty block repeats nothing worth telling
  }
  const std::string key = std::to_string(fingerprint_) + ":" + std::to_string(blockTrials_);
  const auto [found, added] = seenBlocks_.emplace(key, std::make_pair(input_, block_));
  if (!added) {
    const std::string& subject = catalog_.subjects[static_cast<std::size_t>(subject_)].name;
    catalog_.duplicates.push_back(
        {subject, input_, block_, found->second.first, found->second.second});
    catalog_.AddAnomaly(input_, subject, AnomalyKind::DuplicateBlock,
                        "block " + std::to_string(block_));
  }
}

void FirstPass::Anomaly(AnomalyKind kind, std::string_view line) {
  const std::string none;
  catalog_.AddAnomaly(input_,
                      inBlock_ ? catalog_.subjects[static_cast<std::size_t>(subject_)].name : none,
                      kind, line);
}

SecondPass::SecondPass(Catalog& catalog, FileChannels& out, std::int16_t trialsChannel,
                       std::int16_t eventsChannel)
    : catalog_(catalog), out_(out), trialsChannel_(trialsChannel), eventsChannel_(eventsChannel) {}

void SecondPass::InputStarted(std::size_t index) {
  input_ = index;
  block_ = 0;
}

void SecondPass::BlockStarted(const BlockFacts& block) {
  ++block_;
  ++blockStamp_;
  const auto found = catalog_.subjectIndex_.find(block.subject);
  if (found == catalog_.subjectIndex_.end()) {
    throw ReadError(catalog_.inputs[input_].path +
                    " changed while it was analysed: analyse it again once nothing writes to it.");
  }
  subject_ = found->second;
  eventPrefix_.clear();
  AppendText(eventPrefix_, catalog_.inputs[input_].name);
  eventPrefix_ += '\t';
  AppendInteger(eventPrefix_, block_);
  eventPrefix_ += '\t';
  AppendText(eventPrefix_, block.subject);
  eventPrefix_ += '\t';
  prefix_ = eventPrefix_;
  for (const std::string* part : {&block.date, &block.time, &block.machine, &block.refreshMs}) {
    AppendText(prefix_, *part);
    prefix_ += '\t';
  }
  previousOutcome_ = Outcome::None;
  previousRt_.clear();
}

void SecondPass::Trial(const TrialFacts& trial) {
  const int index = catalog_.itemIndex_.Find(trial.item);
  if (index < 0) {
    throw ReadError(catalog_.inputs[input_].path +
                    " changed while it was analysed: analyse it again once nothing writes to it.");
  }
  TrialOfItem(trial, index);
}

void SecondPass::TrialOfItem(const TrialFacts& trial, int index) {
  ItemEntry& item = catalog_.items[static_cast<std::size_t>(index)];
  SubjectEntry& subject = catalog_.subjects[static_cast<std::size_t>(subject_)];
  const bool firstInBlock = item.block != blockStamp_;
  if (firstInBlock) {
    item.block = blockStamp_;
    item.repetition = 0;
  }
  ++item.repetition;
  const Trim trim = catalog_.TrimOf(trial, subject, item.cell);
  WriteRow(trial, item, trim);
  if (eventsChannel_ != 0 && trial.zil) {
    WriteEvents(trial);
  }
  Count(trial, item, trim);
  if (firstInBlock && !subject.excluded) {
    CountSubjectOf(item, static_cast<std::size_t>(index), subject);
  }
  previousOutcome_ = trial.outcome;
}

void SecondPass::WriteRow(const TrialFacts& trial, const ItemEntry& item, Trim trim) {
  const SubjectEntry& subject = catalog_.subjects[static_cast<std::size_t>(subject_)];
  const FirstPress press = catalog_.anyZil ? FirstPressOf(trial) : FirstPress();
  char* at =
      row_.Begin(prefix_.size() + item.listCells.size() + trial.item.size() + trial.rtRaw.size() +
                 trial.cot.size() + press.key.size() + 8 * kLongestNumber);
  at = Put(at, prefix_);
  at = PutInteger(at, trial.number);
  at = Put(at, '\t');
  at = PutText(at, trial.item);
  at = item.listCells.empty() ? at : Put(at, item.listCells);
  at = Put(at, kOutcomeCells[static_cast<int>(trial.outcome)]);
  at = Put(at, '\t');
  char* const rtCell = at;
  bool rounded = false;
  at = PutRt(at, trial, rounded);
  const std::string_view rt(rtCell, static_cast<std::size_t>(at - rtCell));
  if (rounded) {
    CountRounded(trial.rtRaw, rt);
  }
  at = Put(at, '\t');
  at = trial.rt ? Put(at, trial.rtRaw) : PutText(at, trial.rtRaw);  // a number holds no tab
  if (catalog_.request.cot) {
    at = Put(at, '\t');
    at = IsPlainDecimal(trial.cot) ? Put(at, trial.cot) : at;
  }
  if (catalog_.anyZil) {
    at = Put(at, '\t');
    at = PutText(at, press.key);
    at = Put(at, '\t');
    at = trial.zil ? PutInteger(at, trial.EventCount()) : at;
  }
  at = Put(at, kOutcomeCells[static_cast<int>(previousOutcome_)]);
  at = Put(at, '\t');
  at = Put(at, previousRt_);
  previousRt_.assign(rt);
  at = Put(at, '\t');
  at = PutInteger(at, item.repetition);
  at = Put(at, kTrimCells[static_cast<int>(trim)]);
  at = Put(at, kExcludedCells[subject.excluded ? 1 : 0]);
  WriteLineAsIs(out_, trialsChannel_, row_.Row(at));
}

void SecondPass::CountRounded(std::string_view raw, std::string_view rt) {
  InputEntry& input = catalog_.inputs[input_];
  if (input.roundedRts++ == 0) {
    input.firstRounded = std::string(raw) + " as " + std::string(rt);
  }
}

void SecondPass::WriteEvents(const TrialFacts& trial) {
  long long number = 0;
  for (const Event& event : *trial.events) {
    const KeyEvent key = ReadKey(event.key);
    catalog_.CountKey(key.key, key.action);
    char* at = row_.Begin(eventPrefix_.size() + trial.item.size() + event.time.size() +
                          key.key.size() + 4 * kLongestNumber);
    at = Put(at, eventPrefix_);
    at = PutInteger(at, trial.number);
    at = Put(at, '\t');
    at = PutText(at, trial.item);
    at = Put(at, '\t');
    at = PutInteger(at, ++number);
    at = Put(at, '\t');
    at = IsPlainDecimal(event.time) ? Put(at, event.time) : at;
    at = Put(at, '\t');
    at = PutText(at, key.key);
    at = Put(at, key.action == KeyAction::Press     ? "\tpress\n"
                 : key.action == KeyAction::Release ? "\trelease\n"
                                                    : "\t\n");
    WriteLineAsIs(out_, eventsChannel_, row_.Row(at));
  }
}

void SecondPass::CountSubjectOf(ItemEntry& item, std::size_t index, SubjectEntry& subject) {
  const std::size_t word = index / 64;
  if (subject.itemsSeen.size() <= word) {
    subject.itemsSeen.resize(word + 1, 0);
  }
  std::uint64_t& seen = subject.itemsSeen[word];
  const std::uint64_t bit = std::uint64_t{1} << (index % 64);
  item.subjects += (seen & bit) == 0 ? 1 : 0;
  seen |= bit;
}

void SecondPass::Count(const TrialFacts& trial, ItemEntry& item, Trim trim) {
  SubjectEntry& subject = catalog_.subjects[static_cast<std::size_t>(subject_)];
  const bool counted = trial.outcome == Outcome::Correct && trial.rt && trim == Trim::None;
  subject.trimmed += trim != Trim::None ? 1 : 0;
  if (counted) {
    subject.rts.Add(*trial.rt);
  }
  if (trial.zil) {
    const auto events = static_cast<std::size_t>(trial.EventCount());
    if (catalog_.eventsPerTrial.size() <= events) {
      catalog_.eventsPerTrial.resize(events + 1, 0);
    }
    ++catalog_.eventsPerTrial[events];
  }
  if (subject.excluded) {
    return;
  }
  const bool hasOutcome = trial.outcome != Outcome::None;
  const bool failed = trial.outcome == Outcome::Error || trial.outcome == Outcome::NoResponse;
  ++item.presentations;
  item.errors += trial.outcome == Outcome::Error ? 1 : 0;
  item.noResponses += trial.outcome == Outcome::NoResponse ? 1 : 0;
  item.withOutcome += hasOutcome ? 1 : 0;
  if (item.cell >= 0) {
    if (subject.cells.size() <= static_cast<std::size_t>(item.cell)) {
      subject.cells.resize(static_cast<std::size_t>(item.cell) + 1);
    }
    CellFigures& cell = subject.cells[static_cast<std::size_t>(item.cell)];
    ++cell.trials;
    cell.withOutcome += hasOutcome ? 1 : 0;
    cell.failed += failed ? 1 : 0;
    if (counted) {
      cell.sum += *trial.rt;
      ++cell.count;
    }
  }
  if (!counted) {
    return;
  }
  item.rts.Add(*trial.rt);
  const auto position = static_cast<std::size_t>(trial.number);
  if (catalog_.positions.size() <= position) {
    catalog_.positions.resize(position + 1);
  }
  catalog_.positions[position].sum += *trial.rt;
  ++catalog_.positions[position].count;
}

}  // namespace trelvox::analysis
