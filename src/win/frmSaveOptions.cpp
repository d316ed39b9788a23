#include "win/frmSaveOptions.h"

#include "win/WinApplication.h"

namespace trelvox {

frmSaveOptions::frmSaveOptions(WinApplication& app) : DescribedDialog(app, SaveOptionsWindow()) {}

void frmSaveOptions::Load() {
  if (Handle() == nullptr) {
    CreateModeless(WS_OVERLAPPEDWINDOW, nullptr);
    CentreOver(Handle(), nullptr);  // a dialog has no default place of its own
  }
}

void frmSaveOptions::ShowWithSaveFlags() {
  const RunState& state = app_.State();
  SetChecked("chkSaveCounters", state.options.SaveCounters);
  SetChecked("ChkIndFiles", state.options.SaveIndFiles);
  if (IsIconic(Handle())) {
    ShowWindow(Handle(), SW_RESTORE);
  } else {
    ShowWindow(Handle(), SW_SHOW);
  }
  SetForegroundWindow(Handle());
}

void frmSaveOptions::Form_Load() {
  const RunState& state = app_.State();
  SetChecked("ChkIndFiles", state.options.SaveIndFiles);
  SetChecked("chkSaveCounters", state.options.SaveCounters);
  SetChecked("chkZOR", state.options.ZORFormat);
  SetChecked("chkCOT", state.options.COTIncluded);
}

void frmSaveOptions::OnCommand(int id) {
  if (id == IdOf("cmdOK")) {
    cmdOK_Click();
  } else if (id == IdOf("cmdCancel")) {
    Close();
  }
  // Neither button is the default or the cancel button: Enter on a check box and Escape
  // do nothing.
}

void frmSaveOptions::cmdOK_Click() {
  RunState& state = app_.State();
  state.options.SaveIndFiles = IsChecked("ChkIndFiles");
  state.options.SaveCounters = IsChecked("chkSaveCounters");
  state.options.ZORFormat = IsChecked("chkZOR");
  state.options.COTIncluded = IsChecked("chkCOT");
  Close();
}

}  // namespace trelvox
