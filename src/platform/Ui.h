#pragma once

#include <string>
#include <string_view>

#include "platform/FileChannels.h"
#include "platform/Prompts.h"

namespace trelvox {

// What the commands and readers use to talk to the user. Before any box or dialog that waits
// for a person is shown every buffered output line is written out, so that the files on disk
// are complete while the user reads the box (and stay complete if the program is killed there).
class Ui {
 public:
  Ui(Prompts& prompts, FileChannels& files) : prompts_(prompts), files_(files) {}

  // A box with an OK button.
  void Message(MessageId id, std::string_view text, std::string_view caption = kAppTitle,
               Tone tone = Tone::Info);
  void Problem(MessageId id, std::string_view text) { Message(id, text, kAppTitle, Tone::Problem); }
  // A box with Yes and No; true for Yes.
  bool AskYesNo(MessageId id, std::string_view text, std::string_view caption = kAppTitle);
  std::string Input(MessageId id, std::string_view prompt, std::string_view title = kAppTitle);
  std::string ChooseFile(const FileDialogRequest& request);

 private:
  void FlushBeforeBox();

  Prompts& prompts_;
  FileChannels& files_;
};

}  // namespace trelvox
