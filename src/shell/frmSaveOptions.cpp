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
  ChkIndFiles_->setChecked(state_.SaveIndFiles);
  chkSaveCounters_->setChecked(state_.SaveCounters);
  chkZOR_->setChecked(state_.ZORFormat);
  chkCOT_->setChecked(state_.COTIncluded);
}

void frmSaveOptions::cmdOK_Click() {
  state_.SaveIndFiles = IsChecked(ChkIndFiles_);
  state_.SaveCounters = IsChecked(chkSaveCounters_);
  state_.ZORFormat = IsChecked(chkZOR_);
  state_.COTIncluded = IsChecked(chkCOT_);
  close();
}

void frmSaveOptions::cmdCancel_Click() {
  close();
}

}  // namespace trelvox
