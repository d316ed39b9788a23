#pragma once

#include "desktop/OptionBoxes.h"
#include "win/DescribedDialog.h"

namespace trelvox {

// The four switches of a parse run. Modeless and without an owner; the flags change only on
// OK, and closing the window any other way discards the ticks.
class frmSaveOptions final : public DescribedWindow<SaveOptionsControl>, public OptionBoxes {
 public:
  explicit frmSaveOptions(WinApplication& app);
  // Creates the window (its load step reads the flags) unless it is there already.
  void Load();
  // Brings the dialog up, restored if minimized, and to the front.
  void BringToFront();

  bool IsChecked(SaveOptionsControl box) const override;
  void SetChecked(SaveOptionsControl box, bool checked) override;

 private:
  void Form_Load() override;
  void OnCommand(int id) override;
  void cmdOK_Click();
  void cmdCancel_Click();
};

}  // namespace trelvox
