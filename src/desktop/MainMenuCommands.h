#pragma once

#include <string>
#include <vector>

#include "desktop/DesktopSession.h"
#include "desktop/MainMenu.h"
#include "desktop/OptionBoxes.h"

namespace trelvox {

// What the main window's menu items do. Each toolkit's frmMain derives from it and supplies
// only what it draws: the busy pointer, the options dialog, the About box and its own closing.
class MainMenuCommands {
 public:
  explicit MainMenuCommands(DesktopSession& session) : session_(session) {}
  virtual ~MainMenuCommands() = default;
  MainMenuCommands(const MainMenuCommands&) = delete;
  MainMenuCommands& operator=(const MainMenuCommands&) = delete;

  // Runs the handler of the item that carries the command.
  void RunMenuCommand(MenuCommand command);

  void mnuFileParseOne_Click();
  void mnuFileParseAll_Click();
  // Loads the options dialog unless it is open, sets its two file switches from the flags,
  // and brings it up modeless and without an owner.
  void mnuFileSaveOptions_Click();
  // Closes the subject and input files, then the window.
  void mnuFileExit_Click();
  void mnuHelpAbout_Click();
  // Brings up the Analyze window, empty of inputs; one already open comes to the front.
  void mnuToolsAnalyze_Click();

 protected:
  virtual BusyPointer& Busy() = 0;
  // The options dialog; loading it runs its load step, which shows every switch.
  virtual OptionBoxes& LoadSaveOptions() = 0;
  // Shows the loaded dialog, restored if minimized, in front of the other windows.
  virtual void BringSaveOptionsToFront() = 0;
  // The About box, modal over the main window.
  virtual void ShowAboutBox() = 0;
  // Shows the Analyze window holding `inputs` besides those it holds, modeless, in front.
  virtual void ShowAnalyzeWindow(const std::vector<std::string>& inputs) = 0;
  // Closes the main window; its unload step saves the placement.
  virtual void UnloadMainForm() = 0;

 private:
  DesktopSession& session_;
};

}  // namespace trelvox
