#pragma once

#include <functional>
#include <memory>
#include <string>

#include "commands/Commands.h"
#include "desktop/Placement.h"
#include "desktop/SysInfo.h"
#include "parse/RunState.h"
#include "parse/Session.h"
#include "parse/TrialStream.h"
#include "platform/DiskFileChannels.h"
#include "platform/Locale.h"
#include "platform/Prompts.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"

namespace trelvox {

using CommandFunction = std::function<CommandOutcome(Session&)>;

// What a desktop program and its tests choose differently.
struct DesktopOptions {
  CommandFunction parseAll = ParseAll;
  CommandFunction parseOneSubject = ParseOneSubject;
  std::unique_ptr<SettingsStore> settings;
  SysInfoLocator locateSysInfo = PlatformSysInfoLocator();
  ProgramLauncher launchProgram;
};

// The options with the toolkit's own settings store and program launcher where they name none.
DesktopOptions WithPlatformDefaults(DesktopOptions options,
                                    std::unique_ptr<SettingsStore> platformSettings,
                                    ProgramLauncher platformLauncher);

// The pointer while a command works; each toolkit draws it its own way.
class BusyPointer {
 public:
  virtual ~BusyPointer() = default;
  virtual void Show() = 0;
  virtual void Restore() = 0;
};

// What a desktop program works with, whatever draws its windows: the one run state, the files,
// the boxes, the locale, the clock, the settings, the trial stream and the commands.
class DesktopSession {
 public:
  // `boxes` draws every box and file dialog; it must outlive the session.
  DesktopSession(DesktopOptions options, Prompts& boxes);
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  RunState& State() { return state_; }
  DiskFileChannels& Files() { return files_; }
  Prompts& Boxes() { return boxes_; }
  Session& CurrentSession() { return session_; }
  SettingsStore& Settings() { return *options_.settings; }
  const Locale& UserLocale() const { return locale_; }
  const Clock& Today() const { return clock_; }

  // A parse command under the busy pointer. Whatever it throws ends it in a problem box, so
  // that nothing escapes the menu handler; the outcome is then Failed.
  CommandOutcome RunParseAll(BusyPointer& busy) { return Run(options_.parseAll, busy); }
  CommandOutcome RunParseOneSubject(BusyPointer& busy) {
    return Run(options_.parseOneSubject, busy);
  }
  // File > Exit: closes the subject and input files. A write that fails at the close is told
  // in a box.
  void CloseFilesAtExit();
  void StartSysInfo();

  PixelRect LoadPlacement(int dpi) const;
  void SavePlacement(const PixelRect& outer, int dpi);

 private:
  CommandOutcome Run(const CommandFunction& command, BusyPointer& busy);
  // Straight to the boxes: going through the Ui would try to flush a failing file once more.
  void ShowProblem(const std::string& text);

  DesktopOptions options_;
  Prompts& boxes_;
  RunState state_;
  DiskFileChannels files_;
  Ui ui_{boxes_, files_};
  FixedLocale locale_ = SystemLocale();
  SystemClock clock_;
  TrialStream trials_;
  Session session_{state_, files_, ui_, locale_, clock_, trials_};
};

}  // namespace trelvox
