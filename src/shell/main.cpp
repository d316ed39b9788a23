#include <QApplication>

#include "platform/Prompts.h"
#include "shell/Application.h"

int main(int argc, char* argv[]) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(trelvox::kAppTitle));
  trelvox::Application application;
  application.Main();
  return QApplication::exec();
}
