#include "platform/Ui.h"

namespace trelvox {

void Ui::Message(std::string_view text, std::string_view caption, Tone tone) {
  files_.FlushAll();
  prompts_.ShowMessage({std::string(text), std::string(caption), Buttons::Ok, tone});
}

bool Ui::AskYesNo(std::string_view text, std::string_view caption) {
  files_.FlushAll();
  return prompts_.ShowMessage(
             {std::string(text), std::string(caption), Buttons::YesNo, Tone::Info}) == Answer::Yes;
}

std::string Ui::Input(std::string_view prompt, std::string_view title) {
  files_.FlushAll();
  return prompts_.ShowInput({std::string(prompt), std::string(title)});
}

std::string Ui::ChooseFile(const FileDialogRequest& request) {
  files_.FlushAll();
  return prompts_.ShowFileDialog(request);
}

}  // namespace trelvox
