#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "commands/Commands.h"
#include "desktop/SysInfo.h"
#include "parse/RunState.h"
#include "parse/Session.h"
#include "platform/DiskFileChannels.h"
#include "platform/Locale.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "shell/QtPrompts.h"

namespace trelvox {

class frmMain;
class frmSaveOptions;
class frmSplash;

using CommandFunction = std::function<CommandOutcome(Session&)>;

// What the program and its tests choose differently.
struct ShellOptions {
  CommandFunction parseAll = ParseAll;
  CommandFunction parseOneSubject = ParseOneSubject;
  std::unique_ptr<SettingsStore> settings;  // the user's QSettings when not given
  bool nativeFileDialogs = true;
  SysInfoLocator locateSysInfo = PlatformSysInfoLocator();
  ProgramLauncher launchProgram;  // a detached process when not given
};

// The desktop program: owns the one run state, the files, the boxes, the locale, the clock,
// the settings and the windows, and hands them to the windows and the commands.
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

  RunState& State() { return state_; }
  DiskFileChannels& Files() { return files_; }
  Prompts& Boxes() { return prompts_; }
  Session& CurrentSession() { return session_; }
  SettingsStore& Settings() { return *options_.settings; }
  const Locale& UserLocale() const { return locale_; }
  bool NativeFileDialogs() const { return options_.nativeFileDialogs; }

  CommandOutcome RunParseAll() { return options_.parseAll(session_); }
  CommandOutcome RunParseOneSubject() { return options_.parseOneSubject(session_); }
  void StartSysInfo();

 private:
  ShellOptions options_;
  RunState state_;
  DiskFileChannels files_;
  QtPrompts prompts_{*this};
  Ui ui_{prompts_, files_};
  FixedLocale locale_ = SystemLocale();
  SystemClock clock_;
  TrialStream trials_;
  Session session_{state_, files_, ui_, locale_, clock_, trials_};
  QPointer<frmSplash> splash_;
  std::unique_ptr<frmMain> mainForm_;
  QPointer<frmSaveOptions> saveOptions_;
};

}  // namespace trelvox
