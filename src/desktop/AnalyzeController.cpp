#include "desktop/AnalyzeController.h"

#include <exception>
#include <filesystem>

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace trelvox {

namespace {

using analysis::AnalysisField;
using analysis::AnalysisResult;
using analysis::AnalysisStatus;

constexpr const char* kReportName = "report.html";

bool IsFolder(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(PathFromBytes(path), ignored);
}

bool IsFile(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(PathFromBytes(path), ignored);
}

// A runner that throws instead of reporting still ends the run with a message, not the program.
AnalysisResult FailedRun(const std::string& why) {
  AnalysisResult result;
  result.status = AnalysisStatus::Failed;
  result.failure = analysis::AnalysisFailure{
      analysis::FailureKind::Input, AnalysisField::Inputs, {}, "The analysis stopped: " + why};
  result.lines = {result.failure->message};
  return result;
}

}  // namespace

// What the window's thread and the analysis' thread share. Only the window's thread touches
// `owner`; the rest is guarded.
struct AnalyzeController::Shared {
  AnalyzeController* owner = nullptr;
  std::atomic<bool> cancel{false};
  std::mutex mutex;
  int run = 0;  // numbers the runs, so that a late report of an earlier one is ignored
  int permille = -1;
  std::string progressText;
  bool progressPosted = false;
  std::optional<AnalysisResult> result;
};

// Runs on the analysis' thread: keeps the latest progress and posts it unless a post is still
// on its way, so that a fast run cannot flood the window's queue.
class AnalyzeController::Observer final : public analysis::AnalysisObserver {
 public:
  Observer(std::shared_ptr<Shared> shared, WindowThread& thread)
      : shared_(std::move(shared)), thread_(thread) {}

  void Progress(const analysis::AnalysisProgress& progress) override {
    const int permille = ProgressPermille(progress);
    std::string text = ProgressText(progress);
    {
      const std::lock_guard lock(shared_->mutex);
      if (permille == shared_->permille && text == shared_->progressText) {
        return;
      }
      shared_->permille = permille;
      shared_->progressText = std::move(text);
      if (shared_->progressPosted) {
        return;
      }
      shared_->progressPosted = true;
    }
    thread_.Post([shared = shared_] {
      if (shared->owner != nullptr) {
        shared->owner->ShowLatestProgress();
      }
    });
  }

  bool CancelRequested() override { return shared_->cancel.load(std::memory_order_relaxed); }

 private:
  std::shared_ptr<Shared> shared_;
  WindowThread& thread_;
};

AnalyzeController::AnalyzeController(DesktopSession& session, AnalyzeView& view,
                                     WindowThread& thread)
    : session_(session), view_(view), thread_(thread), shared_(std::make_shared<Shared>()) {
  shared_->owner = this;
}

AnalyzeController::~AnalyzeController() {
  shared_->cancel = true;
  Join();
  shared_->owner = nullptr;
}

void AnalyzeController::Load(const std::vector<std::string>& inputs) {
  AnalyzeFormValues values = LoadRememberedValues(session_.Settings());
  trelvox::AddInputs(values.inputs, inputs);
  view_.ShowValues(values);
  ShowColumns(values.itemList, values.by);
  view_.ShowRunning(false);
  view_.ShowProgress(0, "");
  view_.ShowOutcome("", {});
}

void AnalyzeController::AddInputs(const std::vector<std::string>& paths) {
  std::vector<std::string> inputs = view_.Values().inputs;
  trelvox::AddInputs(inputs, paths);
  view_.ShowInputs(inputs);
  view_.ShowProblem(AnalysisField::Inputs, "");
}

void AnalyzeController::RemoveInputs(const std::vector<std::size_t>& rows) {
  std::vector<std::string> inputs = view_.Values().inputs;
  trelvox::RemoveInputs(inputs, rows);
  view_.ShowInputs(inputs);
}

void AnalyzeController::ItemListChanged() {
  const AnalyzeFormValues values = view_.Values();
  ShowColumns(values.itemList, values.by);
}

void AnalyzeController::ShowColumns(const std::string& itemList,
                                    const std::vector<std::string>& chosen) {
  view_.ShowProblem(AnalysisField::ItemList, "");
  view_.ShowProblem(AnalysisField::By, "");
  if (itemList.empty()) {
    view_.ShowByColumns({}, {});
    return;
  }
  try {
    const std::vector<std::string> columns = ItemListColumns(itemList);
    std::vector<std::string> kept;
    for (const std::string& column : chosen) {
      if (std::find(columns.begin(), columns.end(), column) != columns.end()) {
        kept.push_back(column);
      }
    }
    view_.ShowByColumns(columns, kept);
  } catch (const TrelvoxError& error) {
    view_.ShowByColumns({}, {});
    view_.ShowProblem(AnalysisField::ItemList,
                      std::string(error.what()) + " Mend it or choose another item list.");
  }
}

void AnalyzeController::ClearProblems() {
  for (const AnalysisField field : FormFields()) {
    view_.ShowProblem(field, "");
  }
}

void AnalyzeController::ShowProblems(const std::vector<FieldProblem>& problems) {
  for (const FieldProblem& problem : problems) {
    view_.ShowProblem(problem.field, problem.message);
  }
}

bool AnalyzeController::Analyze() {
  if (Running()) {
    return false;
  }
  const AnalyzeFormValues values = view_.Values();
  ClearProblems();
  CheckedForm checked = CheckForm(values, session_.UserLocale());
  if (!checked.Runs()) {
    ShowProblems(checked.problems);
    view_.ShowOutcome("Nothing was analysed: mend what the window tells beside the fields.", {});
    return false;
  }
  RememberValues(session_.Settings(), values);
  outputFolder_ = values.outputFolder;
  openReport_ = values.openReport;
  int run = 0;
  {
    const std::lock_guard lock(shared_->mutex);
    run = ++shared_->run;
    shared_->permille = -1;
    shared_->progressText.clear();
    shared_->progressPosted = false;
    shared_->result.reset();
  }
  shared_->cancel = false;
  view_.ShowOutcome("", {});
  view_.ShowProgress(0, "Starting");
  view_.ShowRunning(true);
  worker_ = std::thread([&session = session_, &thread = thread_, shared = shared_, run,
                         request = std::move(checked.request)] {
    Observer observer(shared, thread);
    AnalysisResult result;
    try {
      result = session.Analyse(request, observer);
    } catch (const std::exception& error) {
      result = FailedRun(error.what());
    }
    {
      const std::lock_guard lock(shared->mutex);
      shared->result = std::move(result);
    }
    thread.Post([shared, run] {
      if (shared->owner != nullptr && shared->run == run) {
        shared->owner->Finish();
      }
    });
  });
  return true;
}

void AnalyzeController::Cancel() {
  shared_->cancel = true;
}

void AnalyzeController::Close() {
  if (!Running()) {
    return;
  }
  Cancel();
  Join();
  const std::lock_guard lock(shared_->mutex);
  ++shared_->run;  // its outcome is of no window any more
  shared_->result.reset();
}

void AnalyzeController::Join() {
  if (worker_.joinable()) {
    worker_.join();
  }
}

void AnalyzeController::ShowLatestProgress() {
  int permille = 0;
  std::string text;
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->progressPosted = false;
    permille = shared_->permille;
    text = shared_->progressText;
  }
  if (Running() && permille >= 0) {
    view_.ShowProgress(permille, text);
  }
}

void AnalyzeController::Finish() {
  Join();
  std::optional<AnalysisResult> taken;
  {
    const std::lock_guard lock(shared_->mutex);
    taken.swap(shared_->result);
  }
  view_.ShowRunning(false);
  if (!taken) {
    return;
  }
  AnalysisResult& result = *taken;
  switch (result.status) {
    case AnalysisStatus::Completed: {
      std::string summary = SummaryLine(result.summary);
      if (openReport_) {
        OpenReport(summary);
      }
      view_.ShowProgress(1000, "Done");
      view_.ShowOutcome(summary, result.lines);
      return;
    }
    case AnalysisStatus::Cancelled:
      view_.ShowProgress(0, "");
      view_.ShowOutcome(result.lines.empty() ? "Cancelled." : result.lines.front(), {});
      return;
    case AnalysisStatus::Failed: {
      const std::string message = result.failure         ? result.failure->message
                                  : result.lines.empty() ? "The analysis failed."
                                                         : result.lines.front();
      if (result.failure) {
        view_.ShowProblem(result.failure->field, message);
      }
      view_.ShowProgress(0, "");
      view_.ShowOutcome("Not analysed: " + message, {});
      return;
    }
  }
}

void AnalyzeController::OpenReport(std::string& summary) {
  const std::string report = JoinPath(outputFolder_, kReportName);
  if (!IsFile(report)) {
    summary += " No report was written, so none is opened.";
  } else if (!session_.OpenDocument(report)) {
    summary += " The report could not be opened: open " + report + " in your browser.";
  }
}

void AnalyzeController::OpenFolder() {
  const std::string folder = view_.Values().outputFolder;
  view_.ShowProblem(AnalysisField::OutputFolder, "");
  if (folder.empty()) {
    view_.ShowProblem(AnalysisField::OutputFolder, "Choose the output folder first (Browse...).");
  } else if (!IsFolder(folder)) {
    view_.ShowProblem(AnalysisField::OutputFolder,
                      folder + " does not exist yet: Analyze makes it.");
  } else if (!session_.OpenDocument(folder)) {
    view_.ShowProblem(AnalysisField::OutputFolder,
                      "The folder could not be shown: open " + folder + " in your file manager.");
  }
}

}  // namespace trelvox
