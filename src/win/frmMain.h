#pragma once

#include <windows.h>

#include "desktop/MainMenuCommands.h"
#include "desktop/Placement.h"

namespace trelvox {

class WinApplication;

// The wait cursor while a command runs; the boxes show the arrow over themselves.
class WaitCursor final : public BusyPointer {
 public:
  void Show() override;
  void Restore() override;

 private:
  HCURSOR previous_ = nullptr;
};

// The working window: a multiple-document frame whose File menu starts every command, with a
// status bar of text, date and time. It keeps its placement between runs.
class frmMain final : public MainMenuCommands {
 public:
  static constexpr const char* kClassName = "TrelvoxMainWindow";

  explicit frmMain(WinApplication& app);
  ~frmMain() override;

  // Creates the window at its stored placement (the load step); it is not shown yet.
  void Form_Load();
  void Show();
  HWND Handle() const { return hwnd_; }
  HWND MdiClient() const { return mdiClient_; }
  HWND StatusBar() const { return statusBar_; }
  HACCEL Accelerators() const { return accelerators_; }
  // The menu item's command number.
  static int CommandId(MenuCommand command) { return kFirstMenuId + static_cast<int>(command); }
  void Refresh();  // the status bar's date and time

 protected:
  BusyPointer& Busy() override { return busy_; }
  OptionBoxes& LoadSaveOptions() override;
  void BringSaveOptionsToFront() override;
  void ShowAboutBox() override;
  void ShowAnalyzeWindow(const std::vector<std::string>& inputs) override;
  void UnloadMainForm() override { DestroyWindow(hwnd_); }

 private:
  static constexpr int kFirstMenuId = 1000;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate(HWND window);
  void LayOut();
  void Form_Unload();

  WinApplication& app_;
  WaitCursor busy_;
  HWND hwnd_ = nullptr;
  HWND mdiClient_ = nullptr;
  HWND statusBar_ = nullptr;
  HACCEL accelerators_ = nullptr;
};

}  // namespace trelvox
