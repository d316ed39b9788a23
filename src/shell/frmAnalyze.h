#pragma once

#include <QDialog>
#include <memory>

#include "desktop/AnalyzeController.h"

class QListWidget;

namespace trelvox {

class Application;

// The Analyze window as Qt draws it: the shared description's controls, wired to the shared
// controller. Modeless and without an owner, like the options dialog; it is deleted when it
// closes.
class frmAnalyze final : public QDialog, public AnalyzeView, public WindowThread {
  Q_OBJECT

 public:
  explicit frmAnalyze(Application& app);
  ~frmAnalyze() override;

  AnalyzeController& Controller() { return *controller_; }

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

  // WindowThread: queued to this window, dropped once it is gone.
  void Post(std::function<void()> task) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape and Close
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BindControls();
  void cmdAdd_Click();
  void cmdBrowseItems_Click();
  void cmdBrowseOutput_Click();
  void cmdRemove_Click();
  QString ChooseFolder(const QString& start);

  Application& app_;
  QListWidget* lstInputs_ = nullptr;
  QListWidget* lstBy_ = nullptr;
  std::unique_ptr<AnalyzeController> controller_;
};

}  // namespace trelvox
