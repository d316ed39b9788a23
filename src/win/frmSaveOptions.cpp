#include "win/frmSaveOptions.h"

#include "win/WinApplication.h"

namespace trelvox {

frmSaveOptions::frmSaveOptions(WinApplication& app) : DescribedWindow(app) {}

void frmSaveOptions::Load() {
  if (Handle() == nullptr) {
    CreateModeless(WS_OVERLAPPEDWINDOW, nullptr);
    CentreOver(Handle(), nullptr);  // a dialog has no default place of its own
  }
}

void frmSaveOptions::BringToFront() {
  if (IsIconic(Handle())) {
    ShowWindow(Handle(), SW_RESTORE);
  } else {
    ShowWindow(Handle(), SW_SHOW);
  }
  SetForegroundWindow(Handle());
}

bool frmSaveOptions::IsChecked(SaveOptionsControl box) const {
  return SendMessageA(Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmSaveOptions::SetChecked(SaveOptionsControl box, bool checked) {
  SendMessageA(Control(box), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void frmSaveOptions::Form_Load() {
  ShowOptions(app_.Desktop().State().options, *this);
}

void frmSaveOptions::OnCommand(int id) {
  if (id == CommandOf(SaveOptionsControl::cmdOK)) {
    cmdOK_Click();
  } else if (id == CommandOf(SaveOptionsControl::cmdCancel)) {
    cmdCancel_Click();
  }
  // Neither button is the default or the cancel button: Enter on a check box and Escape
  // do nothing.
}

void frmSaveOptions::cmdOK_Click() {
  StoreOptions(*this, app_.Desktop().State().options);
  Close();
}

void frmSaveOptions::cmdCancel_Click() {
  Close();
}

}  // namespace trelvox
