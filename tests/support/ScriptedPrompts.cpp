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

ScriptedPrompts::For ScriptedPrompts::AnswerFor(MessageId id) {
  switch (id) {
    case MessageId::NewCompositeFile:
    case MessageId::NewCounterFile:
    case MessageId::DataCollectedOn:
    case MessageId::ParseAnotherSubject:
      return For::Question;
    case MessageId::TimeOutValue:
    case MessageId::ResponsesPerTrial:
    case MessageId::MissingSubjectId:
    case MessageId::SubjectIdToParse:
      return For::Input;
    case MessageId::InputFile:
    case MessageId::CompositeFile:
    case MessageId::CounterFile:
    case MessageId::SubjectFile:
      return For::File;
    default:  // notices and problems: OK boxes
      return For::Nothing;
  }
}

ScriptedPrompts::Step ScriptedPrompts::Next(MessageId id, For shownAs,
                                            const std::string& shownText) {
  const For target = AnswerFor(id);
  if (target != shownAs) {
    throw ScriptError("the box's id asks for another kind of answer than the box: " + shownText);
  }
  if (target == For::Nothing) {
    return {For::Nothing, "OK"};
  }
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
  box.id = request.id;
  box.caption = request.caption;
  box.text = request.text;
  box.tone = request.tone;
  const bool question = request.buttons == Buttons::YesNo;
  box.kind = question ? ShownBox::Kind::Question : ShownBox::Kind::Message;
  box.answer = Next(request.id, question ? For::Question : For::Nothing, request.text).value;
  shown_.push_back(box);
  if (!question) {
    return Answer::Ok;
  }
  return box.answer == "Yes" ? Answer::Yes : Answer::No;
}

std::string ScriptedPrompts::ShowInput(const InputRequest& request) {
  ShownBox box;
  box.kind = ShownBox::Kind::Input;
  box.id = request.id;
  box.caption = request.title;
  box.text = request.prompt;
  box.answer = Next(request.id, For::Input, request.prompt).value;
  shown_.push_back(box);
  return box.answer;
}

std::string ScriptedPrompts::ShowFileDialog(const FileDialogRequest& request) {
  ShownBox box;
  box.kind = request.kind == FileDialogKind::Save ? ShownBox::Kind::SaveDialog
                                                  : ShownBox::Kind::OpenDialog;
  box.id = request.id;
  box.caption = request.title;
  box.text = request.title;
  box.filter = request.filter;
  box.confirmOverwrite = request.confirmOverwrite;
  box.answer = Next(request.id, For::File, request.title).value;
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
