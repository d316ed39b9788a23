#pragma once

#include "win/DescribedDialog.h"

namespace trelvox {

// The four switches of a parse run. Modeless and without an owner; the flags change only on
// OK, and closing the window any other way discards the ticks.
class frmSaveOptions final : public DescribedDialog {
 public:
  explicit frmSaveOptions(WinApplication& app);
  // Creates the window (its load step reads the flags) unless it is there already.
  void Load();
  // Sets the two "save" boxes from the flags, and brings the dialog up and to the front.
  void ShowWithSaveFlags();

 private:
  void Form_Load() override;
  void OnCommand(int id) override;
  void cmdOK_Click();
};

}  // namespace trelvox
