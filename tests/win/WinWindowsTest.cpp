// The Windows desktop program's windows, driven in-process (under Wine on Linux), with the
// boxes answered by a script.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ProgramRunner.h"
#include "desktop/AnalyzeForm.h"
#include "desktop/Version.h"
#include "desktop/WindowLayout.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "win/RegistrySettingsStore.h"
#include "win/Win32Prompts.h"
#include "win/WinApplication.h"
#include "win/WinShellFiles.h"
#include "win/frmAnalyze.h"
#include "win/frmMain.h"
#include "win/frmSaveOptions.h"
#include "win/frmSplash.h"

namespace trelvox::testing {
namespace {

// ---- helpers -------------------------------------------------------------------------------

// Runs one step on each window of that class (empty: any) and caption as it is shown, in turn,
// also while a modal loop owns the thread: the same question asked again is a new box.
class EachShown {
 public:
  EachShown(std::string className, std::string caption,
            std::vector<std::function<void(HWND)>> steps)
      : className_(std::move(className)), caption_(std::move(caption)), steps_(std::move(steps)) {
    timer_ = CreateWindowExA(0, "STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr);
    SetWindowLongPtrA(timer_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(timer_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));
    SetTimer(timer_, 1, 20, nullptr);
  }
  ~EachShown() { DestroyWindow(timer_); }
  EachShown(const EachShown&) = delete;
  EachShown& operator=(const EachShown&) = delete;
  std::size_t Ran() const { return ran_; }

 private:
  static constexpr const char* kSeen = "trelvox-test-seen";

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<EachShown*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_TIMER && self != nullptr && self->ran_ < self->steps_.size()) {
      HWND shown = FindWindowA(self->className_.empty() ? nullptr : self->className_.c_str(),
                               self->caption_.c_str());
      if (shown != nullptr && IsWindowVisible(shown) && GetPropA(shown, kSeen) == nullptr) {
        SetPropA(shown, kSeen, shown);
        self->steps_[self->ran_++](shown);
      }
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  std::string className_;
  std::string caption_;
  std::vector<std::function<void(HWND)>> steps_;
  HWND timer_ = nullptr;
  std::size_t ran_ = 0;
};

// Runs a step on the window of that caption as soon as it is shown.
class WhenShown : public EachShown {
 public:
  WhenShown(std::string caption, std::function<void(HWND)> step)
      : EachShown("", std::move(caption), {std::move(step)}) {}
  bool Ran() const { return EachShown::Ran() == 1; }
};

// The Shift key as the dialog manager reads it.
void HoldShift(bool held) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

// A key as the keyboard sends it to the focused control.
void PostKey(WPARAM key) {
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
}

// The texts of the box's labels: a message box's question.
std::string LabelTexts(HWND box) {
  std::string texts;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (_stricmp(name, "Static") == 0) {
          *reinterpret_cast<std::string*>(data) += WindowText(child);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

RECT ClientPlace(HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

std::string FaceName(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfFaceName;
}

bool IsFocusable(const ControlDescription& control) {
  return control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox ||
         control.kind == ControlKind::TextBox || control.kind == ControlKind::ListBox;
}

void ClearStoredSettings() {
  RegDeleteTreeA(HKEY_CURRENT_USER,
                 (std::string(RegistrySettingsStore::kRoot) + "\\Trelvox").c_str());
}

std::string Stored(const char* key) {
  return RegistrySettingsStore().Get("Trelvox", "Settings", key, "<none>");
}

void Click(HWND button) {
  SendMessageA(button, BM_CLICK, 0, 0);
}

// ---- the fixture -------------------------------------------------------------------------

class WinWindows : public ::testing::Test {
 protected:
  void SetUp() override { ClearStoredSettings(); }
  void TearDown() override {
    app_.reset();
    ClearStoredSettings();
  }

  WinApplication& Start(WinOptions options = {}) {
    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts_ = prompts.get();
    options.prompts = std::move(prompts);
    app_ = std::make_unique<WinApplication>(std::move(options));
    app_->Main();
    Pump();
    return *app_;
  }

  frmMain& Begin() {
    Click(app_->Splash()->Control(SplashControl::cmdBegin));
    Pump();
    return *app_->MainForm();
  }

  void Menu(MenuCommand command) {
    SendMessageA(app_->MainForm()->Handle(), WM_COMMAND,
                 static_cast<WPARAM>(frmMain::CommandId(command)), 0);
    Pump();
  }

  void Pump() {
    while (app_->DispatchPending()) {
    }
  }

  int Px(int twips) const { return TwipsToPixels(twips, app_->Dpi()); }

  std::unique_ptr<WinApplication> app_;
  ScriptedPrompts* prompts_ = nullptr;
};

// Every control of the window stands where its description says, with its caption, font and
// class, and the tab stops follow the table.
void ExpectMatchesDescription(HWND window, const WindowDescription& described, int dpi) {
  SCOPED_TRACE(described.name);
  std::vector<HWND> tabStops;
  for (const ControlDescription& control : described.controls) {
    SCOPED_TRACE(control.name);
    HWND handle = ControlHandle(window, control);
    ASSERT_NE(handle, nullptr);
    const RECT expected = PixelRectOf(PlaceInWindow(described, control), dpi);
    const RECT actual = ClientPlace(handle);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    if (!control.sizesToText) {
      EXPECT_EQ(actual.right, expected.right);
      EXPECT_EQ(actual.bottom, expected.bottom);
    }
    if (control.kind != ControlKind::Picture && control.kind != ControlKind::Frame) {
      EXPECT_EQ(FaceName(handle), control.font.family ? control.font.family : "MS Sans Serif");
    }
    if (IsFocusable(control) && IsWindowEnabled(handle)) {  // Tab passes disabled ones by
      tabStops.push_back(handle);
    }
  }
  for (std::size_t i = 0; i + 1 < tabStops.size(); ++i) {
    EXPECT_EQ(GetNextDlgTabItem(window, tabStops[i], FALSE), tabStops[i + 1]) << i;
  }
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, TwipsToPixels(described.clientWidth, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(described.clientHeight, dpi));
}

// ---- start-up ----------------------------------------------------------------------------

TEST_F(WinWindows, TheSplashFollowsItsDescriptionAndTurnsEveryOptionOff) {
  WinOptions options;
  Start(std::move(options));
  RunState& state = app_->Desktop().State();
  EXPECT_FALSE(state.options.SaveCounters || state.options.SaveIndFiles ||
               state.options.ZORFormat || state.options.COTIncluded);
  HWND splash = app_->Splash()->Handle();
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(IsWindowVisible(splash));
  EXPECT_EQ(GetWindowLongPtrA(splash, GWL_STYLE) & WS_CAPTION, WS_DLGFRAME);  // no title bar
  ExpectMatchesDescription(splash, SplashWindow(), app_->Dpi());
  EXPECT_EQ(WindowText(app_->Splash()->Control(SplashControl::lblVersion)),
            "Version " + std::string(kProjectVersion));
  EXPECT_EQ(WindowText(app_->Splash()->Control(SplashControl::Label1)), "Trelvox");
  EXPECT_EQ(GetFocus(), app_->Splash()->Control(SplashControl::cmdBegin));
  EXPECT_EQ(app_->MainForm(), nullptr);
}

TEST_F(WinWindows, ClosingTheSplashOtherwiseEndsTheProgram) {
  Start();
  SendMessageA(app_->Splash()->Handle(), WM_CLOSE, 0, 0);
  MSG quit{};
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(app_->MainForm(), nullptr);
}

// ---- main window -------------------------------------------------------------------------

struct PlacementCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> stored;
  TwipsRect expectedTwips;
};

void PrintTo(const PlacementCase& c, std::ostream* out) {
  *out << c.name;
}

class WinPlacement : public WinWindows, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(WinPlacement, BeginOpensTheMainWindowAtItsStoredPlacement) {
  for (const auto& [key, value] : GetParam().stored) {
    RegistrySettingsStore().Set("Trelvox", "Settings", key, value);
  }
  Start();
  frmMain& main = Begin();
  EXPECT_EQ(app_->Splash(), nullptr) << "the splash is unloaded";
  EXPECT_EQ(WindowText(main.Handle()), "Trelvox");
  RECT outer{};
  GetWindowRect(main.Handle(), &outer);
  const TwipsRect& twips = GetParam().expectedTwips;
  EXPECT_EQ(outer.left, Px(twips.left));
  EXPECT_EQ(outer.top, Px(twips.top));
  EXPECT_EQ(outer.right - outer.left, Px(twips.width));
  EXPECT_EQ(outer.bottom - outer.top, Px(twips.height));
}

INSTANTIATE_TEST_SUITE_P(
    Stored, WinPlacement,
    ::testing::Values(PlacementCase{"Nothing", {}, {1000, 1000, 6500, 6500}},
                      PlacementCase{"Twips",
                                    {{"MainLeft", "1500"},
                                     {"MainTop", "3000"},
                                     {"MainWidth", "7500"},
                                     {"MainHeight", "4500"}},
                                    {1500, 3000, 7500, 4500}},
                      PlacementCase{"Garbage",
                                    {{"MainLeft", "left"}, {"MainTop", "3000"}, {"MainWidth", ""}},
                                    {1000, 3000, 6500, 6500}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinWindows, ThePlacementIsStoredOnCloseUnlessMinimized) {
  Start();
  frmMain& main = Begin();
  SetWindowPos(main.Handle(), nullptr, 100, 200, 500, 300, SWP_NOZORDER);
  Menu(MenuCommand::Exit);
  EXPECT_EQ(app_->MainForm()->Handle(), nullptr);
  const int dpi = app_->Dpi();
  EXPECT_EQ(Stored("MainLeft"), PixelsToTwipsText(100, dpi));
  EXPECT_EQ(Stored("MainTop"), PixelsToTwipsText(200, dpi));
  EXPECT_EQ(Stored("MainWidth"), PixelsToTwipsText(500, dpi));
  EXPECT_EQ(Stored("MainHeight"), PixelsToTwipsText(300, dpi));

  app_.reset();
  Start();
  frmMain& again = Begin();
  ShowWindow(again.Handle(), SW_MINIMIZE);
  SendMessageA(again.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Stored("MainLeft"), PixelsToTwipsText(100, dpi)) << "a minimized close keeps it";
}

TEST_F(WinWindows, TheMenuBarHasItsItemsAndShortcuts) {
  Start();
  HMENU bar = GetMenu(Begin().Handle());
  std::vector<std::string> texts;
  char text[128];
  for (int menu = 0; menu < GetMenuItemCount(bar); ++menu) {
    GetMenuStringA(bar, static_cast<UINT>(menu), text, sizeof text, MF_BYPOSITION);
    texts.emplace_back(text);
    HMENU items = GetSubMenu(bar, menu);
    for (int item = 0; item < GetMenuItemCount(items); ++item) {
      GetMenuStringA(items, static_cast<UINT>(item), text, sizeof text, MF_BYPOSITION);
      texts.push_back(std::string(" ") + text);
    }
  }
  EXPECT_EQ(texts,
            (std::vector<std::string>{"&File", " Parse &One Subject\tCtrl+O", " Parse &All\tCtrl+A",
                                      " ", " Change Save Options", " ", " E&xit\tCtrl+X", "&Tools",
                                      " &Analyze...\tCtrl+Y", "&Help", " About Trelvox"}));
  ACCEL keys[8] = {};
  const int count = CopyAcceleratorTableA(app_->MainForm()->Accelerators(), keys, 8);
  std::vector<std::pair<WORD, WORD>> shortcuts;  // key and command, all with Ctrl
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(keys[i].fVirt, FVIRTKEY | FCONTROL);
    shortcuts.emplace_back(keys[i].key, keys[i].cmd);
  }
  EXPECT_EQ(shortcuts, (std::vector<std::pair<WORD, WORD>>{
                           {'O', frmMain::CommandId(MenuCommand::ParseOneSubject)},
                           {'A', frmMain::CommandId(MenuCommand::ParseAll)},
                           {'X', frmMain::CommandId(MenuCommand::Exit)},
                           {'Y', frmMain::CommandId(MenuCommand::Analyze)}}));
  char status[64] = {};
  SendMessageA(app_->MainForm()->StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_STREQ(status, "Status");
  SendMessageA(app_->MainForm()->StatusBar(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(status));
  EXPECT_EQ(status, app_->Desktop().UserLocale().ShortDate(SystemClock().Today()));
}

TEST_F(WinWindows, ParseAllRunsTheCommandThroughTheBoxes) {
  TempDir dir;
  Start();
  Begin();
  const std::string composite = dir.File("comp.dat");
  prompts_->Choose(std::string(TRELVOX_EXAMPLES_DIR) + "/sample.azk")
      .Type("2000")
      .Choose(composite)
      .Yes();
  Menu(MenuCommand::ParseAll);
  EXPECT_EQ(prompts_->Unanswered(), 0u);
  ASSERT_FALSE(prompts_->Messages().empty());
  EXPECT_EQ(prompts_->Messages().back(), "Parsing Complete!");
  EXPECT_EQ(ReadFile(composite).substr(0, 6), "SubID\t") << "the header row of a new file";
}

// ---- options dialog -----------------------------------------------------------------------

TEST_F(WinWindows, TheOptionsDialogFollowsItsDescriptionAndIsModelessWithoutOwner) {
  Start();
  HWND main = Begin().Handle();
  Menu(MenuCommand::SaveOptions);
  HWND options = app_->SaveOptions()->Handle();
  ASSERT_NE(options, nullptr);
  ExpectMatchesDescription(options, SaveOptionsWindow(), app_->Dpi());
  EXPECT_EQ(WindowText(options), "Options");
  EXPECT_EQ(GetWindow(options, GW_OWNER), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main));
  for (const SaveOptionsControl box :
       {SaveOptionsControl::ChkIndFiles, SaveOptionsControl::chkSaveCounters,
        SaveOptionsControl::chkZOR, SaveOptionsControl::chkCOT}) {
    EXPECT_EQ(SendMessageA(app_->SaveOptions()->Control(box), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  }
}

enum class Leave { Ok, Cancel, CloseBox };

struct OptionsCase {
  const char* name;
  Leave leave;
  bool stored;
};

void PrintTo(const OptionsCase& c, std::ostream* out) {
  *out << c.name;
}

class WinOptionsDialog : public WinWindows, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(WinOptionsDialog, OnlyOkStoresTheTicks) {
  Start();
  Begin();
  Menu(MenuCommand::SaveOptions);
  frmSaveOptions& options = *app_->SaveOptions();
  Click(options.Control(SaveOptionsControl::chkZOR));
  Click(options.Control(SaveOptionsControl::ChkIndFiles));
  switch (GetParam().leave) {
    case Leave::Ok:
      Click(options.Control(SaveOptionsControl::cmdOK));
      break;
    case Leave::Cancel:
      Click(options.Control(SaveOptionsControl::cmdCancel));
      break;
    case Leave::CloseBox:
      SendMessageA(options.Handle(), WM_CLOSE, 0, 0);
      break;
  }
  Pump();
  EXPECT_EQ(app_->SaveOptions(), nullptr) << "unloaded";
  EXPECT_EQ(app_->Desktop().State().options.ZORFormat, GetParam().stored);
  EXPECT_EQ(app_->Desktop().State().options.SaveIndFiles, GetParam().stored);
  EXPECT_FALSE(app_->Desktop().State().options.COTIncluded ||
               app_->Desktop().State().options.SaveCounters);
  Menu(MenuCommand::SaveOptions);
  EXPECT_EQ(
      SendMessageA(app_->SaveOptions()->Control(SaveOptionsControl::chkZOR), BM_GETCHECK, 0, 0),
      GetParam().stored ? BST_CHECKED : BST_UNCHECKED);
}

INSTANTIATE_TEST_SUITE_P(Leaving, WinOptionsDialog,
                         ::testing::Values(OptionsCase{"Ok", Leave::Ok, true},
                                           OptionsCase{"Cancel", Leave::Cancel, false},
                                           OptionsCase{"CloseBox", Leave::CloseBox, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinWindows, ChangeSaveOptionsAgainResetsTheSaveBoxesAndRestoresTheDialog) {
  Start();
  Begin();
  Menu(MenuCommand::SaveOptions);
  frmSaveOptions& options = *app_->SaveOptions();
  HWND window = options.Handle();
  Click(options.Control(SaveOptionsControl::chkZOR));
  Click(options.Control(SaveOptionsControl::chkSaveCounters));
  ShowWindow(window, SW_MINIMIZE);
  Menu(MenuCommand::SaveOptions);
  EXPECT_EQ(app_->SaveOptions()->Handle(), window) << "not reloaded";
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(SendMessageA(options.Control(SaveOptionsControl::chkZOR), BM_GETCHECK, 0, 0),
            BST_CHECKED);
  EXPECT_EQ(SendMessageA(options.Control(SaveOptionsControl::chkSaveCounters), BM_GETCHECK, 0, 0),
            BST_UNCHECKED);
}

TEST_F(WinWindows, TheOptionsDialogOutlivesTheMainWindow) {
  Start();
  Begin();
  Menu(MenuCommand::SaveOptions);
  Menu(MenuCommand::Exit);
  frmSaveOptions& options = *app_->SaveOptions();
  Click(options.Control(SaveOptionsControl::chkCOT));
  Click(options.Control(SaveOptionsControl::cmdOK));
  EXPECT_TRUE(app_->Desktop().State().options.COTIncluded);
  MSG quit{};
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the last window";
}

// ---- keys --------------------------------------------------------------------------------

// The control names the focus stands on after each of `count` presses of Tab, Shift held or not.
std::vector<std::string> FocusAfterEach(WinApplication& app, const WindowDescription& described,
                                        HWND window, bool shift, std::size_t count) {
  std::vector<std::string> focus;
  HoldShift(shift);
  for (std::size_t i = 0; i < count; ++i) {
    PostKey(VK_TAB);
    while (app.DispatchPending()) {
    }
    const int id = GetDlgCtrlID(GetFocus());
    focus.push_back(GetParent(GetFocus()) == window
                        ? described.controls[static_cast<std::size_t>(id - kFirstControlId)].name
                        : "<elsewhere>");
  }
  HoldShift(false);
  return focus;
}

std::vector<std::string> TabStops(const WindowDescription& described) {
  std::vector<std::string> stops;
  for (const ControlDescription& control : described.controls) {
    if (IsFocusable(control)) {
      stops.emplace_back(control.name);
    }
  }
  return stops;
}

// As a Windows user expects and the descriptions say: Enter presses the button that has the
// focus when the window opens (Begin opens the main window, OK stores the ticks), Tab and
// Shift+Tab go round the tab stops in their order, and Escape does nothing without a cancel
// button.
TEST_F(WinWindows, KeysOnTheSplashAndTheOptionsDialogFollowTheDescriptions) {
  for (const WindowDescription* described : {&SplashWindow(), &SaveOptionsWindow()}) {
    SCOPED_TRACE(described->name);
    const bool splash = described == &SplashWindow();
    const auto open = [this, splash] {
      app_.reset();
      Start();
      if (splash) {
        return app_->Splash()->Handle();
      }
      Begin();
      Menu(MenuCommand::SaveOptions);
      return app_->SaveOptions()->Handle();
    };

    HWND window = open();
    if (!splash) {
      SendMessageA(app_->SaveOptions()->Control(SaveOptionsControl::chkCOT), BM_SETCHECK,
                   BST_CHECKED, 0);
    }
    EXPECT_EQ(GetFocus(), ControlHandle(window, described->controls[described->firstFocus]));
    PostKey(VK_RETURN);
    Pump();
    if (splash) {
      ASSERT_NE(app_->MainForm(), nullptr) << "Enter pressed Begin";
      EXPECT_TRUE(IsWindowVisible(app_->MainForm()->Handle()));
    } else {
      EXPECT_TRUE(app_->Desktop().State().options.COTIncluded) << "Enter pressed OK";
      EXPECT_EQ(app_->SaveOptions(), nullptr);
    }

    window = open();
    std::vector<std::string> stops = TabStops(*described);
    std::vector<std::string> forward(stops.begin() + 1, stops.end());
    forward.push_back(stops.front());
    EXPECT_EQ(FocusAfterEach(*app_, *described, window, false, stops.size()), forward);
    std::reverse(stops.begin(), stops.end());  // back round from the first focus
    EXPECT_EQ(FocusAfterEach(*app_, *described, window, true, stops.size()), stops);
    PostKey(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(window));
    if (!splash) {  // Enter on a check box: no default button to press
      for (std::size_t i = 0; i < IndexOf(SaveOptionsControl::ChkIndFiles); ++i) {
        PostKey(VK_TAB);
        Pump();
      }
      ASSERT_EQ(GetFocus(), app_->SaveOptions()->Control(SaveOptionsControl::ChkIndFiles));
      PostKey(VK_RETURN);
      Pump();
      EXPECT_TRUE(IsWindowVisible(window));
    }
  }
}

// Yes/No boxes answer only Yes or No: Escape, Alt+F4 and the close box leave the question up.
TEST_F(WinWindows, AYesNoQuestionStaysUntilYesOrNo) {
  app_ = std::make_unique<WinApplication>();  // the system's own boxes
  app_->Main();
  Pump();
  std::vector<std::string> asked;
  const auto record = [&asked](HWND box) { asked.push_back(LabelTexts(box)); };
  EachShown question("#32770", "Trelvox",
                     {[&](HWND box) {
                        record(box);
                        PostKey(VK_ESCAPE);
                      },
                      [&](HWND box) {
                        record(box);
                        PostMessageA(box, WM_SYSKEYDOWN, VK_F4, KF_ALTDOWN << 16);
                      },
                      [&](HWND box) {
                        record(box);
                        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE,
                                     0);  // what a click on the close box sends
                      },
                      [&](HWND box) {
                        record(box);
                        Click(GetDlgItem(box, IDYES));
                      }});
  const bool yes = app_->Desktop().CurrentSession().ui.AskYesNo(MessageId::NewCompositeFile,
                                                                "Is this a new file?");
  EXPECT_TRUE(yes);
  EXPECT_EQ(question.Ran(), 4u);
  EXPECT_EQ(asked, std::vector<std::string>(4, "Is this a new file?"));
}

// ---- About box ----------------------------------------------------------------------------

struct AboutSeen {
  HWND owner = nullptr;
  bool ownerEnabled = true;
  std::vector<std::string> texts;
  bool focusOnOk = false;
  bool okIsDefault = false;
};

TEST_F(WinWindows, TheAboutBoxNamesTheProgramAndIsModalOverTheMainWindow) {
  Start();
  HWND main = Begin().Handle();
  AboutSeen seen;
  const WindowDescription& described = AboutWindow();
  const int dpi = app_->Dpi();
  WhenShown about("About Trelvox", [&](HWND box) {
    ExpectMatchesDescription(box, described, dpi);
    seen.owner = GetWindow(box, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(main);
    for (const AboutControl label :
         {AboutControl::lblTitle, AboutControl::lblVersion, AboutControl::lblDescription}) {
      seen.texts.push_back(WindowText(ControlHandle(box, label)));
    }
    HWND ok = ControlHandle(box, AboutControl::cmdOK);
    seen.focusOnOk = GetFocus() == ok;
    seen.okIsDefault = LOWORD(SendMessageA(box, DM_GETDEFID, 0, 0)) == GetDlgCtrlID(ok);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  Menu(MenuCommand::About);  // returns once the box has closed
  EXPECT_TRUE(about.Ran());
  EXPECT_EQ(seen.owner, main);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_EQ(seen.texts,
            (std::vector<std::string>{"Trelvox", "Version " + std::string(kProjectVersion),
                                      kFileDescription}));
  EXPECT_TRUE(seen.focusOnOk);
  EXPECT_TRUE(seen.okIsDefault);
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(WinWindows, EnterOnSystemInfoStartsTheToolAndTheBoxStays) {
  std::vector<std::string> launched;
  WinOptions options;
  options.locateSysInfo = [] { return std::optional<std::string>("C:\\msinfo32.exe"); };
  options.launchProgram = [&launched](const std::string& path) {
    launched.push_back(path);
    return true;
  };
  Start(std::move(options));
  Begin();
  bool stillOpen = false;
  WhenShown about("About Trelvox", [&](HWND box) {
    HWND sysInfo = ControlHandle(box, AboutControl::cmdSysInfo);
    SetFocus(sysInfo);
    SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(sysInfo), TRUE);
    MSG enter{box, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    IsDialogMessageA(box, &enter);
    stillOpen = IsWindowVisible(box);
    SendMessageA(box, WM_CLOSE, 0, 0);
  });
  Menu(MenuCommand::About);
  EXPECT_EQ(launched, std::vector<std::string>{"C:\\msinfo32.exe"});
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(prompts_->Messages().empty());
}

// ---- the Analyze window ----------------------------------------------------------------------

// The lines of a list box.
std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string line(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
    line.resize(static_cast<std::size_t>(
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
    lines.push_back(line);
  }
  return lines;
}

// Answers an open dialog as a person typing into its file name box would: each text in turn,
// each followed by Enter (a folder opens it, names choose the files in it).
void TypeIntoOpenDialog(HWND dialog, const std::vector<std::string>& typed) {
  for (const std::string& text : typed) {
    HWND name = GetDlgItem(dialog, edt1);
    if (name == nullptr || !IsWindowVisible(name)) {
      name = GetDlgItem(dialog, cmb13);
    }
    SetWindowTextA(name, text.c_str());
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  }
}

// What Explorer hands a window that takes dropped files.
HDROP DropOf(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) {
    names += WideOf(path) + L'\0';
  }
  names += L'\0';
  const std::size_t bytes = names.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), bytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

// The files of a folder, by name.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class WinAnalyze : public WinWindows {
 protected:
  frmAnalyze& OpenAnalyze(WinOptions options = {}) {
    Start(std::move(options));
    Begin();
    Menu(MenuCommand::Analyze);
    return *app_->Analyze();
  }

  // Handles the window's messages until the run has ended and its outcome is shown. The limit
  // only keeps a broken run from hanging the tests.
  void WaitForRun(frmAnalyze& window) {
    const ULONGLONG giveUp = GetTickCount64() + 300000;
    while (window.Controller().Running() && GetTickCount64() < giveUp) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      Pump();
    }
    Pump();
    ASSERT_FALSE(window.Controller().Running());
  }

  void Type(frmAnalyze& window, AnalyzeControl box, const std::string& text) {
    SetWindowTextA(window.Control(box), text.c_str());
  }
  std::string Shown(frmAnalyze& window, AnalyzeControl control) {
    return WindowText(window.Control(control));
  }
  // Copies an example into the test's folder; its path there.
  std::string Example(const TempDir& dir, const char* name) {
    const std::string path = dir.File(name);
    WriteFile(path, ReadFile(std::string(TRELVOX_EXAMPLES_DIR) + "/" + name));
    return path;
  }
};

TEST_F(WinAnalyze, ToolsAnalyzeOpensTheWindowAsDescribedWithoutOwner) {
  frmAnalyze& window = OpenAnalyze();
  HWND handle = window.Handle();
  ExpectMatchesDescription(handle, AnalyzeWindow(), app_->Dpi());
  EXPECT_EQ(WindowText(handle), "Analyze");
  EXPECT_EQ(GetWindow(handle, GW_OWNER), nullptr);
  EXPECT_EQ(LOWORD(SendMessageA(handle, DM_GETDEFID, 0, 0)),
            GetDlgCtrlID(window.Control(AnalyzeControl::cmdAnalyze)));
  EXPECT_EQ(GetFocus(), window.Control(AnalyzeControl::cmdAdd));
  EXPECT_FALSE(IsWindowEnabled(window.Control(AnalyzeControl::cmdCancel)));
  EXPECT_EQ(SendMessageA(window.Control(AnalyzeControl::chkOpenReport), BM_GETCHECK, 0, 0),
            BST_CHECKED);
  EXPECT_NE(
      GetWindowLongPtrA(window.Control(AnalyzeControl::lstInputs), GWL_EXSTYLE) & WS_EX_ACCEPTFILES,
      0);
  Menu(MenuCommand::Analyze);
  EXPECT_EQ(app_->Analyze()->Handle(), handle) << "one window, brought to the front";

  PostKey(VK_ESCAPE);  // Close is the cancel button
  Pump();
  EXPECT_EQ(app_->Analyze(), nullptr);
  EXPECT_NE(app_->MainForm()->Handle(), nullptr);
}

TEST_F(WinAnalyze, AnalyzeTellsEachFieldsProblemBesideItAndWritesNothing) {
  TempDir dir;
  const std::string output = dir.File("out");
  frmAnalyze& window = OpenAnalyze();
  Type(window, AnalyzeControl::txtMaxErrorRate, "two");
  Type(window, AnalyzeControl::txtOutputFolder, output);
  Click(window.Control(AnalyzeControl::cmdAnalyze));
  Pump();
  EXPECT_FALSE(window.Controller().Running());
  EXPECT_FALSE(Shown(window, AnalyzeControl::lblInputsError).empty());
  EXPECT_FALSE(Shown(window, AnalyzeControl::lblMaxErrorRateError).empty());
  EXPECT_EQ(Shown(window, AnalyzeControl::lblTimeoutError), "");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(output)));
}

TEST_F(WinAnalyze, AddRemoveAndTheItemListsColumnsComeFromTheOpenDialogs) {
  TempDir dir;
  const std::string azk = Example(dir, "sample.azk");
  const std::string zil = Example(dir, "sample.zil");
  const std::string items = Example(dir, "items.csv");
  frmAnalyze& window = OpenAnalyze();
  {
    WhenShown add("Add AZK, ZIL or composite files", [&](HWND dialog) {
      TypeIntoOpenDialog(dialog, {FolderOf(azk) + "\\", "\"sample.azk\" \"sample.zil\""});
    });
    Click(window.Control(AnalyzeControl::cmdAdd));
    EXPECT_TRUE(add.Ran());
  }
  EXPECT_EQ(ListLines(window.Control(AnalyzeControl::lstInputs)),
            (std::vector<std::string>{azk, zil}));
  {
    WhenShown browse("Choose the item list",
                     [&](HWND dialog) { TypeIntoOpenDialog(dialog, {items}); });
    Click(window.Control(AnalyzeControl::cmdBrowseItems));
    EXPECT_TRUE(browse.Ran());
  }
  EXPECT_EQ(Shown(window, AnalyzeControl::txtItemList), items);
  EXPECT_EQ(ListLines(window.Control(AnalyzeControl::lstBy)), ItemListColumns(items));

  SendMessageA(window.Control(AnalyzeControl::lstInputs), LB_SETSEL, TRUE, 0);
  Click(window.Control(AnalyzeControl::cmdRemove));
  EXPECT_EQ(ListLines(window.Control(AnalyzeControl::lstInputs)), std::vector<std::string>{zil});
}

TEST_F(WinAnalyze, FilesDroppedOnTheListJoinIt) {
  TempDir dir;
  const std::string azk = Example(dir, "sample.azk");
  const std::string zil = Example(dir, "sample.zil");
  frmAnalyze& window = OpenAnalyze();
  HWND list = window.Control(AnalyzeControl::lstInputs);
  PostMessageA(list, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({azk, zil})), 0);
  Pump();
  EXPECT_EQ(ListLines(list), (std::vector<std::string>{azk, zil}));
  PostMessageA(list, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({zil})), 0);
  Pump();
  EXPECT_EQ(ListLines(list), (std::vector<std::string>{azk, zil})) << "listed once";
}

TEST_F(WinAnalyze, StartedWithFilesBeginOpensTheMainWindowAndTheAnalyzeWindowWithThem) {
  TempDir dir;
  const std::string azk = Example(dir, "sample.azk");
  const std::string zil = Example(dir, "sample.zil");
  WinOptions options;
  options.filesToAnalyse = {azk, zil};
  Start(std::move(options));
  EXPECT_NE(app_->Splash(), nullptr) << "the splash still comes first";
  EXPECT_EQ(app_->Analyze(), nullptr);
  Begin();
  ASSERT_NE(app_->Analyze(), nullptr);
  EXPECT_TRUE(IsWindowVisible(app_->MainForm()->Handle()));
  EXPECT_EQ(ListLines(app_->Analyze()->Control(AnalyzeControl::lstInputs)),
            (std::vector<std::string>{azk, zil}));
}

// What trelvox-batch.exe printed, as lines.
std::vector<std::string> OutputLines(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < out.size()) {
    std::size_t end = out.find('\n', at);
    if (end == std::string::npos) {
      end = out.size();
    }
    std::string line = out.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

TEST_F(WinAnalyze, ARunWritesWhatTrelvoxBatchWritesAndOpensTheReport) {
  TempDir dir;
  const std::string azk = Example(dir, "sample.azk");
  const std::string zil = Example(dir, "sample.zil");
  const std::string items = Example(dir, "items.csv");
  const std::string output = dir.File("window");
  std::vector<std::string> opened;
  WinOptions options;
  options.openDocument = [&opened](const std::string& path) {
    opened.push_back(path);
    return true;
  };
  frmAnalyze& window = OpenAnalyze(std::move(options));
  window.Controller().AddInputs({azk, zil});
  Type(window, AnalyzeControl::txtItemList, items);
  SendMessageA(window.Handle(), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(window.Control(AnalyzeControl::txtItemList)), EN_KILLFOCUS),
               reinterpret_cast<LPARAM>(window.Control(AnalyzeControl::txtItemList)));
  HWND columns = window.Control(AnalyzeControl::lstBy);
  const LRESULT condition = SendMessageA(columns, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("condition"));
  ASSERT_NE(condition, LB_ERR);
  SendMessageA(columns, LB_SETSEL, TRUE, condition);
  Type(window, AnalyzeControl::txtTimeout, "2000");
  Type(window, AnalyzeControl::txtMaxRt, "700");
  Type(window, AnalyzeControl::txtOutputFolder, output);
  Click(window.Control(AnalyzeControl::cmdAnalyze));
  EXPECT_FALSE(IsWindowEnabled(window.Control(AnalyzeControl::cmdAnalyze)));
  WaitForRun(window);

  const std::string batchOutput = dir.File("batch");
  const ProgramResult batch =
      RunProgram(TRELVOX_BATCH_BINARY,
                 {"analyze", azk, zil, "--out", batchOutput, "--timeout", "2000", "--items", items,
                  "--by", "condition", "--max-rt", "700"},
                 FolderOf(azk), {});
  ASSERT_EQ(batch.status, 0) << batch.err;
  std::vector<std::string> tables;
  for (const std::string& name : FilesIn(output)) {
    if (name.ends_with(".tsv")) {
      tables.push_back(name);
      EXPECT_EQ(ReadFile(output + "\\" + name), ReadFile(batchOutput + "\\" + name)) << name;
    }
  }
  EXPECT_EQ(tables, (std::vector<std::string>{"by_item.tsv", "by_subject.tsv", "events.tsv",
                                              "items.tsv", "subjects.tsv", "trials.tsv"}));
  EXPECT_EQ(FilesIn(output), FilesIn(batchOutput));
  // The window lists what the command printed, but for where the files went.
  const std::vector<std::string> notices = ListLines(window.Control(AnalyzeControl::lstNotices));
  const std::vector<std::string> printed = OutputLines(batch.out);
  ASSERT_GE(notices.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(notices.begin(), notices.end() - 1),
            std::vector<std::string>(printed.begin(), printed.begin() + notices.size() - 1));
  const std::string summary = Shown(window, AnalyzeControl::lblSummary);
  EXPECT_TRUE(summary.starts_with("4 subjects, ")) << summary;
  if (std::filesystem::exists(std::filesystem::u8path(output + "\\report.html"))) {
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(WindowsPathOf(opened.front()), output + "\\report.html");
  } else {
    EXPECT_TRUE(opened.empty());
    EXPECT_NE(summary.find("No report was written"), std::string::npos) << summary;
  }
  EXPECT_EQ(RegistrySettingsStore().Get("Trelvox", "Analyze", "Timeout", "<none>"), "2000");

  Click(window.Control(AnalyzeControl::cmdOpenFolder));
  EXPECT_EQ(opened.back(), output);
}

// Cancels at the first progress report: the run waits there until the window's Cancel has
// been pressed, so it cannot end before, however fast the machine.
class CancelAtFirstProgress final : public analysis::AnalysisObserver {
 public:
  CancelAtFirstProgress(analysis::AnalysisObserver& window, std::atomic<bool>& reported)
      : window_(window), reported_(reported) {}
  void Progress(const analysis::AnalysisProgress& progress) override {
    window_.Progress(progress);
    if (reported_.exchange(true)) {
      return;
    }
    const ULONGLONG giveUp = GetTickCount64() + 60000;
    while (!window_.CancelRequested() && GetTickCount64() < giveUp) {
      Sleep(1);
    }
  }
  bool CancelRequested() override { return window_.CancelRequested(); }

 private:
  analysis::AnalysisObserver& window_;
  std::atomic<bool>& reported_;
};

TEST_F(WinAnalyze, CancelStopsALongRunAndReplacesNothing) {
  TempDir dir;
  const std::string output = dir.File("out");
  std::filesystem::create_directory(std::filesystem::u8path(output));
  WriteFile(output + "\\trials.tsv", "an earlier analysis\n");
  std::atomic<bool> reported{false};
  WinOptions options;
  options.analyze = [&reported](const analysis::AnalysisRequest& request,
                                analysis::AnalysisObserver& window) {
    CancelAtFirstProgress observer(window, reported);
    return RunAnalysisOnDisk(request, observer);
  };
  frmAnalyze& window = OpenAnalyze(std::move(options));
  window.Controller().AddInputs({TRELVOX_LONG_RUN_AZK});
  Type(window, AnalyzeControl::txtTimeout, "2000");
  Type(window, AnalyzeControl::txtOutputFolder, output);
  Click(window.Control(AnalyzeControl::cmdAnalyze));
  ASSERT_TRUE(window.Controller().Running());
  EXPECT_EQ(GetFocus(), window.Control(AnalyzeControl::cmdCancel));
  while (!reported) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  Click(window.Control(AnalyzeControl::cmdCancel));
  WaitForRun(window);
  EXPECT_EQ(ReadFile(output + "\\trials.tsv"), "an earlier analysis\n");
  EXPECT_EQ(FilesIn(output), std::vector<std::string>{"trials.tsv"}) << "no temporary file left";
  EXPECT_FALSE(Shown(window, AnalyzeControl::lblSummary).empty());
  EXPECT_TRUE(ListLines(window.Control(AnalyzeControl::lstNotices)).empty());
  EXPECT_EQ(SendMessageA(window.Control(AnalyzeControl::prgProgress), PBM_GETPOS, 0, 0), 0);
  EXPECT_TRUE(IsWindowEnabled(window.Control(AnalyzeControl::cmdAnalyze)));
  EXPECT_FALSE(IsWindowEnabled(window.Control(AnalyzeControl::cmdCancel)));
}

// ---- the input box, the file filter, the settings and the version record ----------------

TEST(WinInputBox, OkGivesTheTypedTextAndCancelEmptyText) {
  for (const int button : {IDOK, IDCANCEL}) {
    WhenShown box("Trelvox", [button](HWND dialog) {
      SetWindowTextA(GetDlgItem(dialog, 11), "2000");
      SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    });
    const std::string answer =
        InputBox(GetModuleHandleA(nullptr), nullptr, 96, "Enter TimeOut Value:", "Trelvox");
    EXPECT_EQ(answer, button == IDOK ? "2000" : "") << button;
  }
}

TEST(WinFileDialog, FiltersBecomeZeroSeparatedPairs) {
  EXPECT_EQ(WindowsFilterFromPairs("Composite Files (*.dat)|*.dat"),
            std::string("Composite Files (*.dat)\0*.dat\0\0", 31));
  EXPECT_EQ(WindowsFilterFromPairs(""), std::string("\0", 1));
}

TEST(WinShellFiles, AnOpenSelectionBecomesFullPaths) {
  struct Case {
    std::string buffer;  // as the dialog leaves it, zeros included
    std::vector<std::string> paths;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"C:\\data\\a.azk\0\0"s, {"C:\\data\\a.azk"}},
      {"C:\\my data\0a.azk\0b.zil\0\0"s, {"C:\\my data\\a.azk", "C:\\my data\\b.zil"}},
      {"C:\\\0a.azk\0b.zil\0\0"s, {"C:\\a.azk", "C:\\b.zil"}},
      {"\0\0"s, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitOpenSelection(std::vector<char>(c.buffer.begin(), c.buffer.end())), c.paths)
        << c.buffer;
  }
}

TEST(WinShellFiles, PathsReachTheShellWithWindowsSeparators) {
  EXPECT_EQ(WindowsPathOf("C:\\data\\out/report.html"), "C:\\data\\out\\report.html");
}

TEST(WinShellFiles, FilterDescriptionsShowTheirPatterns) {
  EXPECT_EQ(FilterWithPatterns("Item lists|*.csv;*.tsv|All Files (*.*)|*.*"),
            "Item lists (*.csv;*.tsv)|*.csv;*.tsv|All Files (*.*)|*.*");
  EXPECT_EQ(FilterWithPatterns(""), "");
}

TEST(WinShellFiles, TheCommandLineGivesTheFilesAsTheShellQuotedThem) {
  EXPECT_EQ(
      ArgumentsOf(L"\"C:\\Program Files\\Trelvox\\trelvox.exe\" \"C:\\my data\\a.azk\" b.zil"),
      (std::vector<std::string>{"C:\\my data\\a.azk", "b.zil"}));
  EXPECT_EQ(ArgumentsOf(L"trelvox.exe"), std::vector<std::string>{});
  // The program's text is UTF-8 (its manifest's code page), as the files it opens take it.
  ASSERT_EQ(GetACP(), 65001u);
  EXPECT_EQ(ArgumentsOf(L"trelvox.exe M\u00fcller.zil"),
            std::vector<std::string>{"M\xc3\xbcller.zil"});
}

TEST(WinSettings, TextValuesUnderApplicationSectionAndKey) {
  RegistrySettingsStore settings;
  ClearStoredSettings();
  EXPECT_EQ(settings.Get("Trelvox", "Settings", "MainLeft", "1000"), "1000");
  settings.Set("Trelvox", "Settings", "MainLeft", "-150");
  EXPECT_EQ(settings.Get("Trelvox", "Settings", "MainLeft", "1000"), "-150");
  HKEY key = nullptr;
  EXPECT_EQ(
      RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Trelvox\\Settings",
                    0, KEY_READ, &key),
      ERROR_SUCCESS);
  RegCloseKey(key);
  ClearStoredSettings();
}

std::string VersionValue(const std::vector<char>& block, const std::string& name) {
  char* value = nullptr;
  UINT size = 0;
  const std::string path = "\\StringFileInfo\\040904B0\\" + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)) {
    return "<missing>";
  }
  return value;
}

TEST(WinResources, TheVersionRecordIsTheProgramsOwn) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::vector<char> block(GetFileVersionInfoSizeA(path, nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(kVersionMinor, kVersionMajor));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, kVersionRevision));
  EXPECT_EQ(VersionValue(block, "FileVersion"), kVersionRecordText);
  EXPECT_EQ(VersionValue(block, "ProductVersion"), kVersionRecordText);
  EXPECT_EQ(VersionValue(block, "ProductName"), "Trelvox");
  EXPECT_EQ(VersionValue(block, "InternalName"), "Trelvox");
  EXPECT_EQ(VersionValue(block, "OriginalFilename"), "Trelvox.exe");
  EXPECT_EQ(VersionValue(block, "FileDescription"), kFileDescription);
  EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr)
      << "the manifest";
}

}  // namespace
}  // namespace trelvox::testing
