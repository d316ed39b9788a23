#pragma once

#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "shell/Application.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

namespace trelvox::testing {

// Keeps every setting the tests write in a folder of their own, never the user's.
class TestSettingsFolder {
 public:
  TestSettingsFolder() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
  }
  QString Path() const { return folder_.path(); }

 private:
  QTemporaryDir folder_;
};

// The placement as the program stores it.
inline QSettings StoredSettings() {
  return QSettings(QStringLiteral("Trelvox"), QStringLiteral("Trelvox"));
}

inline std::unique_ptr<Application> StartProgram(ShellOptions options = {}) {
  options.nativeFileDialogs = false;
  auto app = std::make_unique<Application>(std::move(options));
  app->Main();
  return app;
}

// Presses the splash's Begin and returns the main window it opened.
inline frmMain* PressBegin(Application& app) {
  auto* begin = app.Splash()->findChild<QPushButton*>(QStringLiteral("cmdBegin"));
  QTest::mouseClick(begin, Qt::LeftButton);
  return app.MainForm();
}

}  // namespace trelvox::testing
