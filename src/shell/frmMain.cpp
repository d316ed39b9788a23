#include "shell/frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>

#include "desktop/ExitSteps.h"
#include "desktop/MainMenu.h"
#include "shell/ClockStatusBar.h"
#include "shell/frmAbout.h"
#include "shell/frmSaveOptions.h"

namespace trelvox {

namespace {

// The wait cursor for as long as a command runs; every box puts the pointer back meanwhile.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

constexpr int kFrameChecks = 20;
constexpr int kFrameCheckMilliseconds = 25;

}  // namespace

frmMain::frmMain(Application& app)
    : QMainWindow(nullptr), app_(app), dlgCommonDialog_(new QFileDialog(this)) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  auto* documents = new QMdiArea(this);
  documents->setObjectName(QStringLiteral("mdiClient"));
  setCentralWidget(documents);
  setStatusBar(new ClockStatusBar(app.UserLocale(), this));
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

void frmMain::RunMenuCommand(MenuCommand command) {
  switch (command) {
    case MenuCommand::ParseOneSubject:
      return mnuFileParseOne_Click();
    case MenuCommand::ParseAll:
      return mnuFileParseAll_Click();
    case MenuCommand::SaveOptions:
      return mnuFileSaveOptions_Click();
    case MenuCommand::Exit:
      return mnuFileExit_Click();
    case MenuCommand::About:
      return mnuHelpAbout_Click();
    case MenuCommand::None:
      return;
  }
}

void frmMain::Form_Load() {
  restored_ = LoadPlacement(app_.Settings(), app_.UserLocale());
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
  SavePlacement(app_.Settings(), CurrentPlacement());
}

void frmMain::RunCommand(CommandOutcome (Application::*command)()) {
  const BusyCursor busy;
  try {
    (app_.*command)();
  } catch (const std::exception& error) {
    ShowProblem(error.what());
  }
}

void frmMain::mnuFileParseOne_Click() {
  RunCommand(&Application::RunParseOneSubject);
}

void frmMain::mnuFileParseAll_Click() {
  RunCommand(&Application::RunParseAll);
}

void frmMain::mnuFileSaveOptions_Click() {
  frmSaveOptions& options = app_.LoadSaveOptions();
  const RunState& state = app_.State();
  options.chkSaveCounters()->setChecked(state.options.SaveCounters);
  options.ChkIndFiles()->setChecked(state.options.SaveIndFiles);
  options.setWindowState(options.windowState() & ~Qt::WindowMinimized);  // restore it if minimized
  options.show();
  options.raise();
  options.activateWindow();
}

void frmMain::mnuFileExit_Click() {
  CloseFilesAtExit(app_.State(), app_.Files(), app_.Boxes());
  close();
}

void frmMain::mnuHelpAbout_Click() {
  frmAbout about(app_, this);
  about.exec();
}

void frmMain::ShowProblem(const std::string& text) {
  ShowProblemBox(app_.Boxes(), text);
}

}  // namespace trelvox
