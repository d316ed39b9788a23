#include "shell/frmSaveOptions.h"

#include <QCheckBox>
#include <QPushButton>

#include "shell/DescribedWidgets.h"

namespace trelvox {

frmSaveOptions::frmSaveOptions(RunOptions& options)
    : QWidget(nullptr, Qt::Window), options_(options) {
  const WindowDescription& described = SaveOptionsWindow();
  setObjectName(QString::fromLatin1(described.name));
  setAttribute(Qt::WA_DeleteOnClose);  // unloading discards the ticks
  setWindowTitle(QString::fromLatin1(described.caption));
  resize(ClientSize(described));
  BuildControls(*this, described);
  connect(Control<QPushButton>(*this, SaveOptionsControl::cmdOK), &QPushButton::clicked, this,
          [this] { cmdOK_Click(); });
  connect(Control<QPushButton>(*this, SaveOptionsControl::cmdCancel), &QPushButton::clicked, this,
          [this] { cmdCancel_Click(); });
  Form_Load();
}

QCheckBox* frmSaveOptions::CheckBox(SaveOptionsControl box) const {
  return Control<QCheckBox>(*this, box);
}

bool frmSaveOptions::IsChecked(SaveOptionsControl box) const {
  return CheckBox(box)->checkState() == Qt::Checked;
}

void frmSaveOptions::SetChecked(SaveOptionsControl box, bool checked) {
  CheckBox(box)->setChecked(checked);
}

void frmSaveOptions::Form_Load() {
  ShowOptions(options_, *this);
}

void frmSaveOptions::cmdOK_Click() {
  StoreOptions(*this, options_);
  close();
}

void frmSaveOptions::cmdCancel_Click() {
  close();
}

}  // namespace trelvox
