#pragma once

#include <string>

#include "platform/Prompts.h"

namespace trelvox::bench {

// Benchmarks time the work, not the boxes: every box is answered at once.
class SilentPrompts final : public Prompts {
 public:
  Answer ShowMessage(const MessageRequest&) override { return Answer::Ok; }
  std::string ShowInput(const InputRequest&) override { return ""; }
  std::string ShowFileDialog(const FileDialogRequest&) override { return ""; }
};

}  // namespace trelvox::bench
