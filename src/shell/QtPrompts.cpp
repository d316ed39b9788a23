#include "shell/QtPrompts.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <memory>

#include "shell/Application.h"
#include "shell/FileFilter.h"
#include "shell/frmMain.h"

namespace trelvox {

namespace {

QString Local(const std::string& text) {
  return QString::fromLocal8Bit(text);
}

// A command shows the busy cursor while it works; while a box waits for the user the normal
// pointer comes back, and the busy one returns when the box closes.
class NormalCursorWhileAsking {
 public:
  NormalCursorWhileAsking() : busy_(QGuiApplication::overrideCursor() != nullptr) {
    if (busy_) {
      QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
  }
  ~NormalCursorWhileAsking() {
    if (busy_) {
      QGuiApplication::restoreOverrideCursor();
    }
  }
  NormalCursorWhileAsking(const NormalCursorWhileAsking&) = delete;
  NormalCursorWhileAsking& operator=(const NormalCursorWhileAsking&) = delete;

 private:
  bool busy_;
};

void PrepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool native) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, !native);
  dialog.setWindowTitle(Local(request.title));
  const QString filter = Local(QtFilterFromPairs(request.filter));
  dialog.setNameFilters(filter.isEmpty() ? QStringList() : filter.split(QStringLiteral(";;")));
  // A name typed without an extension comes back as typed; the commands add ".dat" themselves.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave
                                                            : QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  // Every call starts with an empty file name, whatever the previous call chose.
  if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    name->clear();
  }
}

}  // namespace

QWidget* QtPrompts::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) {
    return modal;
  }
  QWidget* main = app_.MainForm();
  return main != nullptr && main->isVisible() ? main : QApplication::activeWindow();
}

Answer QtPrompts::ShowMessage(const MessageRequest& request) {
  const NormalCursorWhileAsking normal;
  const bool question = request.buttons == Buttons::YesNo;
  QMessageBox box(QMessageBox::NoIcon, Local(request.caption), Local(request.text),
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, Owner());
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
  const int pressed = box.exec();
  if (!question) {
    return Answer::Ok;
  }
  return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::string QtPrompts::ShowInput(const InputRequest& request) {
  const NormalCursorWhileAsking normal;
  QInputDialog box(Owner());
  box.setObjectName(QStringLiteral("InputBox"));
  box.setInputMode(QInputDialog::TextInput);
  box.setWindowTitle(Local(request.title));
  box.setLabelText(Local(request.prompt));
  box.setTextValue(QString());
  if (box.exec() != QDialog::Accepted) {
    return {};
  }
  return box.textValue().toLocal8Bit().toStdString();
}

std::string QtPrompts::ShowFileDialog(const FileDialogRequest& request) {
  const NormalCursorWhileAsking normal;
  frmMain* main = app_.MainForm();
  std::unique_ptr<QFileDialog> standIn;  // only when no main window is there to own one
  QFileDialog* dialog = main != nullptr ? main->dlgCommonDialog() : nullptr;
  if (dialog == nullptr) {
    standIn = std::make_unique<QFileDialog>(Owner());
    dialog = standIn.get();
  }
  PrepareFileDialog(*dialog, request, app_.NativeFileDialogs());
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
    return {};
  }
  return QFile::encodeName(dialog->selectedFiles().constFirst()).toStdString();
}

}  // namespace trelvox
