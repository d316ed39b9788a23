#include "desktop/ExitSteps.h"

#include "platform/Errors.h"

namespace trelvox {

void ShowProblemBox(Prompts& boxes, const std::string& text) {
  boxes.ShowMessage({MessageId::ProgramProblem, text, kAppTitle, Buttons::Ok, Tone::Problem});
}

void CloseFilesAtExit(const RunState& state, FileChannels& files, Prompts& boxes) {
  for (const std::int16_t channel : {state.files.SubjFileNum, state.files.InFileNum}) {
    try {
      files.Close(channel);
    } catch (const WriteError& error) {
      ShowProblemBox(boxes, error.what());
    }
  }
}

}  // namespace trelvox
