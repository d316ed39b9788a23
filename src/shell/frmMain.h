#pragma once

#include <QMainWindow>
#include <QSize>
#include <cstdint>

#include "desktop/MainMenu.h"
#include "desktop/Placement.h"
#include "shell/Application.h"

class QFileDialog;

namespace trelvox {

// The working window: a multiple-document frame whose File menu starts every command. It owns
// the file dialog that every command uses and keeps its placement between runs.
class frmMain final : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmMain(Application& app);

  // Restores the stored placement; runs once, before the window is first shown.
  void Form_Load();
  QFileDialog* dlgCommonDialog() const { return dlgCommonDialog_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void RunMenuCommand(MenuCommand command);
  void mnuFileParseOne_Click();
  void mnuFileParseAll_Click();
  void mnuFileSaveOptions_Click();
  void mnuFileExit_Click();
  void mnuHelpAbout_Click();
  // Saves the placement unless the window is minimized; never stops the close.
  void Form_Unload();

  void RunCommand(CommandOutcome (Application::*command)());
  void ShowProblem(const std::string& text);
  void FitOuterSizeToFrame(int checksLeft);
  PixelRect CurrentPlacement() const;

  Application& app_;
  QFileDialog* dlgCommonDialog_;
  PixelRect restored_;    // the outer rectangle read at load
  QSize restoredClient_;  // the client size that stands for it
  bool fittedToFrame_ = false;
};

}  // namespace trelvox
