#include "desktop/MainMenuCommands.h"

namespace trelvox {

void MainMenuCommands::RunMenuCommand(MenuCommand command) {
  switch (command) {
    case MenuCommand::ParseOneSubject:
      return mnuFileParseOne_Click();
    case MenuCommand::ParseAll:
      return mnuFileParseAll_Click();
    case MenuCommand::SaveOptions:
      return mnuFileSaveOptions_Click();
    case MenuCommand::Exit:
      return mnuFileExit_Click();
    case MenuCommand::About:
      return mnuHelpAbout_Click();
    case MenuCommand::Analyze:
      return mnuToolsAnalyze_Click();
    case MenuCommand::None:
      return;
  }
}

void MainMenuCommands::mnuFileParseOne_Click() {
  session_.RunParseOneSubject(Busy());
}

void MainMenuCommands::mnuFileParseAll_Click() {
  session_.RunParseAll(Busy());
}

void MainMenuCommands::mnuFileSaveOptions_Click() {
  ShowFileOptions(session_.State().options, LoadSaveOptions());
  BringSaveOptionsToFront();
}

void MainMenuCommands::mnuFileExit_Click() {
  session_.CloseFilesAtExit();
  UnloadMainForm();
}

void MainMenuCommands::mnuToolsAnalyze_Click() {
  ShowAnalyzeWindow({});
}

void MainMenuCommands::mnuHelpAbout_Click() {
  ShowAboutBox();
}

}  // namespace trelvox
