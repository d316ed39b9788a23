#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
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
using AnalysisRunner = std::function<analysis::AnalysisResult(const analysis::AnalysisRequest&,
                                                              analysis::AnalysisObserver&)>;
// Opens a file or folder in the program the user's desktop chooses for it; false when it could
// not.
using DocumentOpener = std::function<bool(const std::string& path)>;

// The analysis as trelvox-batch runs it, with the system's locale.
analysis::AnalysisResult RunAnalysisOnDisk(const analysis::AnalysisRequest& request,
                                           analysis::AnalysisObserver& observer);

// What a desktop program and its tests choose differently.
struct DesktopOptions {
  CommandFunction parseAll = ParseAll;
  CommandFunction parseOneSubject = ParseOneSubject;
  std::unique_ptr<SettingsStore> settings;
  SysInfoLocator locateSysInfo = PlatformSysInfoLocator();
  ProgramLauncher launchProgram;
  AnalysisRunner analyze = RunAnalysisOnDisk;  // may run on any thread
  DocumentOpener openDocument;
  std::vector<std::string> filesToAnalyse;  // named on the command line
};

// The options with the toolkit's own settings store and program launcher where they name none.
DesktopOptions WithPlatformDefaults(DesktopOptions options,
                                    std::unique_ptr<SettingsStore> platformSettings,
                                    ProgramLauncher platformLauncher,
                                    DocumentOpener platformOpener = {});

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

  // The files the program was started with, to be analysed.
  const std::vector<std::string>& FilesToAnalyse() const { return options_.filesToAnalyse; }
  // Runs on the caller's thread; the runner makes all it needs.
  analysis::AnalysisResult Analyse(const analysis::AnalysisRequest& request,
                                   analysis::AnalysisObserver& observer) const {
    return options_.analyze(request, observer);
  }
  // False also when the program has no way to open documents.
  bool OpenDocument(const std::string& path) const {
    return options_.openDocument && options_.openDocument(path);
  }

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
