#pragma once

#include <QWidget>

#include "desktop/OptionBoxes.h"

class QCheckBox;

namespace trelvox {

// The four switches of a parse run. Modeless and without an owner; the flags change only on
// OK, and closing the window any other way discards the ticks.
class frmSaveOptions final : public QWidget, public OptionBoxes {
  Q_OBJECT

 public:
  explicit frmSaveOptions(RunOptions& options);

  QCheckBox* CheckBox(SaveOptionsControl box) const;
  bool IsChecked(SaveOptionsControl box) const override;
  void SetChecked(SaveOptionsControl box, bool checked) override;

 private:
  void Form_Load();
  void cmdOK_Click();
  void cmdCancel_Click();

  RunOptions& options_;
};

}  // namespace trelvox
