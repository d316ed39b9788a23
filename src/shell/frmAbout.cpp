#include "shell/frmAbout.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "platform/Prompts.h"
#include "shell/Application.h"
#include "shell/Twips.h"
#include "desktop/Version.h"

namespace trelvox {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(place);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& place) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  return button;
}

QLabel* AddIcon(QWidget* parent) {
  auto* picIcon = new QLabel(parent);
  picIcon->setObjectName(QStringLiteral("picIcon"));
  picIcon->setGeometry(TwipsRect(240, 240, 540, 540));
  picIcon->setAlignment(Qt::AlignCenter);
  picIcon->setAutoFillBackground(true);
  QPalette palette = picIcon->palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  picIcon->setPalette(palette);
  picIcon->setPixmap(QPixmap(QStringLiteral(":/trelvox/icon.png")));
  return picIcon;
}

}  // namespace

frmAbout::frmAbout(Application& app, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      app_(app) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About Trelvox"));
  setFixedSize(Px(5655), Px(3630));
  BuildControls();
  Form_Load();
}

void frmAbout::BuildControls() {
  QPushButton* cmdOK =
      AddButton(this, "cmdOK", QStringLiteral("OK"), TwipsRect(4245, 2625, 1260, 345));
  QPushButton* cmdSysInfo = AddButton(this, "cmdSysInfo", QStringLiteral("&System Info..."),
                                      TwipsRect(4260, 3075, 1245, 345));
  // Enter presses the focused button, "OK" when no other has the focus; Escape closes the box
  // as every dialog's cancel does.
  cmdOK->setDefault(true);
  cmdSysInfo->setAutoDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

  AddIcon(this);
  lblTitle_ = AddLabel(this, "lblTitle", QStringLiteral("Application Title"),
                       TwipsRect(1050, 240, 3885, 480));
  lblVersion_ =
      AddLabel(this, "lblVersion", QStringLiteral("Version"), TwipsRect(1050, 780, 3885, 225));
  lblDescription_ = AddLabel(this, "lblDescription", QStringLiteral("App Description"),
                             TwipsRect(1050, 1125, 3885, 1170));
  lblDescription_->setWordWrap(true);
  AddLabel(this, "lblDisclaimer", QStringLiteral("By the Trelvox team"),
           TwipsRect(255, 2625, 3870, 345));
  AddLabel(this, "Label1", QStringLiteral("For experimenters who run DMDX"),
           TwipsRect(240, 2880, 3870, 345));
  AddLabel(this, "Label2", QStringLiteral("Questions: see the README"),
           TwipsRect(240, 3120, 3870, 345));

  cmdOK->setFocus();
}

void frmAbout::Form_Load() {
  lblVersion_->setText(QString::fromStdString(VersionText()));
  lblTitle_->setText(QString::fromLatin1(kAppTitle));
  lblDescription_->setText(QString::fromLatin1(kFileDescription));
}

void frmAbout::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // The etched line across the box: grey, with a white line two pixels wide just below.
  QPainter painter(this);
  painter.setPen(QPen(QColor(128, 128, 128), 1));
  painter.drawLine(Px(225), Px(2430), Px(5450), Px(2430));
  painter.setPen(QPen(Qt::white, 2));
  painter.drawLine(Px(240), Px(2445) + 1, Px(5450), Px(2445) + 1);
}

void frmAbout::cmdSysInfo_Click() {
  app_.StartSysInfo();
}

}  // namespace trelvox
