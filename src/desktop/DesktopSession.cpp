#include "desktop/DesktopSession.h"

#include <exception>

#include "platform/Errors.h"

namespace trelvox {

namespace {

class BusyWhileRunning {
 public:
  explicit BusyWhileRunning(BusyPointer& busy) : busy_(busy) { busy_.Show(); }
  ~BusyWhileRunning() { busy_.Restore(); }
  BusyWhileRunning(const BusyWhileRunning&) = delete;
  BusyWhileRunning& operator=(const BusyWhileRunning&) = delete;

 private:
  BusyPointer& busy_;
};

}  // namespace

analysis::AnalysisResult RunAnalysisOnDisk(const analysis::AnalysisRequest& request,
                                           analysis::AnalysisObserver& observer) {
  return analysis::RunAnalysis(request, observer);
}

DesktopOptions WithPlatformDefaults(DesktopOptions options,
                                    std::unique_ptr<SettingsStore> platformSettings,
                                    ProgramLauncher platformLauncher,
                                    DocumentOpener platformOpener) {
  if (!options.settings) {
    options.settings = std::move(platformSettings);
  }
  if (!options.launchProgram) {
    options.launchProgram = std::move(platformLauncher);
  }
  if (!options.openDocument) {
    options.openDocument = std::move(platformOpener);
  }
  return options;
}

DesktopSession::DesktopSession(DesktopOptions options, Prompts& boxes)
    : options_(std::move(options)), boxes_(boxes) {
  if (!options_.settings) {
    options_.settings = std::make_unique<MemorySettingsStore>();
  }
}

CommandOutcome DesktopSession::Run(const CommandFunction& command, BusyPointer& busy) {
  const BusyWhileRunning pointer(busy);
  try {
    return command(session_);
  } catch (const std::exception& error) {
    ShowProblem(error.what());
    return CommandOutcome::Failed;
  }
}

void DesktopSession::CloseFilesAtExit() {
  for (const std::int16_t channel : {state_.files.SubjFileNum, state_.files.InFileNum}) {
    try {
      files_.Close(channel);
    } catch (const WriteError& error) {
      ShowProblem(error.what());
    }
  }
}

void DesktopSession::StartSysInfo() {
  trelvox::StartSysInfo(options_.locateSysInfo, options_.launchProgram, ui_);
}

PixelRect DesktopSession::LoadPlacement(int dpi) const {
  return trelvox::LoadPlacement(*options_.settings, locale_, dpi);
}

void DesktopSession::SavePlacement(const PixelRect& outer, int dpi) {
  trelvox::SavePlacement(*options_.settings, outer, dpi);
}

void DesktopSession::ShowProblem(const std::string& text) {
  boxes_.ShowMessage({MessageId::ProgramProblem, text, kAppTitle, Buttons::Ok, Tone::Problem});
}

}  // namespace trelvox
