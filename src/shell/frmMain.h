#pragma once

#include <QMainWindow>
#include <QSize>

#include "desktop/MainMenuCommands.h"
#include "desktop/Placement.h"
#include "shell/Application.h"

class QFileDialog;

namespace trelvox {

// The wait cursor over every window of the program.
class WaitCursor final : public BusyPointer {
 public:
  void Show() override;
  void Restore() override;
};

// The working window: a multiple-document frame whose File menu starts every command. It owns
// the file dialog that every command uses and keeps its placement between runs.
class frmMain final : public QMainWindow, public MainMenuCommands {
  Q_OBJECT

 public:
  explicit frmMain(Application& app);

  // Restores the stored placement; runs once, before the window is first shown.
  void Form_Load();
  QFileDialog* dlgCommonDialog() const { return dlgCommonDialog_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

  BusyPointer& Busy() override { return busy_; }
  OptionBoxes& LoadSaveOptions() override;
  void BringSaveOptionsToFront() override;
  void ShowAboutBox() override;
  void ShowAnalyzeWindow(const std::vector<std::string>& inputs) override;
  void UnloadMainForm() override { close(); }

 private:
  void BuildMenus();
  // Saves the placement unless the window is minimized; never stops the close.
  void Form_Unload();

  void FitOuterSizeToFrame(int checksLeft);
  PixelRect CurrentPlacement() const;

  Application& app_;
  WaitCursor busy_;
  QFileDialog* dlgCommonDialog_;
  PixelRect restored_;    // the outer rectangle read at load
  QSize restoredClient_;  // the client size that stands for it
  bool fittedToFrame_ = false;
};

}  // namespace trelvox
