#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "desktop/MainMenu.h"
#include "desktop/Placement.h"
#include "desktop/WindowLayout.h"

namespace trelvox {
namespace {

const WindowDescription* const kWindows[] = {&SplashWindow(), &SaveOptionsWindow(), &AboutWindow(),
                                             &AnalyzeWindow()};

bool IsFocusable(const ControlDescription& control) {
  return control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox ||
         control.kind == ControlKind::TextBox || control.kind == ControlKind::ListBox;
}

// ---- what every window description must hold -------------------------------------------

TEST(WindowDescriptions, NamesAreUniqueAndControlsLieInsideTheirWindow) {
  for (const WindowDescription* window : kWindows) {
    std::set<std::string> names;
    for (const ControlDescription& control : window->controls) {
      SCOPED_TRACE(std::string(window->name) + "." + control.name);
      EXPECT_TRUE(names.insert(control.name).second);
      if (control.container != nullptr) {
        EXPECT_EQ(ControlNamed(*window, control.container).kind, ControlKind::Frame);
      }
      const TwipsRect place = PlaceInWindow(*window, control);
      EXPECT_GE(place.left, 0);
      EXPECT_GE(place.top, 0);
      EXPECT_LE(place.left + place.width, window->clientWidth);
      EXPECT_LE(place.top + place.height, window->clientHeight);
    }
    EXPECT_TRUE(IsFocusable(window->controls[window->firstFocus])) << window->name;
  }
}

TEST(WindowDescriptions, AnUnknownControlIsRefused) {
  EXPECT_THROW(ControlNamed(AboutWindow(), "cmdBegin"), std::out_of_range);
}

struct TabOrderCase {
  const WindowDescription& window;
  std::vector<std::string> tabStops;
};

TEST(WindowDescriptions, TabStopsStandInTheirOrder) {
  const TabOrderCase cases[] = {
      {SplashWindow(), {"cmdBegin"}},
      {SaveOptionsWindow(),
       {"cmdOK", "cmdCancel", "ChkIndFiles", "chkSaveCounters", "chkZOR", "chkCOT"}},
      {AboutWindow(), {"cmdOK", "cmdSysInfo"}},
  };
  for (const TabOrderCase& c : cases) {
    std::vector<std::string> stops;
    for (const ControlDescription& control : c.window.controls) {
      if (IsFocusable(control)) {
        stops.emplace_back(control.name);
      }
    }
    EXPECT_EQ(stops, c.tabStops) << c.window.name;
  }
}

// ---- the controls as the program shows them ----------------------------------------------

struct ControlCase {
  const WindowDescription& window;
  const char* name;
  const char* caption;
  TwipsRect inWindow;
  const char* fontFamily;  // null: the dialog font
  double points;
};

void PrintTo(const ControlCase& c, std::ostream* out) {
  *out << c.window.name << '.' << c.name;
}

class ControlTable : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlTable, HasItsCaptionPlaceAndFont) {
  const ControlCase& c = GetParam();
  const ControlDescription& control = ControlNamed(c.window, c.name);
  EXPECT_STREQ(control.caption, c.caption);
  EXPECT_EQ(PlaceInWindow(c.window, control), c.inWindow);
  if (c.fontFamily == nullptr) {
    EXPECT_EQ(control.font.family, nullptr);
  } else {
    EXPECT_STREQ(control.font.family, c.fontFamily);
    EXPECT_EQ(control.font.points, c.points);
    EXPECT_TRUE(control.font.bold);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ControlTable,
    ::testing::Values(
        ControlCase{SplashWindow(), "fraMainFrame", "", {120, 120, 6300, 3135}, nullptr, 0},
        ControlCase{SplashWindow(), "picLogo", "", {240, 360, 2310, 2730}, nullptr, 0},
        ControlCase{SplashWindow(), "Label1", "Trelvox", {2760, 360, 3015, 495}, "Arial", 18},
        ControlCase{SplashWindow(), "lblPlatform", "Windows 98", {2760, 1920, 0, 0}, "Arial", 9.75},
        ControlCase{SplashWindow(), "lblVersion", "Version", {2760, 2160, 0, 0}, "Arial", 9.75},
        ControlCase{SplashWindow(), "cmdBegin", "Begin", {4560, 2040, 1215, 495}, "Arial", 12},
        ControlCase{SaveOptionsWindow(),
                    "ChkIndFiles",
                    "Save Individual Subject Files",
                    {480, 360, 4335, 375},
                    "MS Sans Serif",
                    12},
        ControlCase{SaveOptionsWindow(),
                    "chkSaveCounters",
                    "Save Counter File",
                    {480, 1080, 4335, 375},
                    "MS Sans Serif",
                    12},
        ControlCase{SaveOptionsWindow(),
                    "chkZOR",
                    "File is ZOR formatted",
                    {480, 1800, 4335, 375},
                    "MS Sans Serif",
                    12},
        ControlCase{SaveOptionsWindow(),
                    "chkCOT",
                    "COTs included?",
                    {480, 2520, 4335, 375},
                    "MS Sans Serif",
                    12},
        ControlCase{SaveOptionsWindow(), "cmdOK", "OK", {1200, 3360, 975, 495}, nullptr, 0},
        ControlCase{
            SaveOptionsWindow(), "cmdCancel", "Cancel", {2520, 3360, 1095, 495}, nullptr, 0},
        ControlCase{AboutWindow(), "picIcon", "", {240, 240, 540, 540}, nullptr, 0},
        ControlCase{
            AboutWindow(), "lblTitle", "Application Title", {1050, 240, 3885, 480}, nullptr, 0},
        ControlCase{AboutWindow(),
                    "lblDescription",
                    "App Description",
                    {1050, 1125, 3885, 1170},
                    nullptr,
                    0},
        ControlCase{AboutWindow(), "cmdOK", "OK", {4245, 2625, 1260, 345}, nullptr, 0},
        ControlCase{
            AboutWindow(), "cmdSysInfo", "&System Info...", {4260, 3075, 1245, 345}, nullptr, 0}),
    [](const auto& info) { return std::string(info.param.window.name) + "_" + info.param.name; });

TEST(WindowDescriptions, OnlyTheAboutBoxAndAnalyzeHaveADefaultAndACancelButton) {
  for (const WindowDescription* window : kWindows) {
    for (const ControlDescription& control : window->controls) {
      const std::string name = control.name;
      const bool aboutOk = window == &AboutWindow() && name == "cmdOK";
      const bool analyze = window == &AnalyzeWindow();
      EXPECT_EQ(control.isDefault, aboutOk || (analyze && name == "cmdAnalyze")) << name;
      EXPECT_EQ(control.isCancel, aboutOk || (analyze && name == "cmdClose")) << name;
    }
  }
}

// ---- the main menu -------------------------------------------------------------------------

TEST(MainMenuTable, MenusAndItemsStandInTheirOrderWithKeys) {
  std::vector<std::string> rows;
  for (const MenuDescription& menu : MainMenuBar()) {
    rows.push_back(std::string(menu.name) + "=" + menu.caption);
    for (const MenuItemDescription& item : menu.items) {
      rows.push_back(std::string(" ") + item.name + "=" + item.caption + " " + ShortcutText(item));
    }
  }
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "mnuFile=&File",
                      " mnuFileParseOne=Parse &One Subject Ctrl+O",
                      " mnuFileParseAll=Parse &All Ctrl+A",
                      " mnuFileBar5=- ",
                      " mnuFileSaveOptions=Change Save Options ",
                      " mnuFileBar6=- ",
                      " mnuFileExit=E&xit Ctrl+X",
                      "mnuTools=&Tools",
                      " mnuToolsAnalyze=&Analyze... Ctrl+Y",
                      "mnuHelp=&Help",
                      " mnuHelpAbout=About Trelvox ",
                  }));
}

// ---- twips at other resolutions ------------------------------------------------------------

TEST(Twips, FollowTheScreensDotsPerInch) {
  EXPECT_EQ(TwipsToPixels(1000, 96), 67);
  EXPECT_EQ(TwipsToPixels(1000, 120), 83);
  EXPECT_EQ(TwipsToPixels(6500, 144), 650);
  EXPECT_EQ(PixelsToTwipsText(83, 120), "996");
  EXPECT_EQ(PixelsToTwipsText(650, 144), "6500");
}

}  // namespace
}  // namespace trelvox
