#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/Analysis.h"
#include "desktop/AnalyzeForm.h"
#include "desktop/DesktopSession.h"

namespace trelvox {

// The Analyze window as a toolkit draws it. Every call comes on the window's own thread.
class AnalyzeView {
 public:
  virtual ~AnalyzeView() = default;
  // What the fields hold now.
  virtual AnalyzeFormValues Values() const = 0;
  // Fills every field; the column list keeps its lines, see ShowByColumns.
  virtual void ShowValues(const AnalyzeFormValues& values) = 0;
  virtual void ShowInputs(const std::vector<std::string>& inputs) = 0;
  // The item list's columns to choose from, with `chosen` chosen.
  virtual void ShowByColumns(const std::vector<std::string>& columns,
                             const std::vector<std::string>& chosen) = 0;
  // The text of a field's problem label; empty text clears it.
  virtual void ShowProblem(analysis::AnalysisField field, const std::string& message) = 0;
  // Enables the controls as ControlEnabled says for a run or no run.
  virtual void ShowRunning(bool running) = 0;
  virtual void ShowProgress(int permille, const std::string& text) = 0;
  // The summary line and, in one list, everything the run told.
  virtual void ShowOutcome(const std::string& summary, const std::vector<std::string>& notices) = 0;
};

// Hands work from the analysis' thread to the window's thread.
class WindowThread {
 public:
  virtual ~WindowThread() = default;
  // Called on any thread; `task` runs soon on the window's thread, in the order posted. A task
  // posted after the window has gone may be dropped.
  virtual void Post(std::function<void()> task) = 0;
};

// What the Analyze window does, whatever draws it: the form's values and their checks, the run
// on a thread of its own with progress and Cancel, the outcome, the remembered values, opening
// the report and the folder.
class AnalyzeController {
 public:
  AnalyzeController(DesktopSession& session, AnalyzeView& view, WindowThread& thread);
  // Cancels a run still going and waits for it.
  ~AnalyzeController();
  AnalyzeController(const AnalyzeController&) = delete;
  AnalyzeController& operator=(const AnalyzeController&) = delete;

  // The window's load step: the remembered values, these inputs, the item list's columns.
  void Load(const std::vector<std::string>& inputs);
  // Add..., a drop, or files from outside: the paths not listed yet go to the end.
  void AddInputs(const std::vector<std::string>& paths);
  // Remove: the inputs at those rows go.
  void RemoveInputs(const std::vector<std::size_t>& rows);
  // A new item list was chosen or typed: its columns come into the column list.
  void ItemListChanged();
  // Analyze: checks the form, tells each field's problem, and starts the run when there is
  // none. False when nothing was started.
  bool Analyze();
  // Cancel: the run stops at the next line read and replaces nothing.
  void Cancel();
  // Close: a run still going is cancelled and waited for; the window may then close.
  void Close();
  // Open folder: the output folder in the file manager.
  void OpenFolder();

  bool Running() const { return worker_.joinable(); }

 private:
  class Observer;
  struct Shared;

  void ClearProblems();
  void ShowProblems(const std::vector<FieldProblem>& problems);
  void ShowColumns(const std::string& itemList, const std::vector<std::string>& chosen);
  void ShowLatestProgress();
  void Finish();
  void OpenReport(std::string& summary);
  void Join();

  DesktopSession& session_;
  AnalyzeView& view_;
  WindowThread& thread_;
  std::shared_ptr<Shared> shared_;  // what both threads touch
  std::string outputFolder_;        // of the run going
  bool openReport_ = false;
  std::thread worker_;
};

}  // namespace trelvox
