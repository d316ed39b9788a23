#include <QApplication>

#include "platform/Prompts.h"
#include "shell/Application.h"

int main(int argc, char* argv[]) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(trelvox::kAppTitle));
  // Lets the desktop match the windows to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.trelvox.Trelvox"));
  trelvox::Application application;
  application.Main();
  return QApplication::exec();
}
