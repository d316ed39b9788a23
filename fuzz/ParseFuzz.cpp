// Feeds arbitrary bytes to both commands as a DMDX file, with the options taken from the first
// byte. Build with clang and -DTRELVOX_FUZZ=ON; without libFuzzer the same code replays files.
#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "commands/Commands.h"
#include "parse/RunState.h"
#include "parse/Session.h"
#include "platform/DiskFileChannels.h"
#include "platform/Locale.h"
#include "platform/Prompts.h"
#include "platform/Ui.h"

namespace {

using namespace trelvox;

std::filesystem::path WorkFolder() {
  static const std::filesystem::path folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("trelvox-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// Answers every box the way a patient user would, so every path of the readers is reached.
class FuzzPrompts final : public Prompts {
 public:
  explicit FuzzPrompts(std::string input) : input_(std::move(input)) {}

  Answer ShowMessage(const MessageRequest& request) override {
    if (request.buttons == Buttons::Ok) {
      return Answer::Ok;
    }
    if (request.id == MessageId::ParseAnotherSubject) {
      return ++subjects_ < 3 ? Answer::Yes : Answer::No;
    }
    return Answer::Yes;
  }
  std::string ShowInput(const InputRequest& request) override {
    switch (request.id) {
      case MessageId::SubjectIdToParse:
        return std::to_string(subjects_ + 1);
      case MessageId::TimeOutValue:
      case MessageId::ResponsesPerTrial:
        return "2000";
      default:
        return "typed";
    }
  }
  std::string ShowFileDialog(const FileDialogRequest& request) override {
    if (request.id == MessageId::InputFile) {
      return input_;
    }
    return (WorkFolder() / (request.title.substr(0, 12) + ".dat")).string();
  }

 private:
  std::string input_;
  int subjects_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::uint8_t options = data[0];
  const std::string input =
      (WorkFolder() / ((options & 0x10) != 0 ? "input.zil" : "input.azk")).string();
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  RunState state;
  state.options.SaveCounters = (options & 0x01) != 0;
  state.options.SaveIndFiles = (options & 0x02) != 0;
  state.options.COTIncluded = (options & 0x04) != 0;
  state.options.ZORFormat = (options & 0x08) != 0;
  DiskFileChannels files;
  FuzzPrompts prompts(input);
  Ui ui(prompts, files);
  const FixedLocale locale;
  const FixedClock clock(Date{2026, 12, 9});
  TrialStream trials;
  Session session{state, files, ui, locale, clock, trials};
  if ((options & 0x20) != 0) {
    ParseOneSubject(session);
  } else {
    ParseAll(session);
  }
  for (int channel = 1; channel <= 8; ++channel) {
    if (files.IsOpen(static_cast<std::int16_t>(channel))) {
      __builtin_trap();  // a command left a file open
    }
  }
  return 0;
}
