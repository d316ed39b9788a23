#include "shell/frmMain.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>

#include "desktop/MainMenu.h"
#include "shell/ClockStatusBar.h"
#include "shell/frmAbout.h"
#include "shell/frmSaveOptions.h"

namespace trelvox {

namespace {

constexpr int kFrameChecks = 20;
constexpr int kFrameCheckMilliseconds = 25;

}  // namespace

// Every box puts the normal pointer back while it waits for the user.
void WaitCursor::Show() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void WaitCursor::Restore() {
  QGuiApplication::restoreOverrideCursor();
}

frmMain::frmMain(Application& app)
    : QMainWindow(nullptr),
      MainMenuCommands(app.Desktop()),
      app_(app),
      dlgCommonDialog_(new QFileDialog(this)) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  auto* documents = new QMdiArea(this);
  documents->setObjectName(QStringLiteral("mdiClient"));
  setCentralWidget(documents);
  setStatusBar(new ClockStatusBar(app.Desktop().UserLocale(), this));
  dlgCommonDialog_->setObjectName(QStringLiteral("dlgCommonDialog"));
  BuildMenus();
}

void frmMain::BuildMenus() {
  for (const MenuDescription& menuDescription : MainMenuBar()) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(menuDescription.caption));
    menu->setObjectName(QString::fromLatin1(menuDescription.name));
    for (const MenuItemDescription& itemDescription : menuDescription.items) {
      if (itemDescription.IsSeparator()) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(itemDescription.name));
        continue;
      }
      QAction* item = menu->addAction(QString::fromLatin1(itemDescription.caption));
      item->setObjectName(QString::fromLatin1(itemDescription.name));
      item->setShortcut(QKeySequence(QString::fromStdString(ShortcutText(itemDescription))));
      const MenuCommand command = itemDescription.command;
      connect(item, &QAction::triggered, this, [this, command] { RunMenuCommand(command); });
    }
  }
}

void frmMain::Form_Load() {
  restored_ = app_.Desktop().LoadPlacement(kLogicalDpi);
  move(restored_.left, restored_.top);
  resize(restored_.width, restored_.height);
  restoredClient_ = size();
}

void frmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!fittedToFrame_) {
    fittedToFrame_ = true;
    QTimer::singleShot(0, this, [this] { FitOuterSizeToFrame(kFrameChecks); });
  }
}

// The stored width and height are the outer ones, frame included. The frame's thickness is
// known only once the window manager has framed the window, which may take a moment.
void frmMain::FitOuterSizeToFrame(int checksLeft) {
  if (size() != restoredClient_ || isMaximized() || isMinimized()) {
    return;  // the user or the system has placed the window meanwhile
  }
  const QSize frame = frameGeometry().size() - size();
  if (frame.width() <= 0 && frame.height() <= 0) {
    if (checksLeft > 1) {
      QTimer::singleShot(kFrameCheckMilliseconds, this,
                         [this, checksLeft] { FitOuterSizeToFrame(checksLeft - 1); });
    }
    return;
  }
  resize(restored_.width - frame.width(), restored_.height - frame.height());
  move(restored_.left, restored_.top);  // some window systems shift a window they resize
  restoredClient_ = size();
}

PixelRect frmMain::CurrentPlacement() const {
  const QRect outer = frameGeometry();
  PixelRect placement{outer.x(), outer.y(), outer.width(), outer.height()};
  if (size() == restoredClient_) {
    // Unchanged since load: keep the stored size rather than one the frame may have skewed.
    placement.width = restored_.width;
    placement.height = restored_.height;
  }
  return placement;
}

void frmMain::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void frmMain::Form_Unload() {
  if (isMinimized()) {
    return;
  }
  app_.Desktop().SavePlacement(CurrentPlacement(), kLogicalDpi);
}

OptionBoxes& frmMain::LoadSaveOptions() {
  return app_.LoadSaveOptions();
}

void frmMain::BringSaveOptionsToFront() {
  frmSaveOptions& options = *app_.SaveOptions();
  options.setWindowState(options.windowState() & ~Qt::WindowMinimized);  // restore it if minimized
  options.show();
  options.raise();
  options.activateWindow();
}

void frmMain::ShowAnalyzeWindow(const std::vector<std::string>& inputs) {
  app_.ShowAnalyze(inputs);
}

void frmMain::ShowAboutBox() {
  frmAbout about(app_, this);
  about.exec();
}

}  // namespace trelvox
