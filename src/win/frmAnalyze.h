#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "desktop/AnalyzeController.h"
#include "win/DescribedDialog.h"

namespace trelvox {

// The Analyze window: modeless and without an owner, so that it may stay while the main window
// goes. What it does is the controller's; this class draws the fields and hands their events on.
class frmAnalyze final : public DescribedWindow<AnalyzeControl>,
                         private AnalyzeView,
                         private WindowThread {
 public:
  // Tells the window to run what the analysis' thread posted.
  static constexpr UINT kRunPostedTasks = WM_APP + 1;

  explicit frmAnalyze(WinApplication& app);
  ~frmAnalyze() override;

  // Creates the window unless it is there, with `inputs` added to those it holds, and brings
  // it to the front.
  void Load(const std::vector<std::string>& inputs);
  AnalyzeController& Controller() { return *controller_; }

 private:
  void Form_Load() override;
  void OnCommand(int id) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  // AnalyzeView
  AnalyzeFormValues Values() const override;
  void ShowValues(const AnalyzeFormValues& values) override;
  void ShowInputs(const std::vector<std::string>& inputs) override;
  void ShowByColumns(const std::vector<std::string>& columns,
                     const std::vector<std::string>& chosen) override;
  void ShowProblem(analysis::AnalysisField field, const std::string& message) override;
  void ShowRunning(bool running) override;
  void ShowProgress(int permille, const std::string& text) override;
  void ShowOutcome(const std::string& summary, const std::vector<std::string>& notices) override;

  // WindowThread: any thread queues, the window's thread runs.
  void Post(std::function<void()> task) override;
  void RunPostedTasks();

  void cmdAdd_Click();
  void cmdRemove_Click();
  void cmdBrowseItems_Click();
  void cmdBrowseOutput_Click();
  void cmdClose_Click();
  void ItemListLeft();  // the focus left the item list's box
  void FilesDropped(HDROP drop);
  std::string Text(AnalyzeControl id) const;
  bool IsChecked(AnalyzeControl id) const;
  void SetChecked(AnalyzeControl id, bool checked);
  bool IsProblemLabel(HWND control) const;

  std::vector<std::string> pendingInputs_;  // for the load step
  std::string shownItemList_;               // whose columns the column list holds
  std::mutex tasksMutex_;
  std::deque<std::function<void()>> tasks_;
  std::atomic<HWND> postTarget_{nullptr};
  // Last: it goes first, so a run still going ends before the queue it posts to.
  std::unique_ptr<AnalyzeController> controller_;
};

}  // namespace trelvox
