#include "shell/frmSplash.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "desktop/Version.h"
#include "shell/Application.h"
#include "shell/DescribedWidgets.h"

namespace trelvox {

frmSplash::frmSplash(Application& app)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      app_(app) {
  setObjectName(QString::fromLatin1(SplashWindow().name));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(ClientSize(SplashWindow()));
  BuildControls(*this, SplashWindow());
  lblVersion_ = Control<QLabel>(*this, SplashControl::lblVersion);
  cmdBegin_ = Control<QPushButton>(*this, SplashControl::cmdBegin);
  connect(cmdBegin_, &QPushButton::clicked, this, [this] { cmdBegin_Click(); });
  Form_Load();
  CentreOnScreen();
}

void frmSplash::Form_Load() {
  lblVersion_->setText(QString::fromStdString(VersionText()));
  lblVersion_->adjustSize();
}

void frmSplash::cmdBegin_Click() {
  app_.Begin();
}

void frmSplash::CentreOnScreen() {
  if (const QScreen* screen = this->screen()) {
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
  }
}

}  // namespace trelvox
