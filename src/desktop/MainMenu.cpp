#include "desktop/MainMenu.h"

namespace trelvox {

namespace {

constexpr MenuItemDescription kFileItems[] = {
    {"mnuFileParseOne", "Parse &One Subject", 'O', MenuCommand::ParseOneSubject},
    {"mnuFileParseAll", "Parse &All", 'A', MenuCommand::ParseAll},
    {"mnuFileBar5", "-", 0, MenuCommand::None},
    {"mnuFileSaveOptions", "Change Save Options", 0, MenuCommand::SaveOptions},
    {"mnuFileBar6", "-", 0, MenuCommand::None},
    {"mnuFileExit", "E&xit", 'X', MenuCommand::Exit},
};

constexpr MenuItemDescription kToolsItems[] = {
    {"mnuToolsAnalyze", "&Analyze...", 'Y', MenuCommand::Analyze},
};

constexpr MenuItemDescription kHelpItems[] = {
    {"mnuHelpAbout", "About Trelvox", 0, MenuCommand::About},
};

constexpr MenuDescription kMenuBar[] = {
    {"mnuFile", "&File", kFileItems},
    {"mnuTools", "&Tools", kToolsItems},
    {"mnuHelp", "&Help", kHelpItems},
};

}  // namespace

std::span<const MenuDescription> MainMenuBar() {
  return kMenuBar;
}

std::string ShortcutText(const MenuItemDescription& item) {
  return item.ctrlKey == 0 ? std::string() : std::string("Ctrl+") + item.ctrlKey;
}

}  // namespace trelvox
