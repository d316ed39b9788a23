#include "analysis/Inputs.h"

#include <charconv>

#include "parse/Session.h"
#include "parse/SubjectScanner.h"
#include "parse/TrialParsers.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace trelvox::analysis {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  while (!text.empty() && text.back() == ' ') {
    text.remove_suffix(1);
  }
  return text;
}

std::int16_t OpenInput(FileChannels& files, const std::string& path) {
  const std::int16_t channel = files.FreeChannel();
  const OpenResult opened = files.Open(channel, path, OpenMode::Input);
  if (opened.errorNumber != 0) {
    throw ReadError("Could not open " + path + ": " + opened.description +
                    ". Check that the file exists and can be read.");
  }
  return channel;
}

// Closes the input however its reading ends.
class OpenedInput {
 public:
  OpenedInput(FileChannels& files, const std::string& path)
      : files_(files), channel_(OpenInput(files, path)) {}
  ~OpenedInput() { files_.CloseQuietly(channel_); }
  OpenedInput(const OpenedInput&) = delete;
  OpenedInput& operator=(const OpenedInput&) = delete;
  std::int16_t channel() const { return channel_; }

 private:
  FileChannels& files_;
  std::int16_t channel_;
};

std::string TwoDigits(int value) {
  return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

std::string IsoDate(const Date& date) {
  std::string year = std::to_string(date.year);
  year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
  return year + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}

// "9:31:07" or "09:31" as "09:31:07" or "09:31:00"; empty for anything else.
std::string IsoTime(std::string_view text) {
  int parts[3] = {0, 0, 0};
  int count = 0;
  std::size_t at = 0;
  while (count < 3) {
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) {
      ++at;
    }
    const std::size_t digits = at - start;
    if (digits == 0 || digits > 2 || (count > 0 && digits != 2)) {
      return {};
    }
    std::from_chars(text.data() + start, text.data() + at, parts[count++]);
    if (at == text.size()) {
      break;
    }
    if (text[at++] != ':') {
      return {};
    }
  }
  if (at != text.size() || count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
    return {};
  }
  return TwoDigits(parts[0]) + ":" + TwoDigits(parts[1]) + ":" + TwoDigits(parts[2]);
}

// "Subject 3, ..." gives "3".
std::string SubjectNumber(std::string_view header) {
  const std::size_t word = header.find("Subject");
  if (word == std::string_view::npos) {
    return {};
  }
  std::size_t at = word + 7;
  while (at < header.size() && header[at] == ' ') {
    ++at;
  }
  const std::size_t start = at;
  while (at < header.size() && IsDigit(header[at])) {
    ++at;
  }
  return std::string(header.substr(start, at - start));
}

// "refresh 16.67ms" gives "16.67".
std::string RefreshOf(std::string_view header) {
  const std::size_t word = header.find("refresh ");
  if (word == std::string_view::npos) {
    return {};
  }
  std::size_t at = word + 8;
  const std::size_t start = at;
  while (at < header.size() && (IsDigit(header[at]) || header[at] == '.')) {
    ++at;
  }
  const std::string_view number = header.substr(start, at - start);
  return ToCentis(number) ? std::string(number) : std::string();
}

// The word at the start of `text` after any blanks, taken off it.
std::string_view TakeWord(std::string_view& text) {
  text = TrimBlanks(text);
  const std::size_t end = std::min(text.find(' '), text.size());
  const std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

// The header from its date on: "03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID P01".
void ReadTimeAndMachine(std::string_view fromDate, BlockFacts& block) {
  std::string_view rest = fromDate;
  TakeWord(rest);  // the date
  block.time = IsoTime(TakeWord(rest));
  const std::size_t refresh = rest.find("refresh");
  const std::size_t on = rest.find(" on ");
  if (on == std::string_view::npos || on > refresh) {
    return;
  }
  rest = rest.substr(on + 4);
  block.machine = std::string(TrimBlanks(rest.substr(0, std::min(rest.find(','), rest.size()))));
}

// Fills what every kind of input tells alike of a ZIL trial: the outcome, and the reaction time
// from the item line's own time or else from the first key press.
void FillZil(TrialFacts& facts, const std::optional<Decimal>& itemRt, std::string_view itemRtText,
             bool noResponses, const std::optional<std::int16_t>& timeout) {
  facts.zil = true;
  facts.outcome = ZilOutcome(itemRt, noResponses, timeout);
  facts.rtRaw = itemRt ? itemRtText : FirstPressOf(facts).time;
  if (facts.outcome != Outcome::NoResponse) {
    if (const auto centis = ToCentis(facts.rtRaw)) {
      facts.rt = *centis < 0 ? -*centis : *centis;
    }
  }
}

void FillAzk(TrialFacts& facts, Outcome outcome, std::string_view rtText,
             const std::optional<Decimal>& rt) {
  facts.outcome = outcome;
  facts.rtRaw = rtText;
  if (outcome == Outcome::NoResponse) {
    return;
  }
  std::optional<Centis> centis = rt ? rt->Hundredths() : std::nullopt;
  if (!centis) {
    centis = ToCentis(rtText);
  }
  if (centis) {
    facts.rt = *centis < 0 ? -*centis : *centis;
  }
}

AnomalyKind KindOf(ReaderAnomaly anomaly) {
  switch (anomaly) {
    case ReaderAnomaly::LineWithoutRt:
      return AnomalyKind::LineWithoutRt;
    case ReaderAnomaly::LineWithoutCot:
      return AnomalyKind::LineWithoutCot;
    case ReaderAnomaly::ItemLineWithoutField:
      return AnomalyKind::ItemLineWithoutField;
    case ReaderAnomaly::PassedOverHeader:
      return AnomalyKind::PassedOverHeader;
    case ReaderAnomaly::DamagedDate:
      break;
  }
  return AnomalyKind::DamagedDate;
}

// Turns what the readers hand on into blocks and trials for the sink.
class ReaderAdapter final : public TrialConsumer {
 public:
  ReaderAdapter(TrialSink& sink, const AnalysisRequest& request, bool zil)
      : sink_(sink), request_(request), zil_(zil) {}

  void SubjectStarted(const CurrentSubject& subject) override {
    sink_.BlockStarted(BlockFromHeader(subject, ++blocks_));
    inBlock_ = true;
    for (const std::string& header : damagedDates_) {
      sink_.Anomaly(AnomalyKind::DamagedDate, header);
    }
    damagedDates_.clear();
  }
  void Trial(const TrialRead& trial) override {
    // Kept from trial to trial and every field set anew: clearing a fresh one each time costs
    // more than the rest of the call.
    TrialFacts& facts = facts_;
    facts.rt.reset();
    facts.events = nullptr;
    facts.number = trial.Number();
    facts.item = trial.Item();
    facts.cot = request_.cot ? trial.Cot() : std::string_view();
    if (zil_) {
      fields_.clear();
      for (int i = 0; i < trial.ResponseFieldCount(); ++i) {
        fields_.push_back(trial.ResponseField(i));
      }
      GroupEvents(fields_, events_, joinedKeys_);
      facts.events = &events_;
      FillZil(facts, trial.Rt(), trial.RtText(), trial.NoResponses(), request_.timeout);
      TellLongTrial(facts);
    } else {
      FillAzk(facts, AzkOutcome(trial.ErrorCode()), trial.RtText(), trial.Rt());
    }
    sink_.Trial(facts);
  }
  bool WantsOtherLines() const override { return true; }
  void OtherLine(std::string_view line) override {
    if (const auto kind = BannerKind(line)) {
      sink_.Anomaly(*kind, line);
    }
  }
  void Anomaly(ReaderAnomaly kind, std::string_view line) override {
    // A damaged date is met while the header is read, before its block starts.
    if (kind == ReaderAnomaly::DamagedDate && !inBlock_) {
      damagedDates_.emplace_back(line);
      return;
    }
    sink_.Anomaly(KindOf(kind), line);
  }
  void SubjectEnded(const SubjectCounts& counts) override {
    (void)counts;
    inBlock_ = false;
    sink_.BlockEnded();
  }

 private:
  void TellLongTrial(const TrialFacts& facts) {
    if (request_.responses && facts.EventCount() > *request_.responses) {
      sink_.Anomaly(AnomalyKind::MoreResponses, "Item " + std::string(facts.item) + ": " +
                                                    std::to_string(facts.EventCount()) + " events");
    }
  }

  TrialSink& sink_;
  const AnalysisRequest& request_;
  const bool zil_;
  int blocks_ = 0;
  bool inBlock_ = false;
  std::vector<std::string> damagedDates_;
  std::vector<std::string_view> fields_;
  std::vector<Event> events_;
  std::vector<std::string> joinedKeys_;
  TrialFacts facts_;
};

void PassOnProblems(AnalysisPrompts& prompts, TrialSink& sink) {
  for (const std::string& problem : prompts.TakeProblems()) {
    sink.Notice(problem);
  }
}

void ReadDmdx(const InputReading& reading, TrialSink& sink) {
  const AnalysisRequest& request = reading.request;
  RunState state;
  state.options.COTIncluded = request.cot;
  state.options.ZORFormat = request.zor;
  state.answers.TimeOut = request.timeout.value_or(0);
  state.answers.MaxResponses = request.responses.value_or(0);
  AnalysisPrompts prompts;
  Ui ui(prompts, reading.channels);
  const SystemClock clock;
  TrialStream trials;
  Session session{state, reading.channels, ui, reading.locale, clock, trials};
  const bool zil = reading.kind == InputKind::Zil;
  ReaderAdapter adapter(sink, request, zil);
  const AttachedConsumer attached(trials, adapter);

  const OpenedInput input(reading.channels, reading.path);
  state.files.InFileName = reading.path;
  state.files.InFileNum = input.channel();
  state.files.InFileType = zil ? InputType::Zil : InputType::Azk;
  state.notices.StartRun();
  while (FindNextSubject(session)) {
    PassOnProblems(prompts, sink);
    if (zil) {
      ParseZILTrials(session);
    } else {
      ParseAZKTrials(session);
    }
  }
  PassOnProblems(prompts, sink);
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> cells;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string_view::npos ? line.npos : tab - start));
    if (tab == std::string_view::npos) {
      return cells;
    }
    start = tab + 1;
  }
}

// Reads a composite file row by row. Blocks are runs of rows of one subject and date whose
// trial numbers go up; a header row may stand anywhere, as appended runs leave them.
class CompositeReader {
 public:
  CompositeReader(const InputReading& reading, TrialSink& sink) : reading_(reading), sink_(sink) {}

  void Read() {
    const OpenedInput input(reading_.channels, reading_.path);
    for (std::string_view line;
         (line = reading_.channels.ReadNext(input.channel())).data() != nullptr;) {
      Row(line);
    }
    EndBlock();
  }

 private:
  void Row(std::string_view line) {
    if (const auto header = CompositeHeader(line)) {
      layout_ = *header;
      return;
    }
    if (line.empty()) {
      return;
    }
    cells_ = SplitTabs(line);
    const std::size_t needed = layout_.zil ? 4 : 5;
    if (cells_.size() < needed) {
      sink_.Anomaly(AnomalyKind::ShortRow, line);
      return;
    }
    int number = 0;
    const auto [end, error] =
        std::from_chars(cells_[2].data(), cells_[2].data() + cells_[2].size(), number);
    const bool numbered = error == std::errc() && end == cells_[2].data() + cells_[2].size();
    if (!numbered) {
      number = lastNumber_ + 1;
    }
    if (!inBlock_ || cells_[0] != subject_ || cells_[1] != date_ || number <= lastNumber_) {
      StartBlock();
    }
    lastNumber_ = number;
    Trial(line, number);
  }

  void StartBlock() {
    EndBlock();
    subject_.assign(cells_[0]);
    date_.assign(cells_[1]);
    lastNumber_ = 0;
    BlockFacts block;
    block.subject =
        subject_.empty() ? std::string("S").append(std::to_string(blocks_ + 1)) : subject_;
    const std::optional<Date> date = reading_.locale.ParseShortDate(date_);
    if (date) {
      block.date = IsoDate(*date);
    }
    ++blocks_;
    inBlock_ = true;
    sink_.BlockStarted(block);
    if (!date) {
      sink_.Anomaly(AnomalyKind::DamagedDate, date_);
    }
  }

  void EndBlock() {
    if (inBlock_) {
      sink_.BlockEnded();
      inBlock_ = false;
    }
  }

  void Trial(std::string_view line, int number) {
    TrialFacts facts;
    facts.number = number;
    facts.item = cells_[3];
    std::size_t at = 4;
    if (layout_.zil) {
      ZilTrial(facts, at);
    } else if (!AzkTrial(facts, at)) {
      sink_.Anomaly(AnomalyKind::LineWithoutRt, line);
      return;
    }
    sink_.Trial(facts);
  }

  std::string_view CellAt(std::size_t at) const {
    return at < cells_.size() ? cells_[at] : std::string_view();
  }

  bool AzkTrial(TrialFacts& facts, std::size_t at) {
    const std::string_view rtText = cells_[at++];
    if (layout_.cot) {
      facts.cot = reading_.request.cot ? CellAt(at) : std::string_view();
      ++at;
    }
    const std::string_view code = CellAt(at);
    Outcome outcome = code.size() == 1 ? AzkOutcome(code[0]) : Outcome::None;
    if (outcome == Outcome::None) {
      // A row without its code (a short COT line): the code's own rule on the RT.
      const std::optional<Decimal> rt = Decimal::Read(rtText);
      if (!rt) {
        return false;
      }
      const bool none =
          rt->IsNegative() && reading_.request.timeout && rt->Equals(-*reading_.request.timeout);
      outcome = !rt->IsNegative() ? Outcome::Correct : none ? Outcome::NoResponse : Outcome::Error;
    }
    FillAzk(facts, outcome, rtText, std::nullopt);
    return true;
  }

  void ZilTrial(TrialFacts& facts, std::size_t at) {
    if (layout_.cot) {
      facts.cot = reading_.request.cot ? CellAt(at) : std::string_view();
      ++at;
    }
    std::optional<Decimal> itemRt;
    std::string_view itemRtText;
    bool noResponses = false;
    if (layout_.zor) {
      itemRtText = CellAt(at++);
      noResponses = itemRtText == "NoResponse";
      itemRt = noResponses ? std::nullopt : Decimal::Read(itemRtText);
    }
    fields_.assign(cells_.begin() + static_cast<std::ptrdiff_t>(std::min(at, cells_.size())),
                   cells_.end());
    GroupEvents(fields_, events_, joinedKeys_);
    noResponses = noResponses || (!layout_.zor && events_.empty());
    facts.events = &events_;
    FillZil(facts, itemRt, itemRtText, noResponses, reading_.request.timeout);
  }

  const InputReading& reading_;
  TrialSink& sink_;
  CompositeLayout layout_;
  std::vector<std::string_view> cells_;
  std::vector<std::string_view> fields_;
  std::vector<Event> events_;
  std::vector<std::string> joinedKeys_;
  std::string subject_;
  std::string date_;
  int lastNumber_ = 0;
  int blocks_ = 0;
  bool inBlock_ = false;
};

bool IsPairColumn(std::string_view cell, std::string_view prefix, int number) {
  return cell == std::string(prefix) + std::to_string(number);
}

}  // namespace

void WatchedChannels::StartInput(std::string name, std::uint64_t bytesBefore, int pass) {
  name_ = std::move(name);
  channel_ = 0;
  bytesBefore_ = bytesBefore;
  pass_ = pass;
  ReportProgress();
}

void WatchedChannels::ReportProgress() {
  AnalysisProgress progress;
  progress.bytesDone = bytesBefore_ + files_.BytesRead(channel_);
  progress.bytesTotal = bytesTotal_;
  progress.file = name_;
  progress.pass = pass_;
  progress.passes = passes_;
  observer_.Progress(progress);
}

Answer AnalysisPrompts::ShowMessage(const MessageRequest& request) {
  if (request.tone == Tone::Problem) {
    problems_.push_back(request.text);
  }
  return request.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

std::string AnalysisPrompts::ShowInput(const InputRequest& request) {
  (void)request;
  return {};
}

std::string AnalysisPrompts::ShowFileDialog(const FileDialogRequest& request) {
  (void)request;
  return {};
}

std::vector<std::string> AnalysisPrompts::TakeProblems() {
  std::vector<std::string> taken;
  taken.swap(problems_);
  return taken;
}

std::optional<CompositeLayout> CompositeHeader(std::string_view line) {
  const std::vector<std::string_view> cells = SplitTabs(line);
  if (cells.size() < 4 || cells[0] != "SubID" || cells[1] != "Date" || cells[2] != "TrialNum" ||
      cells[3] != "TrialID") {
    return std::nullopt;
  }
  CompositeLayout layout;
  std::size_t at = 4;
  const auto next = [&](std::string_view name) {
    if (at < cells.size() && cells[at] == name) {
      ++at;
      return true;
    }
    return false;
  };
  if (at < cells.size() && cells[at] == "RT") {
    ++at;
    layout.cot = next("COT");
    return next("Error") && at == cells.size() ? std::optional(layout) : std::nullopt;
  }
  layout.zil = true;
  layout.cot = next("COT");
  layout.zor = next("ZOR_RT");
  for (int pair = 1; at < cells.size(); ++pair) {
    if (at + 1 >= cells.size() || !IsPairColumn(cells[at], "RT", pair) ||
        !IsPairColumn(cells[at + 1], "BUT", pair)) {
      return std::nullopt;
    }
    at += 2;
  }
  return layout;
}

BlockFacts BlockFromHeader(const CurrentSubject& subject, int block) {
  BlockFacts facts;
  facts.subject = subject.SubjectID;
  if (facts.subject.empty()) {
    const std::string number = SubjectNumber(subject.HeaderLine);
    facts.subject = std::string("S").append(number.empty() ? std::to_string(block) : number);
  }
  ReadTimeAndMachine(subject.SubjectHeader, facts);
  if (subject.SubjectDate.date) {
    facts.date = IsoDate(*subject.SubjectDate.date);
  } else {
    facts.time.clear();  // a damaged date leaves the time in doubt too
  }
  facts.refreshMs = RefreshOf(subject.HeaderLine);
  return facts;
}

std::optional<InputKind> KindOfInput(const std::string& path, DiskFileChannels& files, bool& zil) {
  const OpenedInput input(files, path);  // an input that cannot be read stops the run here
  const InputType type = InputTypeOf(path);
  zil = type == InputType::Zil;
  if (type != InputType::Unknown) {
    return zil ? InputKind::Zil : InputKind::Azk;
  }
  const std::string_view first = files.ReadNext(input.channel());
  const std::optional<CompositeLayout> layout =
      first.data() != nullptr ? CompositeHeader(first) : std::nullopt;
  if (!layout) {
    return std::nullopt;
  }
  zil = layout->zil;
  return InputKind::Composite;
}

void ReadInput(const InputReading& reading, TrialSink& sink) {
  if (reading.kind == InputKind::Composite) {
    CompositeReader(reading, sink).Read();
  } else {
    ReadDmdx(reading, sink);
  }
}

}  // namespace trelvox::analysis
