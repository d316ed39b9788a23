#include "shell/Application.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QProcess>

#include "shell/QtSettingsStore.h"
#include "shell/frmMain.h"
#include "shell/frmSaveOptions.h"
#include "shell/frmSplash.h"

// The resources live in a static library; this keeps the linker from dropping them.
static void InitShellResources() {
  Q_INIT_RESOURCE(trelvox);
}

namespace trelvox {

namespace {

bool LaunchDetached(const std::string& path) {
  return !path.empty() && QProcess::startDetached(QFile::decodeName(path.c_str()), {});
}

// The program ends when its last window closes; swapping the splash for the main window must
// not count as that.
class KeepRunningWhileSwapping {
 public:
  KeepRunningWhileSwapping() : quitOnClose_(QGuiApplication::quitOnLastWindowClosed()) {
    QGuiApplication::setQuitOnLastWindowClosed(false);
  }
  ~KeepRunningWhileSwapping() { QGuiApplication::setQuitOnLastWindowClosed(quitOnClose_); }
  KeepRunningWhileSwapping(const KeepRunningWhileSwapping&) = delete;
  KeepRunningWhileSwapping& operator=(const KeepRunningWhileSwapping&) = delete;

 private:
  bool quitOnClose_;
};

}  // namespace

Application::Application(ShellOptions options) : options_(std::move(options)) {
  InitShellResources();
  if (!options_.settings) {
    options_.settings = std::make_unique<QtSettingsStore>();
  }
  if (!options_.launchProgram) {
    options_.launchProgram = LaunchDetached;
  }
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/trelvox/icon.png")));
}

Application::~Application() {
  delete saveOptions_.data();
  delete splash_.data();
}

void Application::Main() {
  splash_ = new frmSplash(*this);
  splash_->show();
  splash_->repaint();
  ClearOptions(state_.options);
}

void Application::Begin() {
  const KeepRunningWhileSwapping keepRunning;
  if (splash_) {
    splash_->close();
  }
  mainForm_ = std::make_unique<frmMain>(*this);
  mainForm_->Form_Load();
  mainForm_->show();
}

frmSplash* Application::Splash() const {
  return splash_;
}

frmSaveOptions* Application::SaveOptions() const {
  return saveOptions_;
}

frmSaveOptions& Application::LoadSaveOptions() {
  if (!saveOptions_) {
    saveOptions_ = new frmSaveOptions(state_);
  }
  return *saveOptions_;
}

void Application::StartSysInfo() {
  trelvox::StartSysInfo(options_.locateSysInfo, options_.launchProgram, ui_);
}

}  // namespace trelvox
