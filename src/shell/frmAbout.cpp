#include "shell/frmAbout.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "desktop/Version.h"
#include "platform/Prompts.h"
#include "shell/Application.h"
#include "shell/DescribedWidgets.h"

namespace trelvox {

frmAbout::frmAbout(Application& app, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      app_(app) {
  const WindowDescription& described = AboutWindow();
  setObjectName(QString::fromLatin1(described.name));
  setWindowTitle(QString::fromLatin1(described.caption));
  setFixedSize(ClientSize(described));
  BuildControls(*this, described);
  BindControls();
  Form_Load();
}

void frmAbout::BindControls() {
  auto* cmdOK = Control<QPushButton>(*this, AboutControl::cmdOK);
  auto* cmdSysInfo = Control<QPushButton>(*this, AboutControl::cmdSysInfo);
  // Enter presses the focused button, "OK" when no other has the focus; Escape closes the box
  // as every dialog's cancel does.
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

  auto* picIcon = Control<QLabel>(*this, AboutControl::picIcon);
  picIcon->setAutoFillBackground(true);
  QPalette palette = picIcon->palette();
  palette.setColor(QPalette::Window,
                   QColor(kIconBackgroundGrey, kIconBackgroundGrey, kIconBackgroundGrey));
  picIcon->setPalette(palette);

  lblTitle_ = Control<QLabel>(*this, AboutControl::lblTitle);
  lblVersion_ = Control<QLabel>(*this, AboutControl::lblVersion);
  lblDescription_ = Control<QLabel>(*this, AboutControl::lblDescription);
  lblDescription_->setWordWrap(true);
}

void frmAbout::Form_Load() {
  lblVersion_->setText(QString::fromStdString(VersionText()));
  lblTitle_->setText(QString::fromLatin1(kAppTitle));
  lblDescription_->setText(QString::fromLatin1(kFileDescription));
}

void frmAbout::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  for (const LineDescription& line : AboutEtchedLine()) {
    // A pen wider than a pixel is centred on its line; shift it to lie just below.
    const int shift = line.widthPixels / 2;
    painter.setPen(QPen(QColor(line.red, line.green, line.blue), line.widthPixels));
    painter.drawLine(TwipsToPixels(line.x1), TwipsToPixels(line.y1) + shift, TwipsToPixels(line.x2),
                     TwipsToPixels(line.y2) + shift);
  }
}

void frmAbout::cmdSysInfo_Click() {
  app_.Desktop().StartSysInfo();
}

}  // namespace trelvox
