#include "analysis/Analysis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <streambuf>
#include <system_error>

#include "analysis/DataPackage.h"
#include "analysis/Inputs.h"
#include "analysis/OutputSet.h"
#include "analysis/Passes.h"
#include "analysis/ReportHtml.h"
#include "analysis/Summary.h"
#include "analysis/Tables.h"
#include "analysis/Tsv.h"
#include "parse/RunState.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "platform/Paths.h"

#ifndef TRELVOX_VERSION
#error "TRELVOX_VERSION must name the program's version"
#endif

namespace trelvox::analysis {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTablesOfEveryRun[] = {"trials.tsv",       "events.tsv",     "subjects.tsv",
                                             "items.tsv",        "by_subject.tsv", "by_item.tsv",
                                             "datapackage.json", "report.html"};

AnalysisFailure Usage(AnalysisField field, std::string message, std::string path = {}) {
  return {FailureKind::Usage, field, std::move(path), std::move(message)};
}

bool IsCount(const std::optional<double>& value, double lowest) {
  return !value || (std::isfinite(*value) && *value >= lowest);
}

std::optional<AnalysisFailure> CheckNumbers(const AnalysisRequest& request) {
  if (!IsCount(request.minRt, 0)) {
    return Usage(AnalysisField::MinRt, "--min-rt MS: give a number of ms, 0 or more");
  }
  if (!IsCount(request.maxRt, 0)) {
    return Usage(AnalysisField::MaxRt, "--max-rt MS: give a number of ms, 0 or more");
  }
  if (request.minRt && request.maxRt && *request.maxRt < *request.minRt) {
    return Usage(AnalysisField::MaxRt, "--max-rt must not be below --min-rt");
  }
  if (request.sd && !(std::isfinite(*request.sd) && *request.sd > 0)) {
    return Usage(AnalysisField::Sd, "--sd K: give a number of standard deviations above 0");
  }
  if (request.maxErrorRate && !(*request.maxErrorRate >= 0 && *request.maxErrorRate <= 1)) {
    return Usage(AnalysisField::MaxErrorRate,
                 "--max-error-rate P: give a share from 0 to 1 (0.2 for 20%)");
  }
  if (request.responses && *request.responses < 0) {
    return Usage(AnalysisField::Responses, "--responses N: give a number of responses, 0 or more");
  }
  return std::nullopt;
}

// An input or the item list where the analysis writes a table would be replaced by it.
std::optional<AnalysisFailure> CheckOverlap(const AnalysisRequest& request) {
  for (const char* name : kTablesOfEveryRun) {
    const std::string output = JoinPath(request.outputFolder, name);
    for (const std::string& input : request.inputs) {
      if (SamePath(input, output)) {
        return Usage(AnalysisField::OutputFolder,
                     "the input " + input + " lies where the analysis writes " + name +
                         ": choose another output folder",
                     input);
      }
    }
    if (!request.itemList.empty() && SamePath(request.itemList, output)) {
      return Usage(AnalysisField::ItemList,
                   "the item list lies where the analysis writes " + std::string(name) +
                       ": choose another output folder",
                   request.itemList);
    }
  }
  return std::nullopt;
}

std::string Now() {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  std::string text;
  AppendInteger(text, static_cast<int>(date.year()));
  const auto two = [&text](long long value, char before) {
    text += before;
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
  };
  two(static_cast<unsigned>(date.month()), '-');
  two(static_cast<unsigned>(date.day()), '-');
  two(time.hours().count(), 'T');
  two(time.minutes().count(), ':');
  two(time.seconds().count(), ':');
  return text + "Z";
}

// An output channel as a stream, so that the report page goes through the channel (and its
// checks of every write) in pieces instead of being held whole.
class ChannelStreamBuffer final : public std::streambuf {
 public:
  ChannelStreamBuffer(FileChannels& files, std::int16_t channel)
      : files_(files), channel_(channel), buffer_(kSize) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
  }

 protected:
  int_type overflow(int_type c) override {
    Drain();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    Drain();
    return 0;
  }

 private:
  static constexpr std::size_t kSize = 64 * 1024;
  void Drain() {
    const std::string_view piece(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    if (!piece.empty()) {
      WriteLineAsIs(files_, channel_, piece);
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
  }

  FileChannels& files_;
  std::int16_t channel_;
  std::vector<char> buffer_;
};

void WriteReport(const ReportData& report, FileChannels& files, std::int16_t channel) {
  ChannelStreamBuffer buffer(files, channel);
  std::ostream stream(&buffer);
  // A write error is raised by the channel from within the stream: let it through.
  stream.exceptions(std::ios::badbit);
  WriteReportHtml(report, stream);
  stream.flush();
}

std::string FileNameOf(const std::string& path) {
  return BytesFromPath(PathFromBytes(path).filename());
}

// One analysis from the request to the renamed files.
class AnalysisRun {
 public:
  AnalysisRun(const AnalysisRequest& request, AnalysisObserver& observer,
              const AnalysisEnvironment& environment, const Locale& locale)
      : request_(request), observer_(observer), environment_(environment), locale_(locale) {}

  AnalysisResult Run() {
    try {
      if (auto usage = LoadItemList()) {
        result_.lines = {usage->message};
        result_.failure = std::move(usage);
        return std::move(result_);
      }
      Analyse();
      result_.status = AnalysisStatus::Completed;
    } catch (const Cancelled&) {
      result_.status = AnalysisStatus::Cancelled;
      result_.lines = {"Cancelled: no file was written or replaced."};
    } catch (const WriteError& error) {
      const std::string what = error.what();
      Fail(
          FailureKind::Output, AnalysisField::OutputFolder, request_.outputFolder,
          committing_ ? what : what + (what.ends_with('.') ? " " : ". ") + "Nothing was replaced.");
    } catch (const std::exception& error) {
      Fail(FailureKind::Input, field_, path_, error.what());
    }
    return std::move(result_);
  }

 private:
  void Fail(FailureKind kind, AnalysisField field, const std::string& path,
            const std::string& what) {
    result_.status = AnalysisStatus::Failed;
    const bool named = path.empty() || what.find(path) != std::string::npos;
    result_.failure = AnalysisFailure{kind, field, path, named ? what : path + ": " + what};
    result_.lines = {result_.failure->message};
  }

  void Analyse() {
    FindInputs();
    Catalog catalog(request_, itemList_ ? &*itemList_ : nullptr, byColumns_);
    catalog.inputs = inputs_;
    catalog.anyZil = std::any_of(inputs_.begin(), inputs_.end(),
                                 [](const InputEntry& input) { return input.zil; });
    passes_ = catalog.NeedsFirstPass() ? 2 : 1;
    if (passes_ == 2) {
      FirstPass first(catalog);
      ReadAll(first, 1);
      catalog.Decide();
    }
    WriteOutputs(catalog);
    result_.summary = Summarise(catalog);
    result_.lines = TranscriptLines(catalog, result_.summary, request_.outputFolder, written_);
    result_.written = writtenPaths_;
  }

  std::string Version() const {
    return environment_.version.empty() ? std::string(TRELVOX_VERSION) : environment_.version;
  }
  std::string Analysed() const {
    return environment_.analysedAt.empty() ? Now() : environment_.analysedAt;
  }

  // Reads the item list and finds the --by columns in it; a --by column it lacks is a mistake
  // in the request.
  std::optional<AnalysisFailure> LoadItemList() {
    if (request_.itemList.empty()) {
      return std::nullopt;
    }
    field_ = AnalysisField::ItemList;
    path_ = request_.itemList;
    DiskFileChannels files;
    itemList_ = ItemList::Read(request_.itemList, files);
    for (const std::string& column : request_.by) {
      const int index = itemList_->ColumnIndex(column);
      if (index < 0) {
        return Usage(AnalysisField::By,
                     "--by " + column + ": the item list has no such column" + ColumnsNamed(),
                     request_.itemList);
      }
      byColumns_.push_back(index);
    }
    return std::nullopt;
  }

  std::string ColumnsNamed() const {
    std::string names;
    for (const std::string& column : itemList_->Columns()) {
      names += (names.empty() ? " (it has " : ", ") + column;
    }
    return names.empty() ? " (it has no column besides item)" : names + ")";
  }

  void FindInputs() {
    field_ = AnalysisField::Inputs;
    DiskFileChannels files;
    for (const std::string& path : request_.inputs) {
      path_ = path;
      bool zil = false;
      const std::optional<InputKind> kind = KindOfInput(path, files, zil);
      if (!kind) {
        throw ReadError(path +
                        " is no AZK or ZIL file (by the end of its name) and no composite file "
                        "(its first line is not a composite header row): give .azk, .zil or "
                        "composite files.");
      }
      InputEntry input;
      input.path = path;
      input.name = FileNameOf(path);
      input.kind = *kind;
      input.zil = zil;
      std::error_code error;
      input.bytes = fs::file_size(PathFromBytes(path), error);
      input.bytes = error ? 0 : input.bytes;
      inputBytes_ += input.bytes;
      inputs_.push_back(input);
    }
  }

  // One reading of every input into `sink`: the `pass`th of passes_.
  void ReadAll(TrialSink& sink, int pass) {
    field_ = AnalysisField::Inputs;
    DiskFileChannels files;
    WatchedChannels watched(files, observer_, BytesTotal(), passes_);
    std::uint64_t before = static_cast<std::uint64_t>(pass - 1) * inputBytes_;
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
      path_ = inputs_[i].path;
      watched.StartInput(inputs_[i].name, before, pass);
      sink.InputStarted(i);
      ReadInput({request_, watched, locale_, inputs_[i].path, inputs_[i].kind}, sink);
      before += inputs_[i].bytes;
    }
    path_.clear();
  }

  // A table's file in the set, open for writing.
  std::int16_t OpenTable(OutputSet& set, DiskFileChannels& out, std::string_view name) {
    const std::string path = set.Add(name);
    const std::int16_t channel = out.FreeChannel();
    const OpenResult opened = out.Open(channel, path, OpenMode::Output);
    if (opened.errorNumber != 0) {
      throw WriteError("Could not write to " + path + ": " + opened.description + ".");
    }
    written_.emplace_back(name);
    return channel;
  }

  void WriteOutputs(Catalog& catalog) {
    OutputSet set(request_.outputFolder);
    DiskFileChannels out(environment_.writer);  // closed before the set removes what is left
    const std::int16_t trials = OpenTable(set, out, "trials.tsv");
    // The trial table's columns are known before the rows; the cells only once all are read.
    std::vector<TableLayout> tables{TrialsTable(ShapeOf(catalog))};
    WriteLineAsIs(out, trials, HeaderRow(tables.back()));
    std::int16_t events = 0;
    if (catalog.anyZil) {
      events = OpenTable(set, out, "events.tsv");
      tables.push_back(EventsTable());
      WriteLineAsIs(out, events, HeaderRow(tables.back()));
    }
    SecondPass second(catalog, out, trials, events);
    if (passes_ == 2) {
      ReadAll(second, 2);
    } else {
      FirstPass first(catalog);
      BothPasses both(first, second);
      ReadAll(both, 1);
    }
    observer_.Progress({BytesTotal(), BytesTotal(), {}, passes_, passes_});

    const TableShape shape = ShapeOf(catalog);
    const std::vector<std::size_t> order = ItemOrder(catalog);
    WriteSubjectsTable(catalog, out, OpenTable(set, out, "subjects.tsv"));
    WriteItemsTable(catalog, order, out, OpenTable(set, out, "items.tsv"));
    WriteBySubjectTable(catalog, out, OpenTable(set, out, "by_subject.tsv"));
    WriteByItemTable(catalog, order, out, OpenTable(set, out, "by_item.tsv"));
    for (const TableLayout& table :
         {SubjectsTable(), ItemsTable(shape), BySubjectTable(shape), ByItemTable(shape)}) {
      tables.push_back(table);
    }
    std::vector<PackageSource> sources;
    for (const InputEntry& input : inputs_) {
      sources.push_back({input.name, input.bytes});
    }
    WriteLineAsIs(out, OpenTable(set, out, "datapackage.json"),
                  DataPackageJson(tables, sources, CommandLineOf(request_), Version()));
    result_.report = BuildReport(catalog, request_, Version(), Analysed());
    if (request_.report) {
      WriteReport(result_.report, out, OpenTable(set, out, "report.html"));
    }
    for (int channel = kFirstChannel; channel <= kLastChannel; ++channel) {
      out.Close(static_cast<std::int16_t>(channel));
    }
    committing_ = true;
    set.Commit();
    writtenPaths_ = set.Paths();
  }

  const AnalysisRequest& request_;
  AnalysisObserver& observer_;
  const AnalysisEnvironment& environment_;
  const Locale& locale_;
  AnalysisResult result_;
  std::optional<ItemList> itemList_;
  std::vector<int> byColumns_;
  std::uint64_t BytesTotal() const { return static_cast<std::uint64_t>(passes_) * inputBytes_; }

  std::vector<InputEntry> inputs_;
  std::uint64_t inputBytes_ = 0;
  int passes_ = 2;
  AnalysisField field_ = AnalysisField::Inputs;
  std::string path_;
  std::vector<std::string> written_;
  std::vector<std::string> writtenPaths_;
  bool committing_ = false;
};

}  // namespace

std::optional<AnalysisFailure> CheckRequest(const AnalysisRequest& request) {
  if (request.inputs.empty()) {
    return Usage(AnalysisField::Inputs, "give at least one input: an .azk, .zil or composite file");
  }
  if (request.outputFolder.empty()) {
    return Usage(AnalysisField::OutputFolder, "give the folder the tables go to (--out DIR)");
  }
  for (const std::string& input : request.inputs) {
    if (InputTypeOf(input) == InputType::Azk && !request.timeout) {
      return Usage(AnalysisField::Timeout,
                   input +
                       " is AZK input: give the time-out of the experiment in ms (--timeout "
                       "N); minus it is a trial without response",
                   input);
    }
  }
  if (!request.by.empty() && request.itemList.empty()) {
    return Usage(AnalysisField::By,
                 "--by names a column of the item list: give the item list too (--items FILE)");
  }
  if (auto problem = CheckNumbers(request)) {
    return problem;
  }
  return CheckOverlap(request);
}

std::vector<std::string> CommandLineOf(const AnalysisRequest& request) {
  std::vector<std::string> line{"trelvox-batch", "analyze"};
  line.insert(line.end(), request.inputs.begin(), request.inputs.end());
  for (const ReportOption& option : OptionsOf(request)) {
    line.push_back(option.name);
    if (!option.value.empty()) {
      line.push_back(option.value);
    }
  }
  return line;
}

AnalysisResult RunAnalysis(const AnalysisRequest& request, AnalysisObserver& observer,
                           const AnalysisEnvironment& environment) {
  if (auto failure = CheckRequest(request)) {
    AnalysisResult result;
    result.lines = {failure->message};
    result.failure = std::move(failure);
    return result;
  }
  std::optional<FixedLocale> systemLocale;
  const Locale& locale =
      environment.locale != nullptr ? *environment.locale : systemLocale.emplace(SystemLocale());
  return AnalysisRun(request, observer, environment, locale).Run();
}

}  // namespace trelvox::analysis
