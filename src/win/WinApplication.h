#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/DesktopSession.h"
#include "win/WinControls.h"

namespace trelvox {

class frmAnalyze;
class frmMain;
class frmSaveOptions;
class frmSplash;

// What the program and its tests choose differently; the settings are the user's registry and
// the launcher a new process when not given.
struct WinOptions : DesktopOptions {
  HINSTANCE instance = nullptr;
  std::unique_ptr<Prompts> prompts;  // the Windows boxes and dialogs when not given
};

// The Windows desktop program: the session with its boxes drawn by Windows, and the windows.
class WinApplication {
 public:
  explicit WinApplication(WinOptions options = {});
  ~WinApplication();
  WinApplication(const WinApplication&) = delete;
  WinApplication& operator=(const WinApplication&) = delete;

  // Start-up: the splash, drawn at once, and every option off.
  void Main();
  // The splash's Begin: the splash goes, the main window comes at its stored placement, and
  // the Analyze window after it when the program was started with files.
  void Begin();
  // Runs the messages until the last window has closed; returns the exit code.
  int Run();
  // Handles one queued message the way the program's loop does; false when none was waiting.
  bool DispatchPending();

  // The splash and the options dialog while they are loaded, else null.
  frmSplash* Splash() const;
  frmSaveOptions* SaveOptions() const;
  // The main window once Begin has made it; nothing clears it.
  frmMain* MainForm() const { return mainForm_.get(); }
  frmSaveOptions& LoadSaveOptions();
  // The Analyze window while it is open, else null.
  frmAnalyze* Analyze() const;
  // Opens the Analyze window, or brings it to the front, with `inputs` added to its list.
  frmAnalyze& ShowAnalyze(const std::vector<std::string>& inputs);

  DesktopSession& Desktop() { return session_; }
  HINSTANCE Instance() const { return instance_; }
  FontSet& Fonts() { return fonts_; }
  const Pictures& Images() const { return pictures_; }
  int Dpi() const { return fonts_.Dpi(); }

  // Called by each top-level window as it goes; the program ends with the last one.
  void WindowClosed(HWND window);

 private:
  bool TranslateForWindows(MSG& message);

  HINSTANCE instance_;
  std::unique_ptr<Prompts> prompts_;
  DesktopSession session_;
  FontSet fonts_;
  Pictures pictures_;
  std::unique_ptr<frmSplash> splash_;
  std::unique_ptr<frmMain> mainForm_;
  std::unique_ptr<frmSaveOptions> saveOptions_;
  std::unique_ptr<frmAnalyze> analyze_;
  bool swapping_ = false;
};

}  // namespace trelvox
