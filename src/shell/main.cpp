#include <QApplication>
#include <QFile>

#include "platform/Prompts.h"
#include "shell/Application.h"

int main(int argc, char* argv[]) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(trelvox::kAppTitle));
  // Lets the desktop match the windows to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.trelvox.Trelvox"));
  // `trelvox FILE...`: the files to analyse, as the file manager's "Open with" passes them.
  trelvox::ShellOptions options;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    options.filesToAnalyse.push_back(QFile::encodeName(arguments[i]).toStdString());
  }
  trelvox::Application application(std::move(options));
  application.Main();
  return QApplication::exec();
}
