#pragma once

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "desktop/DesktopSession.h"
#include "shell/QtPrompts.h"

namespace trelvox {

class frmAnalyze;
class frmMain;
class frmSaveOptions;
class frmSplash;

// What the program and its tests choose differently; the settings are the user's QSettings
// and the launcher a detached process when not given.
struct ShellOptions : DesktopOptions {
  bool nativeFileDialogs = true;
};

// The Qt desktop program: the session with its boxes drawn by Qt, and the windows.
class Application {
 public:
  explicit Application(ShellOptions options = {});
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up: the splash, drawn at once, and every option off.
  void Main();
  // The splash's Begin: the splash goes, the main window comes at its stored placement.
  void Begin();

  frmSplash* Splash() const;
  // The running main window; null before Begin.
  frmMain* MainForm() const { return mainForm_.get(); }
  // The options dialog while it is loaded, else null.
  frmSaveOptions* SaveOptions() const;
  // Loads the options dialog when it is not loaded yet.
  frmSaveOptions& LoadSaveOptions();

  // The Analyze window while it is open, else null.
  frmAnalyze* Analyze() const;
  // Opens the Analyze window, or brings the open one to the front, holding `inputs` too.
  frmAnalyze& ShowAnalyze(const std::vector<std::string>& inputs);

  DesktopSession& Desktop() { return session_; }
  bool NativeFileDialogs() const { return nativeFileDialogs_; }

 private:
  bool nativeFileDialogs_;
  QtPrompts prompts_{*this};
  DesktopSession session_;
  QPointer<frmSplash> splash_;
  std::unique_ptr<frmMain> mainForm_;
  QPointer<frmSaveOptions> saveOptions_;
  QPointer<frmAnalyze> analyze_;
};

}  // namespace trelvox
