#pragma once

#include <QWidget>

class QCheckBox;

namespace trelvox {

struct RunState;

// The four switches of a parse run. Modeless and without an owner; the flags change only on
// OK, and closing the window any other way discards the ticks.
class frmSaveOptions final : public QWidget {
  Q_OBJECT

 public:
  explicit frmSaveOptions(RunState& state);

  QCheckBox* ChkIndFiles() const { return ChkIndFiles_; }
  QCheckBox* chkSaveCounters() const { return chkSaveCounters_; }
  QCheckBox* chkZOR() const { return chkZOR_; }
  QCheckBox* chkCOT() const { return chkCOT_; }

 private:
  void Form_Load();
  void cmdOK_Click();
  void cmdCancel_Click();

  RunState& state_;
  QCheckBox* ChkIndFiles_ = nullptr;
  QCheckBox* chkSaveCounters_ = nullptr;
  QCheckBox* chkZOR_ = nullptr;
  QCheckBox* chkCOT_ = nullptr;
};

}  // namespace trelvox
