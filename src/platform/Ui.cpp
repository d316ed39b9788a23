#include "platform/Ui.h"

namespace trelvox {

void Ui::FlushBeforeBox() {
  if (prompts_.BoxesWaitForUser()) {
    files_.FlushAll();
  }
}

void Ui::Message(MessageId id, std::string_view text, std::string_view caption, Tone tone) {
  FlushBeforeBox();
  prompts_.ShowMessage({id, std::string(text), std::string(caption), Buttons::Ok, tone});
}

bool Ui::AskYesNo(MessageId id, std::string_view text, std::string_view caption) {
  FlushBeforeBox();
  return prompts_.ShowMessage({id, std::string(text), std::string(caption), Buttons::YesNo,
                               Tone::Info}) == Answer::Yes;
}

std::string Ui::Input(MessageId id, std::string_view prompt, std::string_view title) {
  FlushBeforeBox();
  return prompts_.ShowInput({id, std::string(prompt), std::string(title)});
}

std::string Ui::ChooseFile(const FileDialogRequest& request) {
  FlushBeforeBox();
  return prompts_.ShowFileDialog(request);
}

}  // namespace trelvox
