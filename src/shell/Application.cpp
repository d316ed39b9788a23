#include "shell/Application.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QIcon>
#include <QProcess>
#include <QUrl>

#include "shell/QtSettingsStore.h"
#include "shell/frmAnalyze.h"
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

bool OpenWithDesktop(const std::string& path) {
  return !path.empty() &&
         QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
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

Application::Application(ShellOptions options)
    : nativeFileDialogs_(options.nativeFileDialogs),
      session_(WithPlatformDefaults(std::move(options), std::make_unique<QtSettingsStore>(),
                                    LaunchDetached, OpenWithDesktop),
               prompts_) {
  InitShellResources();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/trelvox/icon.png")));
}

Application::~Application() {
  delete analyze_.data();
  delete saveOptions_.data();
  delete splash_.data();
}

void Application::Main() {
  splash_ = new frmSplash(*this);
  splash_->show();
  splash_->repaint();
  ClearOptions(session_.State().options);
}

void Application::Begin() {
  const KeepRunningWhileSwapping keepRunning;
  if (splash_) {
    splash_->close();
  }
  mainForm_ = std::make_unique<frmMain>(*this);
  mainForm_->Form_Load();
  mainForm_->show();
  if (!session_.FilesToAnalyse().empty()) {
    ShowAnalyze(session_.FilesToAnalyse());
  }
}

frmAnalyze* Application::Analyze() const {
  return analyze_;
}

frmAnalyze& Application::ShowAnalyze(const std::vector<std::string>& inputs) {
  if (!analyze_) {
    analyze_ = new frmAnalyze(*this);
    analyze_->Controller().Load(inputs);
  } else {
    analyze_->Controller().AddInputs(inputs);
  }
  analyze_->setWindowState(analyze_->windowState() & ~Qt::WindowMinimized);
  analyze_->show();
  analyze_->raise();
  analyze_->activateWindow();
  return *analyze_;
}

frmSplash* Application::Splash() const {
  return splash_;
}

frmSaveOptions* Application::SaveOptions() const {
  return saveOptions_;
}

frmSaveOptions& Application::LoadSaveOptions() {
  if (!saveOptions_) {
    saveOptions_ = new frmSaveOptions(session_.State().options);
  }
  return *saveOptions_;
}

}  // namespace trelvox
