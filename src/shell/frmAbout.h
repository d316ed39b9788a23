#pragma once

#include <QDialog>

class QLabel;

namespace trelvox {

class Application;

// Names the tool, its version and description, and starts the system information tool.
// Shown modal, owned by the main window; each opening loads a fresh box.
class frmAbout final : public QDialog {
  Q_OBJECT

 public:
  frmAbout(Application& app, QWidget* owner);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void BindControls();
  void Form_Load();
  void cmdSysInfo_Click();

  Application& app_;
  QLabel* lblTitle_ = nullptr;
  QLabel* lblVersion_ = nullptr;
  QLabel* lblDescription_ = nullptr;
};

}  // namespace trelvox
