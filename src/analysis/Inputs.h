#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/Trials.h"
#include "parse/RunState.h"
#include "platform/DiskFileChannels.h"
#include "platform/Prompts.h"

namespace trelvox::analysis {

// Raised at the line read after the observer asked to stop.
class Cancelled final : public std::exception {
 public:
  const char* what() const noexcept override { return "The analysis was cancelled."; }
};

// The disk's channels, asking the observer at every line read whether to stop, and telling it
// now and then how far the inputs have been read.
class WatchedChannels final : public FileChannels {
 public:
  WatchedChannels(DiskFileChannels& files, AnalysisObserver& observer, std::uint64_t bytesTotal,
                  int passes)
      : files_(files), observer_(observer), bytesTotal_(bytesTotal), passes_(passes) {}

  // The input now read: its name for the observer, and the bytes read before it.
  void StartInput(std::string name, std::uint64_t bytesBefore, int pass);
  // Tells the observer where the current input stands.
  void ReportProgress();

  std::int16_t FreeChannel() const override { return files_.FreeChannel(); }
  OpenResult Open(std::int16_t channel, const std::string& path, OpenMode mode) override {
    return files_.Open(channel, path, mode);
  }
  bool IsOpen(std::int16_t channel) const override { return files_.IsOpen(channel); }
  bool AtEnd(std::int16_t channel) override { return files_.AtEnd(channel); }
  std::string_view NextLine(std::int16_t channel) override {
    Watch(channel);
    return files_.NextLine(channel);
  }
  std::string_view ReadNext(std::int16_t channel) override {
    Watch(channel);
    return files_.ReadNext(channel);
  }
  std::uint64_t BytesRead(std::int16_t channel) const override { return files_.BytesRead(channel); }
  void WriteLine(std::int16_t channel, std::string_view text) override {
    files_.WriteLine(channel, text);
  }
  char* LineRoom(std::int16_t channel, std::size_t size) override {
    return files_.LineRoom(channel, size);
  }
  void Close(std::int16_t channel) override { files_.Close(channel); }
  void FlushAll() override { files_.FlushAll(); }
  void CloseQuietly(std::int16_t channel) noexcept override { files_.CloseQuietly(channel); }

 private:
  static constexpr unsigned kLinesPerReport = 4096;
  void Watch(std::int16_t channel) {
    channel_ = channel;
    if (observer_.CancelRequested()) {
      throw Cancelled();
    }
    if (++lines_ % kLinesPerReport == 0) {
      ReportProgress();
    }
  }

  DiskFileChannels& files_;
  AnalysisObserver& observer_;
  std::uint64_t bytesTotal_;
  int passes_;
  std::string name_;
  std::int16_t channel_ = 0;
  std::uint64_t bytesBefore_ = 0;
  int pass_ = 1;
  unsigned lines_ = 0;
};

// The boxes the readers show, answered without a person: the problems are kept for the
// transcript, a subject without ID gets the empty answer (and is then named after its number),
// and everything else is progress that nobody needs to read.
class AnalysisPrompts final : public Prompts {
 public:
  bool BoxesWaitForUser() const override { return false; }
  Answer ShowMessage(const MessageRequest& request) override;
  std::string ShowInput(const InputRequest& request) override;
  std::string ShowFileDialog(const FileDialogRequest& request) override;
  // The problems told since the last call.
  std::vector<std::string> TakeProblems();

 private:
  std::vector<std::string> problems_;
};

// How an input is read: by the DMDX readers, or as a composite file's table.
enum class InputKind { Azk, Zil, Composite };

// A composite file's columns, as its header row names them.
struct CompositeLayout {
  bool zil = false;
  bool cot = false;
  bool zor = false;
};
// The layout a composite header row names, or nothing when `line` is no such row.
std::optional<CompositeLayout> CompositeHeader(std::string_view line);

// The facts of a DMDX subject block from its header; `block` numbers the blocks of the file and
// names a subject whose header has neither an ID nor a number.
BlockFacts BlockFromHeader(const CurrentSubject& subject, int block);

// What reading one input takes.
struct InputReading {
  const AnalysisRequest& request;
  WatchedChannels& channels;
  const Locale& locale;
  std::string path;
  InputKind kind = InputKind::Azk;
};

// Reads one input through the DMDX readers or the composite table reader into `sink`. Raises
// TrelvoxError when the input cannot be read (the message names it), Cancelled when asked to
// stop. The kind of an input named neither .azk nor .zil is found from its first line, once.
void ReadInput(const InputReading& reading, TrialSink& sink);

// The kind of the input at `path`: AZK or ZIL by the end of its name, composite by its first
// line; empty when it is none of them. Raises TrelvoxError when the file cannot be opened, so
// that an input that cannot be read is found before anything is written.
// `zil` tells whether its trials are ZIL trials (a ZIL file, or a composite of ZIL rows).
std::optional<InputKind> KindOfInput(const std::string& path, DiskFileChannels& files, bool& zil);

}  // namespace trelvox::analysis
