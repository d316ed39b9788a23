#include "shell/frmSplash.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "platform/Prompts.h"
#include "shell/Application.h"
#include "shell/Twips.h"
#include "desktop/Version.h"

namespace trelvox {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, double pointSize) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(BoldFont(QStringLiteral("Arial"), pointSize));
  return label;
}

}  // namespace

frmSplash::frmSplash(Application& app)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      app_(app) {
  setObjectName(QStringLiteral("frmSplash"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(Px(6510), Px(3540));
  BuildControls();
  Form_Load();
  CentreOnScreen();
}

void frmSplash::BuildControls() {
  auto* fraMainFrame = new QFrame(this);
  fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
  fraMainFrame->setFrameShape(QFrame::Box);
  fraMainFrame->setFrameShadow(QFrame::Sunken);
  fraMainFrame->setGeometry(TwipsRect(120, 120, 6300, 3135));

  auto* picLogo = new QLabel(fraMainFrame);
  picLogo->setObjectName(QStringLiteral("picLogo"));
  picLogo->setGeometry(TwipsRect(120, 240, 2310, 2730));
  picLogo->setAlignment(Qt::AlignCenter);
  picLogo->setPixmap(QPixmap(QStringLiteral(":/trelvox/logo.jpg")));

  AddLabel(fraMainFrame, "Label1", QString::fromLatin1(kAppTitle), 18)
      ->setGeometry(TwipsRect(2640, 240, 3015, 495));
  AddLabel(fraMainFrame, "lblAuthor", QStringLiteral("By the Trelvox team"), 12)
      ->setGeometry(TwipsRect(2640, 960, 3375, 315));
  AddLabel(fraMainFrame, "Label6", QStringLiteral("For DMDX users"), 12)
      ->setGeometry(TwipsRect(2640, 1320, 3015, 375));
  QLabel* lblPlatform = AddLabel(fraMainFrame, "lblPlatform", QStringLiteral("Windows 98"), 9.75);
  lblPlatform->move(Px(2640), Px(1800));
  lblPlatform->adjustSize();
  lblVersion_ = AddLabel(fraMainFrame, "lblVersion", QStringLiteral("Version"), 9.75);
  lblVersion_->move(Px(2640), Px(2040));

  cmdBegin_ = new QPushButton(QStringLiteral("Begin"), fraMainFrame);
  cmdBegin_->setObjectName(QStringLiteral("cmdBegin"));
  cmdBegin_->setFont(BoldFont(QStringLiteral("Arial"), 12));
  cmdBegin_->setGeometry(TwipsRect(4440, 1920, 1215, 495));
  cmdBegin_->setAutoDefault(true);  // Enter and Space press the focused button
  connect(cmdBegin_, &QPushButton::clicked, this, [this] { cmdBegin_Click(); });
  cmdBegin_->setFocus();
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
