#pragma once

#include "win/DescribedDialog.h"

namespace trelvox {

// The start-up window: logo, name, credits, platform and version, and the Begin button.
class frmSplash final : public DescribedWindow<SplashControl> {
 public:
  explicit frmSplash(WinApplication& app);
  void Show();

 private:
  void Form_Load() override;
  void OnCommand(int id) override;
  void cmdBegin_Click();
};

}  // namespace trelvox
