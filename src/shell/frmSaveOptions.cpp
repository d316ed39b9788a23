#include "shell/frmSaveOptions.h"

#include <QCheckBox>
#include <QPushButton>

#include "parse/RunState.h"
#include "shell/DescribedWidgets.h"

namespace trelvox {

namespace {

bool IsChecked(const QCheckBox* box) {
  return box->checkState() == Qt::Checked;
}

}  // namespace

frmSaveOptions::frmSaveOptions(RunState& state) : QWidget(nullptr, Qt::Window), state_(state) {
  const WindowDescription& described = SaveOptionsWindow();
  setObjectName(QString::fromLatin1(described.name));
  setAttribute(Qt::WA_DeleteOnClose);  // unloading discards the ticks
  setWindowTitle(QString::fromLatin1(described.caption));
  resize(ClientSize(described));
  BuildControls(*this, described);
  ChkIndFiles_ = Control<QCheckBox>(*this, "ChkIndFiles");
  chkSaveCounters_ = Control<QCheckBox>(*this, "chkSaveCounters");
  chkZOR_ = Control<QCheckBox>(*this, "chkZOR");
  chkCOT_ = Control<QCheckBox>(*this, "chkCOT");
  connect(Control<QPushButton>(*this, "cmdOK"), &QPushButton::clicked, this,
          [this] { cmdOK_Click(); });
  connect(Control<QPushButton>(*this, "cmdCancel"), &QPushButton::clicked, this,
          [this] { cmdCancel_Click(); });
  Form_Load();
}

void frmSaveOptions::Form_Load() {
  ChkIndFiles_->setChecked(state_.options.SaveIndFiles);
  chkSaveCounters_->setChecked(state_.options.SaveCounters);
  chkZOR_->setChecked(state_.options.ZORFormat);
  chkCOT_->setChecked(state_.options.COTIncluded);
}

void frmSaveOptions::cmdOK_Click() {
  state_.options.SaveIndFiles = IsChecked(ChkIndFiles_);
  state_.options.SaveCounters = IsChecked(chkSaveCounters_);
  state_.options.ZORFormat = IsChecked(chkZOR_);
  state_.options.COTIncluded = IsChecked(chkCOT_);
  close();
}

void frmSaveOptions::cmdCancel_Click() {
  close();
}

}  // namespace trelvox
