#include "support/ScriptedPrompts.h"

namespace trelvox::testing {

ScriptedPrompts& ScriptedPrompts::Yes() {
  script_.push_back({For::Question, "Yes"});
  return *this;
}

ScriptedPrompts& ScriptedPrompts::No() {
  script_.push_back({For::Question, "No"});
  return *this;
}

ScriptedPrompts& ScriptedPrompts::Type(std::string text) {
  script_.push_back({For::Input, std::move(text)});
  return *this;
}

ScriptedPrompts& ScriptedPrompts::Choose(std::string path) {
  script_.push_back({For::File, std::move(path)});
  return *this;
}

ScriptedPrompts& ScriptedPrompts::Cancel() {
  script_.push_back({For::InputOrFile, ""});
  return *this;
}

ScriptedPrompts::Step ScriptedPrompts::Next(For target, const std::string& shownText) {
  if (script_.empty()) {
    throw ScriptError("no answer scripted for: " + shownText);
  }
  Step step = script_.front();
  const bool fits =
      step.target == target || (step.target == For::InputOrFile && target != For::Question);
  if (!fits) {
    throw ScriptError("the scripted answer '" + step.value + "' does not fit: " + shownText);
  }
  script_.pop_front();
  return step;
}

Answer ScriptedPrompts::ShowMessage(const MessageRequest& request) {
  ShownBox box;
  box.caption = request.caption;
  box.text = request.text;
  box.tone = request.tone;
  if (request.buttons == Buttons::Ok) {
    box.kind = ShownBox::Kind::Message;
    box.answer = "OK";
    shown_.push_back(box);
    return Answer::Ok;
  }
  box.kind = ShownBox::Kind::Question;
  box.answer = Next(For::Question, request.text).value;
  shown_.push_back(box);
  return box.answer == "Yes" ? Answer::Yes : Answer::No;
}

std::string ScriptedPrompts::ShowInput(const InputRequest& request) {
  ShownBox box;
  box.kind = ShownBox::Kind::Input;
  box.caption = request.title;
  box.text = request.prompt;
  box.answer = Next(For::Input, request.prompt).value;
  shown_.push_back(box);
  return box.answer;
}

std::string ScriptedPrompts::ShowFileDialog(const FileDialogRequest& request) {
  ShownBox box;
  box.kind = request.kind == FileDialogKind::Save ? ShownBox::Kind::SaveDialog
                                                  : ShownBox::Kind::OpenDialog;
  box.caption = request.title;
  box.text = request.title;
  box.filter = request.filter;
  box.confirmOverwrite = request.confirmOverwrite;
  box.answer = Next(For::File, request.title).value;
  shown_.push_back(box);
  return box.answer;
}

std::vector<std::string> ScriptedPrompts::Texts() const {
  std::vector<std::string> texts;
  for (const ShownBox& box : shown_) {
    texts.push_back(box.text);
  }
  return texts;
}

std::vector<std::string> ScriptedPrompts::Messages() const {
  std::vector<std::string> texts;
  for (const ShownBox& box : shown_) {
    if (box.kind == ShownBox::Kind::Message) {
      texts.push_back(box.text);
    }
  }
  return texts;
}

}  // namespace trelvox::testing
