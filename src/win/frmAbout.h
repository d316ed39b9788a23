#pragma once

#include "win/DescribedDialog.h"

namespace trelvox {

// Names the tool, its version and description, and starts the system information tool.
// Shown modal, owned by the main window; each opening loads a fresh box.
class frmAbout final : public DescribedWindow<AboutControl> {
 public:
  explicit frmAbout(WinApplication& app);
  ~frmAbout() override;
  void ShowModalOver(HWND owner);

 private:
  void Form_Load() override;
  void OnCommand(int id) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void cmdOK_Click();
  void cmdSysInfo_Click();
  void PaintEtchedLine();

  HWND owner_ = nullptr;
  HBRUSH iconBackground_;
};

}  // namespace trelvox
