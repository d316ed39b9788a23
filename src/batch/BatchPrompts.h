#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/SubjectFileNames.h"
#include "platform/Prompts.h"

namespace trelvox::batch {

// What one run answers besides the flags: the input it opens and whether its files count as
// new, decided before the run opened them.
struct RunAnswers {
  std::string input;
  bool compositeIsNew = false;
  bool counterIsNew = false;
};

// One line of the transcript: a box's text with its CR LF turned into newlines, and for a
// question the answer given in brackets: "Is this a new file? [Yes]".
std::string MessageLine(std::string_view text);
std::string QuestionLine(std::string_view text, std::string_view answer);

// Answers every box a command shows from the command-line flags, recognising the boxes by
// their ids (never by their texts), and prints each message, and each question with its
// answer, on `out`
// (only the problems when quiet). A box that no flag answers gets the empty answer (or No) and
// is remembered, so the front end can call it a usage error.
class BatchPrompts final : public Prompts {
 public:
  BatchPrompts(const BatchOptions& options, std::ostream& out);

  void BeginRun(RunAnswers run);

  // Every box is answered at once from the flags.
  bool BoxesWaitForUser() const override { return false; }
  Answer ShowMessage(const MessageRequest& request) override;
  std::string ShowInput(const InputRequest& request) override;
  std::string ShowFileDialog(const FileDialogRequest& request) override;

  const std::vector<std::string>& Unanswered() const { return unanswered_; }

 private:
  std::optional<bool> YesNoFor(MessageId question) const;
  std::optional<std::string> InputFor(MessageId prompt);
  std::optional<std::string> FileFor(const FileDialogRequest& dialog);
  bool Prints(Tone tone) const;
  void Print(const std::string& line, Tone tone);

  const BatchOptions& options_;
  std::ostream& out_;
  RunAnswers run_;
  std::optional<SubjectFileNames> subjectFiles_;
  std::size_t nextId_ = 0;
  std::vector<std::string> unanswered_;
};

}  // namespace trelvox::batch
