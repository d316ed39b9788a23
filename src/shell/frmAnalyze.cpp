#include "shell/frmAnalyze.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

#include "shell/Application.h"
#include "shell/DescribedWidgets.h"
#include "shell/FileFilter.h"

namespace trelvox {

namespace {

// Paths and the texts that name them are bytes in the file system's encoding.
QString FromBytes(const std::string& bytes) {
  return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string ToBytes(const QString& text) {
  return QFile::encodeName(text).toStdString();
}

QStringList NameFilters(const char* pairs) {
  return QString::fromStdString(QtFilterFromPairs(pairs)).split(QStringLiteral(";;"));
}

// The list's lines keep the bytes they stand for; the text shown is only their rendering.
void FillList(QListWidget& list, const std::vector<std::string>& lines) {
  list.clear();
  for (const std::string& line : lines) {
    auto* item = new QListWidgetItem(FromBytes(line), &list);
    item->setData(Qt::UserRole, QByteArray::fromStdString(line));
  }
}

std::string BytesOf(const QListWidgetItem& item) {
  return item.data(Qt::UserRole).toByteArray().toStdString();
}

// The local files among dropped URLs.
std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr) {
    return files;
  }
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) {
      files.push_back(ToBytes(url.toLocalFile()));
    }
  }
  return files;
}

}  // namespace

frmAnalyze::frmAnalyze(Application& app)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      app_(app) {
  const WindowDescription& described = AnalyzeWindow();
  setObjectName(QString::fromLatin1(described.name));
  setWindowTitle(QString::fromLatin1(described.caption));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(ClientSize(described));
  BuildControls(*this, described);
  BindControls();
  controller_ = std::make_unique<AnalyzeController>(app.Desktop(), *this, *this);
}

// The controller goes first: it waits for a run still going, whose posts then find no window.
frmAnalyze::~frmAnalyze() {
  controller_.reset();
}

void frmAnalyze::BindControls() {
  lstInputs_ = Control<QListWidget>(*this, AnalyzeControl::lstInputs);
  lstBy_ = Control<QListWidget>(*this, AnalyzeControl::lstBy);
  lstInputs_->setAcceptDrops(true);
  lstInputs_->viewport()->setAcceptDrops(true);
  lstInputs_->viewport()->installEventFilter(this);
  for (const ControlDescription& control : AnalyzeWindow().controls) {
    if (control.tellsProblem) {
      auto* label = findChild<QLabel*>(QString::fromLatin1(control.name));
      QPalette palette = label->palette();
      palette.setColor(QPalette::WindowText, Qt::darkRed);
      label->setPalette(palette);
    }
  }
  const auto onClick = [this](AnalyzeControl id, auto handler) {
    connect(Control<QPushButton>(*this, id), &QPushButton::clicked, this, handler);
  };
  onClick(AnalyzeControl::cmdAdd, [this] { cmdAdd_Click(); });
  onClick(AnalyzeControl::cmdRemove, [this] { cmdRemove_Click(); });
  onClick(AnalyzeControl::cmdBrowseItems, [this] { cmdBrowseItems_Click(); });
  onClick(AnalyzeControl::cmdBrowseOutput, [this] { cmdBrowseOutput_Click(); });
  onClick(AnalyzeControl::cmdAnalyze, [this] { controller_->Analyze(); });
  onClick(AnalyzeControl::cmdCancel, [this] { controller_->Cancel(); });
  onClick(AnalyzeControl::cmdOpenFolder, [this] { controller_->OpenFolder(); });
  onClick(AnalyzeControl::cmdClose, [this] { close(); });
  connect(Control<QLineEdit>(*this, AnalyzeControl::txtItemList), &QLineEdit::editingFinished, this,
          [this] {
            if (Control<QLineEdit>(*this, AnalyzeControl::txtItemList)->isModified()) {
              Control<QLineEdit>(*this, AnalyzeControl::txtItemList)->setModified(false);
              controller_->ItemListChanged();
            }
          });
}

AnalyzeFormValues frmAnalyze::Values() const {
  const auto text = [this](AnalyzeControl id) {
    return Control<QLineEdit>(*this, id)->text().toStdString();
  };
  const auto checked = [this](AnalyzeControl id) {
    return Control<QCheckBox>(*this, id)->isChecked();
  };
  AnalyzeFormValues values;
  for (int row = 0; row < lstInputs_->count(); ++row) {
    values.inputs.push_back(BytesOf(*lstInputs_->item(row)));
  }
  values.timeout = text(AnalyzeControl::txtTimeout);
  values.responses = text(AnalyzeControl::txtResponses);
  values.minRt = text(AnalyzeControl::txtMinRt);
  values.maxRt = text(AnalyzeControl::txtMaxRt);
  values.sd = text(AnalyzeControl::txtSd);
  values.maxErrorRate = text(AnalyzeControl::txtMaxErrorRate);
  values.cot = checked(AnalyzeControl::chkCOT);
  values.zor = checked(AnalyzeControl::chkZOR);
  values.itemList = ToBytes(Control<QLineEdit>(*this, AnalyzeControl::txtItemList)->text());
  for (int row = 0; row < lstBy_->count(); ++row) {
    if (lstBy_->item(row)->isSelected()) {
      values.by.push_back(BytesOf(*lstBy_->item(row)));
    }
  }
  values.outputFolder = ToBytes(Control<QLineEdit>(*this, AnalyzeControl::txtOutputFolder)->text());
  values.openReport = checked(AnalyzeControl::chkOpenReport);
  return values;
}

void frmAnalyze::ShowValues(const AnalyzeFormValues& values) {
  const auto setText = [this](AnalyzeControl id, const QString& text) {
    Control<QLineEdit>(*this, id)->setText(text);
  };
  const auto setChecked = [this](AnalyzeControl id, bool checked) {
    Control<QCheckBox>(*this, id)->setChecked(checked);
  };
  ShowInputs(values.inputs);
  setText(AnalyzeControl::txtTimeout, QString::fromStdString(values.timeout));
  setText(AnalyzeControl::txtResponses, QString::fromStdString(values.responses));
  setText(AnalyzeControl::txtMinRt, QString::fromStdString(values.minRt));
  setText(AnalyzeControl::txtMaxRt, QString::fromStdString(values.maxRt));
  setText(AnalyzeControl::txtSd, QString::fromStdString(values.sd));
  setText(AnalyzeControl::txtMaxErrorRate, QString::fromStdString(values.maxErrorRate));
  setChecked(AnalyzeControl::chkCOT, values.cot);
  setChecked(AnalyzeControl::chkZOR, values.zor);
  setText(AnalyzeControl::txtItemList, FromBytes(values.itemList));
  for (int row = 0; row < lstBy_->count(); ++row) {
    const std::string column = BytesOf(*lstBy_->item(row));
    lstBy_->item(row)->setSelected(std::find(values.by.begin(), values.by.end(), column) !=
                                   values.by.end());
  }
  setText(AnalyzeControl::txtOutputFolder, FromBytes(values.outputFolder));
  setChecked(AnalyzeControl::chkOpenReport, values.openReport);
}

void frmAnalyze::ShowInputs(const std::vector<std::string>& inputs) {
  FillList(*lstInputs_, inputs);
}

void frmAnalyze::ShowByColumns(const std::vector<std::string>& columns,
                               const std::vector<std::string>& chosen) {
  FillList(*lstBy_, columns);
  for (int row = 0; row < lstBy_->count(); ++row) {
    const std::string column = BytesOf(*lstBy_->item(row));
    lstBy_->item(row)->setSelected(std::find(chosen.begin(), chosen.end(), column) != chosen.end());
  }
}

void frmAnalyze::ShowProblem(analysis::AnalysisField field, const std::string& message) {
  auto* label = Control<QLabel>(*this, ProblemLabelOf(field));
  label->setText(FromBytes(message));
  label->setToolTip(label->text());  // the whole message where the label is too short for it
}

void frmAnalyze::ShowRunning(bool running) {
  for (const ControlDescription& control : AnalyzeWindow().controls) {
    auto* widget = findChild<QWidget*>(QString::fromLatin1(control.name));
    widget->setEnabled(ControlEnabled(static_cast<AnalyzeControl>(control.id), running));
  }
}

void frmAnalyze::ShowProgress(int permille, const std::string& text) {
  Control<QProgressBar>(*this, AnalyzeControl::prgProgress)->setValue(permille);
  Control<QLabel>(*this, AnalyzeControl::lblCurrentFile)->setText(FromBytes(text));
}

void frmAnalyze::ShowOutcome(const std::string& summary, const std::vector<std::string>& notices) {
  auto* lblSummary = Control<QLabel>(*this, AnalyzeControl::lblSummary);
  lblSummary->setText(FromBytes(summary));
  lblSummary->setToolTip(lblSummary->text());
  FillList(*Control<QListWidget>(*this, AnalyzeControl::lstNotices), notices);
}

void frmAnalyze::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(
      this, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

void frmAnalyze::closeEvent(QCloseEvent* event) {
  controller_->Close();
  event->accept();
}

void frmAnalyze::reject() {
  close();
}

bool frmAnalyze::eventFilter(QObject* watched, QEvent* event) {
  if (watched != lstInputs_->viewport()) {
    return QDialog::eventFilter(watched, event);
  }
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (!DroppedFiles(drag->mimeData()).empty() && lstInputs_->isEnabled()) {
        drag->acceptProposedAction();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::vector<std::string> files = DroppedFiles(drop->mimeData());
      if (!files.empty() && lstInputs_->isEnabled()) {
        controller_->AddInputs(files);
        drop->acceptProposedAction();
      }
      return true;
    }
    default:
      return QDialog::eventFilter(watched, event);
  }
}

void frmAnalyze::cmdAdd_Click() {
  QFileDialog dialog(this, QStringLiteral("Add result files"));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(NameFilters(kAnalyzeInputFilter));
  dialog.setOption(QFileDialog::DontUseNativeDialog, !app_.NativeFileDialogs());
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  std::vector<std::string> files;
  for (const QString& file : dialog.selectedFiles()) {
    files.push_back(ToBytes(file));
  }
  controller_->AddInputs(files);
}

void frmAnalyze::cmdRemove_Click() {
  std::vector<std::size_t> rows;
  for (const QModelIndex& index : lstInputs_->selectionModel()->selectedRows()) {
    rows.push_back(static_cast<std::size_t>(index.row()));
  }
  controller_->RemoveInputs(rows);
}

void frmAnalyze::cmdBrowseItems_Click() {
  auto* txtItemList = Control<QLineEdit>(*this, AnalyzeControl::txtItemList);
  QFileDialog dialog(this, QStringLiteral("Choose the item list"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(NameFilters(kItemListFilter));
  dialog.setOption(QFileDialog::DontUseNativeDialog, !app_.NativeFileDialogs());
  if (!txtItemList->text().isEmpty()) {
    dialog.selectFile(txtItemList->text());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return;
  }
  txtItemList->setText(dialog.selectedFiles().constFirst());
  controller_->ItemListChanged();
}

void frmAnalyze::cmdBrowseOutput_Click() {
  auto* txtOutputFolder = Control<QLineEdit>(*this, AnalyzeControl::txtOutputFolder);
  const QString chosen = ChooseFolder(txtOutputFolder->text());
  if (!chosen.isEmpty()) {
    txtOutputFolder->setText(chosen);
  }
}

QString frmAnalyze::ChooseFolder(const QString& start) {
  QFileDialog dialog(this, QStringLiteral("Choose the output folder"), start);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setOption(QFileDialog::DontUseNativeDialog, !app_.NativeFileDialogs());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  return dialog.selectedFiles().constFirst();
}

}  // namespace trelvox
