#include "win/frmMain.h"

#include <commctrl.h>

#include <vector>

#include "platform/Prompts.h"
#include "win/WinApplication.h"
#include "win/frmAbout.h"
#include "win/frmSaveOptions.h"
#include "win/resources/resource.h"

namespace trelvox {

namespace {

constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockMilliseconds = 1000;
constexpr int kFirstDocumentId = 50000;

void RegisterMainClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  if (GetClassInfoExA(instance, frmMain::kClassName, &windowClass)) {
    return;
  }
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRELVOX));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  windowClass.lpszClassName = frmMain::kClassName;
  RegisterClassExA(&windowClass);
}

// "Parse &All\tCtrl+A": the shortcut shown at the right of the item.
std::string ItemText(const MenuItemDescription& item) {
  const std::string shortcut = ShortcutText(item);
  return shortcut.empty() ? item.caption : std::string(item.caption) + "\t" + shortcut;
}

HMENU BuildMenuBar(std::vector<ACCEL>& accelerators) {
  HMENU bar = CreateMenu();
  for (const MenuDescription& menuDescription : MainMenuBar()) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItemDescription& item : menuDescription.items) {
      if (item.IsSeparator()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      const int id = frmMain::CommandId(item.command);
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), ItemText(item).c_str());
      if (item.ctrlKey != 0) {
        accelerators.push_back(
            {FVIRTKEY | FCONTROL, static_cast<WORD>(item.ctrlKey), static_cast<WORD>(id)});
      }
    }
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), menuDescription.caption);
  }
  return bar;
}

std::string TimeNow() {
  char text[64] = {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, sizeof text);
  return text;
}

}  // namespace

void WaitCursor::Show() {
  previous_ = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // the hourglass
}

void WaitCursor::Restore() {
  SetCursor(previous_);
}

frmMain::frmMain(WinApplication& app) : MainMenuCommands(app.Desktop()), app_(app) {}

frmMain::~frmMain() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (accelerators_ != nullptr) {
    DestroyAcceleratorTable(accelerators_);
  }
}

void frmMain::Form_Load() {
  RegisterMainClass(app_.Instance(), Procedure);
  std::vector<ACCEL> keys;
  HMENU menuBar = BuildMenuBar(keys);
  accelerators_ = CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
  // The stored placement, applied as it is: no check against the screen.
  const PixelRect place = app_.Desktop().LoadPlacement(app_.Dpi());
  CreateWindowExA(0, kClassName, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left,
                  place.top, place.width, place.height, nullptr, menuBar, app_.Instance(), this);
}

void frmMain::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void frmMain::OnCreate(HWND window) {
  hwnd_ = window;
  CLIENTCREATESTRUCT client{nullptr, kFirstDocumentId};
  mdiClient_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                               WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0,
                               0, 0, 0, window, nullptr, app_.Instance(), &client);
  statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                               0, 0, 0, 0, window, nullptr, app_.Instance(), nullptr);
  SendMessageA(statusBar_, WM_SETFONT,
               reinterpret_cast<WPARAM>(app_.Fonts().For(FontDescription{})), FALSE);
  Refresh();
  SetTimer(window, kClockTimer, kClockMilliseconds, nullptr);
}

void frmMain::Refresh() {
  const DesktopSession& session = app_.Desktop();
  const std::string date = session.UserLocale().ShortDate(session.Today().Today());
  const std::string time = TimeNow();
  int part = 0;
  for (const PanelDescription& panel : StatusPanels()) {
    const std::string text = panel.content == PanelContent::Date   ? date
                             : panel.content == PanelContent::Time ? time
                                                                   : std::string(panel.text);
    SendMessageA(statusBar_, SB_SETTEXTA, static_cast<WPARAM>(part++),
                 reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void frmMain::LayOut() {
  if (statusBar_ == nullptr || mdiClient_ == nullptr) {
    return;  // still being created
  }
  SendMessageA(statusBar_, WM_SIZE, 0, 0);
  RECT client{};
  GetClientRect(hwnd_, &client);
  RECT bar{};
  GetWindowRect(statusBar_, &bar);
  const int barHeight = bar.bottom - bar.top;
  // The date and time panels are as wide as a long date and a time; the text panel takes the
  // rest.
  const int dpi = app_.Dpi();
  const int timeWidth = MulDiv(80, dpi, 96);
  const int dateWidth = MulDiv(100, dpi, 96);
  const int gripWidth = GetSystemMetrics(SM_CXVSCROLL);
  int edges[3] = {client.right - dateWidth - timeWidth - gripWidth,
                  client.right - timeWidth - gripWidth, -1};
  SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  MoveWindow(mdiClient_, 0, 0, client.right, client.bottom - barHeight, TRUE);
  Refresh();  // new parts start empty
}

LRESULT CALLBACK frmMain::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<frmMain*>(create->lpCreateParams)->hwnd_ = window;
  }
  auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefFrameProcA(window, nullptr, message, wParam, lParam);
  }
  if (message == WM_CREATE) {
    self->OnCreate(window);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT frmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_TIMER:
      Refresh();
      return 0;
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) >= kFirstMenuId) {
        RunMenuCommand(static_cast<MenuCommand>(LOWORD(wParam) - kFirstMenuId));
        return 0;
      }
      break;
    case WM_DESTROY:
      Form_Unload();
      KillTimer(hwnd_, kClockTimer);
      return 0;
    case WM_NCDESTROY: {
      HWND window = hwnd_;
      hwnd_ = nullptr;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      app_.WindowClosed(window);
      return DefFrameProcA(window, nullptr, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefFrameProcA(hwnd_, mdiClient_, message, wParam, lParam);
}

OptionBoxes& frmMain::LoadSaveOptions() {
  return app_.LoadSaveOptions();
}

void frmMain::BringSaveOptionsToFront() {
  app_.SaveOptions()->BringToFront();
}

void frmMain::ShowAnalyzeWindow(const std::vector<std::string>& inputs) {
  app_.ShowAnalyze(inputs);
}

void frmMain::ShowAboutBox() {
  frmAbout about(app_);
  about.ShowModalOver(hwnd_);
}

// Saves the placement unless the window is minimized; a maximized window stores its bounds.
void frmMain::Form_Unload() {
  if (IsIconic(hwnd_)) {
    return;
  }
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  app_.Desktop().SavePlacement(
      {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top}, app_.Dpi());
}

}  // namespace trelvox
