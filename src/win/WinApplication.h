#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "commands/Commands.h"
#include "desktop/SysInfo.h"
#include "parse/RunState.h"
#include "parse/Session.h"
#include "platform/DiskFileChannels.h"
#include "platform/Locale.h"
#include "platform/Prompts.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "win/WinControls.h"

namespace trelvox {

class frmMain;
class frmSaveOptions;
class frmSplash;

using CommandFunction = std::function<CommandOutcome(Session&)>;

// What the program and its tests choose differently.
struct WinOptions {
  HINSTANCE instance = nullptr;
  CommandFunction parseAll = ParseAll;
  CommandFunction parseOneSubject = ParseOneSubject;
  std::unique_ptr<SettingsStore> settings;  // the user's registry when not given
  std::unique_ptr<Prompts> prompts;         // the Windows boxes and dialogs when not given
  SysInfoLocator locateSysInfo = PlatformSysInfoLocator();
  ProgramLauncher launchProgram;  // a new process when not given
};

// The Windows desktop program: owns the one run state, the files, the boxes, the locale, the
// settings and the windows, and hands them to the windows and the commands.
class WinApplication {
 public:
  explicit WinApplication(WinOptions options = {});
  ~WinApplication();
  WinApplication(const WinApplication&) = delete;
  WinApplication& operator=(const WinApplication&) = delete;

  // Start-up: the splash, drawn at once, and every option off.
  void Main();
  // The splash's Begin: the splash goes, the main window comes at its stored placement.
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
  void ShowAbout(HWND owner);

  RunState& State() { return state_; }
  DiskFileChannels& Files() { return files_; }
  Prompts& Boxes() { return *options_.prompts; }
  SettingsStore& Settings() { return *options_.settings; }
  const Locale& UserLocale() const { return locale_; }
  const Clock& Today() const { return clock_; }
  HINSTANCE Instance() const { return options_.instance; }
  FontSet& Fonts() { return fonts_; }
  const Pictures& Images() const { return pictures_; }
  int Dpi() const { return fonts_.Dpi(); }

  CommandOutcome RunParseAll() { return options_.parseAll(session_); }
  CommandOutcome RunParseOneSubject() { return options_.parseOneSubject(session_); }
  void StartSysInfo();

  // Called by each top-level window as it goes; the program ends with the last one.
  void WindowClosed(HWND window);

 private:
  bool TranslateForWindows(MSG& message);

  WinOptions options_;
  RunState state_;
  DiskFileChannels files_;
  Ui ui_;
  FixedLocale locale_ = SystemLocale();
  SystemClock clock_;
  TrialStream trials_;
  Session session_{state_, files_, ui_, locale_, clock_, trials_};
  FontSet fonts_;
  Pictures pictures_;
  std::unique_ptr<frmSplash> splash_;
  std::unique_ptr<frmMain> mainForm_;
  std::unique_ptr<frmSaveOptions> saveOptions_;
  bool swapping_ = false;
};

}  // namespace trelvox
