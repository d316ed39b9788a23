#include "win/frmAbout.h"

#include "desktop/Version.h"
#include "platform/Prompts.h"
#include "win/WinApplication.h"

namespace trelvox {

frmAbout::frmAbout(WinApplication& app)
    : DescribedWindow(app),
      iconBackground_(
          CreateSolidBrush(RGB(kIconBackgroundGrey, kIconBackgroundGrey, kIconBackgroundGrey))) {}

frmAbout::~frmAbout() {
  DeleteObject(iconBackground_);
}

void frmAbout::ShowModalOver(HWND owner) {
  owner_ = owner;
  // A fixed dialog border with a close box only; owned, so not in the task bar.
  ShowModal(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, owner);
}

void frmAbout::Form_Load() {
  const std::string version = VersionText();
  SetText(AboutControl::lblVersion, version.c_str());
  SetText(AboutControl::lblTitle, kAppTitle);
  SetText(AboutControl::lblDescription, kFileDescription);
  CentreOver(Handle(), owner_);
}

void frmAbout::OnCommand(int id) {
  // OK is both the default and the cancel button: Escape comes as IDCANCEL.
  if (id == CommandOf(AboutControl::cmdOK) || id == IDCANCEL) {
    cmdOK_Click();
  } else if (id == CommandOf(AboutControl::cmdSysInfo)) {
    cmdSysInfo_Click();
  }
}

void frmAbout::cmdOK_Click() {
  Close();
}

void frmAbout::cmdSysInfo_Click() {
  app_.Desktop().StartSysInfo();
}

bool frmAbout::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (message == WM_CTLCOLORSTATIC &&
      reinterpret_cast<HWND>(lParam) == Control(AboutControl::picIcon)) {
    SetBkColor(reinterpret_cast<HDC>(wParam),
               RGB(kIconBackgroundGrey, kIconBackgroundGrey, kIconBackgroundGrey));
    result = reinterpret_cast<INT_PTR>(iconBackground_);
    return true;
  }
  if (message == WM_PAINT) {
    PaintEtchedLine();
    result = TRUE;
    return true;
  }
  return false;
}

void frmAbout::PaintEtchedLine() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  const int dpi = app_.Dpi();
  for (const LineDescription& line : AboutEtchedLine()) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(line.red, line.green, line.blue));
    const HGDIOBJ old = SelectObject(dc, pen);
    for (int row = 0; row < line.widthPixels; ++row) {
      MoveToEx(dc, TwipsToPixels(line.x1, dpi), TwipsToPixels(line.y1, dpi) + row, nullptr);
      LineTo(dc, TwipsToPixels(line.x2, dpi), TwipsToPixels(line.y2, dpi) + row);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  EndPaint(Handle(), &paint);
}

}  // namespace trelvox
