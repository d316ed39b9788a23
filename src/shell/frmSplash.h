#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace trelvox {

class Application;

// The start-up window: logo, name, credits, platform and version, and the Begin button.
class frmSplash final : public QWidget {
  Q_OBJECT

 public:
  explicit frmSplash(Application& app);

 private:
  void Form_Load();
  void cmdBegin_Click();
  void CentreOnScreen();

  Application& app_;
  QLabel* lblVersion_ = nullptr;
  QPushButton* cmdBegin_ = nullptr;
};

}  // namespace trelvox
