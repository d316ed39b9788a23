#include "shell/QtPrompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>
#include <QWindow>
#include <algorithm>
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

// A question answers Yes or No and nothing else: Escape and the window's close button would
// otherwise answer No and let the command go on as if the user had chosen it.
class YesNoBox final : public QMessageBox {
 public:
  explicit YesNoBox(QWidget* owner) : QMessageBox(owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Cancel)) {
      event->accept();
      return;
    }
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// A box without a caption gets a blank one: the platform would show the application's name in
// place of an empty title, clipped to "Tr...ox" on a narrow box. The widget's own title stays
// empty.
void BlankCaptionWhenEmpty(QWidget& box) {
  if (!box.windowTitle().isEmpty()) {
    return;
  }
  box.winId();  // the native window, whose title the window manager draws
  box.windowHandle()->setTitle(QStringLiteral(" "));
}

// Window managers draw the caption with a larger font and next to the frame's buttons; a box as
// narrow as its text would show "Tr...ox". The spacer keeps the box wide enough for both.
void WidenForCaption(QMessageBox& box) {
  if (box.windowTitle().isEmpty()) {
    return;
  }
  constexpr double kCaptionFontScale = 1.25;
  constexpr int kFrameButtonsWidth = 120;
  QFont captionFont = box.font();
  captionFont.setBold(true);
  const int captionWidth = static_cast<int>(
      QFontMetrics(captionFont).horizontalAdvance(box.windowTitle()) * kCaptionFontScale);
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(captionWidth + kFrameButtonsWidth, 0, QSizePolicy::Minimum,
                                  QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

// The file dialog opens over the main window, big enough to read, and kept on the screen. A
// dialog larger than the main window starts at the window's corner, as the platform's own
// dialogs do; centred, it would be pushed against the screen's edge.
void PlaceOver(QFileDialog& dialog, const QWidget* window) {
  constexpr QSize kReadable(760, 480);
  constexpr QPoint kCornerOffset(24, 24);
  const QScreen* screen = window != nullptr ? window->screen() : dialog.screen();
  const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
  QSize size = dialog.size().expandedTo(kReadable);
  if (available.isValid()) {
    size = size.boundedTo(available.size() * 9 / 10);
  }
  dialog.resize(size);
  const QRect frame =
      window != nullptr && window->isVisible() ? window->frameGeometry() : available;
  QRect placed(QPoint(), size);
  if (frame.width() >= size.width() && frame.height() >= size.height()) {
    placed.moveCenter(frame.center());
  } else {
    placed.moveTopLeft(frame.topLeft() + kCornerOffset);
  }
  if (available.isValid()) {
    placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() - size.width()));
    placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() - size.height()));
  }
  dialog.move(placed.topLeft());
}

// The list's name column gets about half the width, the others what their texts need.
void WidenColumns(QFileDialog& dialog) {
  auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (list == nullptr) {
    return;
  }
  QHeaderView* header = list->header();
  header->setStretchLastSection(true);
  for (int column = 1; column < header->count(); ++column) {
    list->resizeColumnToContents(column);
  }
  header->resizeSection(0, std::max(list->viewport()->width(), dialog.width() * 2 / 3) / 2);
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
  std::unique_ptr<QMessageBox> made =
      question ? std::make_unique<YesNoBox>(Owner()) : std::make_unique<QMessageBox>(Owner());
  QMessageBox& box = *made;
  box.setWindowTitle(Local(request.caption));
  box.setText(Local(request.text));
  box.setStandardButtons(question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
  WidenForCaption(box);
  BlankCaptionWhenEmpty(box);
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
  PlaceOver(*dialog, main);
  WidenColumns(*dialog);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
    return {};
  }
  return QFile::encodeName(dialog->selectedFiles().constFirst()).toStdString();
}

}  // namespace trelvox
