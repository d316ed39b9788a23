#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "commands/Commands.h"
#include "desktop/MainMenu.h"
#include "desktop/Placement.h"

namespace trelvox {

class WinApplication;

// The working window: a multiple-document frame whose File menu starts every command, with a
// status bar of text, date and time. It keeps its placement between runs.
class frmMain final {
 public:
  static constexpr const char* kClassName = "TrelvoxMainWindow";

  explicit frmMain(WinApplication& app);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

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

 private:
  static constexpr int kFirstMenuId = 1000;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate(HWND window);
  void LayOut();
  void RunMenuCommand(MenuCommand command);
  void RunCommand(CommandOutcome (WinApplication::*command)());
  void mnuFileSaveOptions_Click();
  void mnuFileExit_Click();
  void Form_Unload();
  void ShowProblem(const std::string& text);

  WinApplication& app_;
  HWND hwnd_ = nullptr;
  HWND mdiClient_ = nullptr;
  HWND statusBar_ = nullptr;
  HACCEL accelerators_ = nullptr;
};

}  // namespace trelvox
