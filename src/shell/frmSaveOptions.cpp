#include "shell/frmSaveOptions.h"

#include <QCheckBox>
#include <QPushButton>

#include "parse/RunState.h"
#include "shell/Twips.h"

namespace trelvox {

namespace {

QCheckBox* AddOption(QWidget* parent, const char* name, const QString& caption, int top) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setFont(BoldFont(QStringLiteral("MS Sans Serif"), 12));
  box->setGeometry(TwipsRect(480, top, 4335, 375));
  return box;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& place) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setAutoDefault(true);  // Enter presses the focused button; neither is the default
  return button;
}

bool IsChecked(const QCheckBox* box) {
  return box->checkState() == Qt::Checked;
}

}  // namespace

frmSaveOptions::frmSaveOptions(RunState& state) : QWidget(nullptr, Qt::Window), state_(state) {
  setObjectName(QStringLiteral("frmSaveOptions"));
  setAttribute(Qt::WA_DeleteOnClose);  // unloading discards the ticks
  setWindowTitle(QStringLiteral("Options"));
  resize(Px(4965), Px(4020));
  BuildControls();
  Form_Load();
}

void frmSaveOptions::BuildControls() {
  // Created in the tab order: the buttons first, then the check boxes from the top down.
  cmdOK_ = AddButton(this, "cmdOK", QStringLiteral("OK"), TwipsRect(1200, 3360, 975, 495));
  cmdCancel_ =
      AddButton(this, "cmdCancel", QStringLiteral("Cancel"), TwipsRect(2520, 3360, 1095, 495));
  ChkIndFiles_ =
      AddOption(this, "ChkIndFiles", QStringLiteral("Save Individual Subject Files"), 360);
  chkSaveCounters_ = AddOption(this, "chkSaveCounters", QStringLiteral("Save Counter File"), 1080);
  chkZOR_ = AddOption(this, "chkZOR", QStringLiteral("File is ZOR formatted"), 1800);
  chkCOT_ = AddOption(this, "chkCOT", QStringLiteral("COTs included?"), 2520);
  connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  cmdOK_->setFocus();
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
