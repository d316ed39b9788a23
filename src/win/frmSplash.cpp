#include "win/frmSplash.h"

#include "desktop/Version.h"
#include "win/WinApplication.h"

namespace trelvox {

frmSplash::frmSplash(WinApplication& app) : DescribedWindow(app) {}

void frmSplash::Show() {
  // A fixed dialog border without a caption; no owner.
  CreateModeless(WS_POPUP | WS_DLGFRAME | DS_MODALFRAME, nullptr);
  CentreOver(Handle(), nullptr);
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

void frmSplash::Form_Load() {
  const std::string version = VersionText();
  SetText(SplashControl::lblVersion, version.c_str());
  FitToText(Control(SplashControl::lblVersion));
}

void frmSplash::OnCommand(int id) {
  if (id == CommandOf(SplashControl::cmdBegin)) {
    cmdBegin_Click();
  }
}

void frmSplash::cmdBegin_Click() {
  app_.Begin();
}

}  // namespace trelvox
