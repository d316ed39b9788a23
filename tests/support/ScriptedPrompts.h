#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Prompts.h"

namespace trelvox::testing {

// One box or dialog as the user would have seen it, and what the script answered.
struct ShownBox {
  enum class Kind { Message, Question, Input, OpenDialog, SaveDialog };
  Kind kind = Kind::Message;
  MessageId id = MessageId::ParsingComplete;
  std::string caption;  // the title of a box or dialog
  std::string text;     // message, question or prompt
  std::string filter;   // file dialogs only
  bool confirmOverwrite = false;
  Tone tone = Tone::Info;
  std::string answer;  // "Yes", "No", the typed text or the chosen path
};

// Raised when a box appears that the script did not foresee; it fails the test.
class ScriptError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Answers boxes from a script written in advance and records every box shown, in order.
// OK boxes need no answer; every question, input box and file dialog takes the next answer.
// What a box asks for is told by its id, so a box shown with an id of another kind (a question's
// id on an OK box, say) fails the test, as does an answer that does not fit.
class ScriptedPrompts final : public Prompts {
 public:
  ScriptedPrompts& Yes();
  ScriptedPrompts& No();
  ScriptedPrompts& Type(std::string text);
  ScriptedPrompts& Choose(std::string path);
  // Cancels the next input box or file dialog.
  ScriptedPrompts& Cancel();

  Answer ShowMessage(const MessageRequest& request) override;
  std::string ShowInput(const InputRequest& request) override;
  std::string ShowFileDialog(const FileDialogRequest& request) override;

  const std::vector<ShownBox>& Shown() const { return shown_; }
  // The text of every box, prompt or dialog title, in the order shown.
  std::vector<std::string> Texts() const;
  // The texts of the OK message boxes only.
  std::vector<std::string> Messages() const;
  std::size_t Unanswered() const { return script_.size(); }

 private:
  enum class For { Nothing, Question, Input, File, InputOrFile };
  struct Step {
    For target;
    std::string value;
  };
  static For AnswerFor(MessageId id);
  // The next answer, for a box of `shownAs` (what the call that showed it asks for).
  Step Next(MessageId id, For shownAs, const std::string& shownText);

  std::deque<Step> script_;
  std::vector<ShownBox> shown_;
};

}  // namespace trelvox::testing
