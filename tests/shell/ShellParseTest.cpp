#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "ModalAnswerer.h"
#include "ShellTestSupport.h"
#include "shell/frmSaveOptions.h"

namespace trelvox::testing {

namespace {

// Two subjects; the line after each header is never a trial, "!" lines are skipped.
constexpr const char* kTwoSubjects =
    "DMDX results of the lexical decision run\r\n"
    "Subject 1, 03/14/2005 09:30:00 on LAB-PC, refresh 16.67ms, ID 42\r\n"
    " Item       RT\r\n"
    " 1  512.30\r\n"
    " 2  -2000.00\r\n"
    "!comment line\r\n"
    " 3  -1500\r\n"
    "\r\n"
    "Subject 2, 03/15/2005 10:05:00 on LAB-PC, refresh 16.67ms, ID 43\r\n"
    " Item       RT\r\n"
    " 7  430.5\r\n"
    "\r\n";

constexpr const char* kRows =
    "42\t3/14/2005\t1\t1\t512.30\t0\r\n"
    "42\t3/14/2005\t2\t2\t-2000.00\t2\r\n"
    "42\t3/14/2005\t3\t3\t-1500\t1\r\n"
    "43\t3/15/2005\t1\t7\t430.5\t0\r\n";

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList Kinds(const ModalAnswerer& boxes) {
  QStringList kinds;
  for (const SeenModal& seen : boxes.Seen()) {
    kinds << seen.kind;
  }
  return kinds;
}

}  // namespace

// Whole commands through the menu, with the real boxes and the real (non-native) file dialog.
class ShellParseTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qputenv("LC_ALL", "C"); }  // U.S. short dates in the rows
  void init() {
    StoredSettings().clear();
    app_ = StartProgram();
    main_ = PressBegin(*app_);
    QVERIFY(dir_.isValid());
    input_ = dir_.filePath(QStringLiteral("lexical.azk"));
    WriteBytes(input_, kTwoSubjects);
  }
  void cleanup() { app_.reset(); }

  void parseAllOfAnAzkFileEndsInParsingComplete() {
    ModalAnswerer boxes;
    boxes.Choose(input_).Type(QStringLiteral("2000")).Choose(dir_.filePath("results")).Yes();
    boxes.Ok().Ok().Ok().Ok().Ok();
    main_->findChild<QAction*>(QStringLiteral("mnuFileParseAll"))->trigger();

    QVERIFY2(boxes.Problems().isEmpty(), qPrintable(boxes.Problems().join('\n')));
    QCOMPARE(boxes.Unused(), 0);
    QCOMPARE(Kinds(boxes), (QStringList{"open", "input", "open", "question", "message", "message",
                                        "message", "message", "message"}));
    QCOMPARE(boxes.Titles(),
             (QStringList{"Open AZK or ZIL file", "Trelvox", "Designate Composite file", "Trelvox",
                          "", "", "", "", "Trelvox"}));
    QCOMPARE(boxes.Texts(),
             (QStringList{"DMDX Files (*)", "Enter TimeOut Value:", "Composite Files (*.dat)",
                          "Is this a new file?", "ID: 42 detected.",
                          "3 trials parsed for ID: 42\r\n1 errors detected.\r\n"
                          "1 no responses detected.",
                          "ID: 43 detected.",
                          "1 trials parsed for ID: 43\r\n0 errors detected.\r\n"
                          "0 no responses detected.",
                          "Parsing Complete!"}));
    QCOMPARE(ReadBytes(dir_.filePath("results.dat")),
             QByteArray("SubID\tDate\tTrialNum\tTrialID\tRT\tError\r\n") + kRows);
    QVERIFY(!app_->Desktop().Files().IsOpen(app_->Desktop().State().files.InFileNum));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
  }

  // The switch set in the options dialog reaches the command; the save dialog asks before it
  // replaces a subject file.
  void individualFilesAreChosenInTheSaveDialog() {
    main_->findChild<QAction*>(QStringLiteral("mnuFileSaveOptions"))->trigger();
    frmSaveOptions* options = app_->SaveOptions();
    QTest::mouseClick(options->CheckBox(SaveOptionsControl::ChkIndFiles), Qt::LeftButton);
    QTest::mouseClick(options->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(app_->Desktop().State().options.SaveIndFiles);
    const QString old = dir_.filePath(QStringLiteral("s42.dat"));
    WriteBytes(old, "an older run\r\n");
    WriteBytes(dir_.filePath("results.dat"), "earlier rows\r\n");

    ModalAnswerer boxes;
    boxes.Choose(input_).Type(QStringLiteral("2000")).Choose(dir_.filePath("results.dat")).No();
    boxes.Ok().Choose(old).Yes().Ok();                             // subject 42, replaced
    boxes.Ok().Choose(dir_.filePath(QStringLiteral("s43"))).Ok();  // subject 43, new
    boxes.Ok();
    main_->findChild<QAction*>(QStringLiteral("mnuFileParseAll"))->trigger();

    QVERIFY2(boxes.Problems().isEmpty(), qPrintable(boxes.Problems().join('\n')));
    QCOMPARE(boxes.Unused(), 0);
    QCOMPARE(Kinds(boxes),
             (QStringList{"open", "input", "open", "question", "message", "save", "question",
                          "message", "message", "save", "message", "message"}));
    QCOMPARE(boxes.Seen().at(5).title, QStringLiteral("Save Data file for SUBID: 42"));
    QCOMPARE(boxes.Seen().at(5).text, QStringLiteral("Subject Files (*.dat)"));
    QVERIFY2(boxes.Seen().at(6).text.contains(QStringLiteral("s42.dat")),
             qPrintable(boxes.Seen().at(6).text));
    QCOMPARE(boxes.Seen().at(9).title, QStringLiteral("Save Data file for SUBID: 43"));
    QCOMPARE(ReadBytes(dir_.filePath("results.dat")), QByteArray("earlier rows\r\n") + kRows);
    QCOMPARE(ReadBytes(old), QByteArray("03/14/2005 09:30:00 on LAB-PC, refresh 16.67ms, ID 42\r\n"
                                        " Item       RT\r\n 1  512.30\r\n 2  -2000.00\r\n"
                                        "!comment line\r\n 3  -1500\r\n"));
    QCOMPARE(ReadBytes(dir_.filePath("s43.dat")),
             QByteArray("03/15/2005 10:05:00 on LAB-PC, refresh 16.67ms, ID 43\r\n"
                        " Item       RT\r\n 7  430.5\r\n"));
  }

  void cancellingTheInputDialogEndsQuietly() {
    ModalAnswerer boxes;
    boxes.Cancel();
    main_->findChild<QAction*>(QStringLiteral("mnuFileParseAll"))->trigger();
    QCOMPARE(Kinds(boxes), QStringList{"open"});
    QVERIFY(app_->Desktop().State().files.InFileName.empty());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(main_->isVisible());
  }

  // "DMDX Files (*.*)" lists every file, as on Windows: also one whose name has no dot.
  void theInputDialogListsFilesWithoutADot() {
    WriteBytes(dir_.filePath(QStringLiteral("lexical")), kTwoSubjects);
    main_->dlgCommonDialog()->setDirectory(dir_.path());
    QStringList listed;
    ModalAnswerer boxes;
    boxes.Then([&listed](QWidget* dialog) {
      const auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
      const QAbstractItemModel* files = view->model();
      const QModelIndex root = view->rootIndex();
      // The folder is read in a thread of its own.
      if (!QTest::qWaitFor([files, root] { return files->rowCount(root) >= 2; })) {
        qWarning("the folder was not read in time");
      }
      for (int row = 0; row < files->rowCount(root); ++row) {
        listed << files->index(row, 0, root).data().toString();
      }
      QMetaObject::invokeMethod(dialog, "reject");
    });
    main_->findChild<QAction*>(QStringLiteral("mnuFileParseAll"))->trigger();
    QVERIFY2(listed.contains(QStringLiteral("lexical")) &&
                 listed.contains(QStringLiteral("lexical.azk")),
             qPrintable(listed.join(QLatin1Char(' '))));
  }

  // Every file dialog starts with an empty name, whatever the previous one chose; it opens over
  // the main window (here a small one at its first-start place), with a readable name column.
  void theSharedFileDialogStartsEmptyEachTime() {
    ModalAnswerer boxes;
    QString shownName = QStringLiteral("<not seen>");
    QRect placed;
    int nameColumn = 0;
    boxes.Choose(input_).Type(QStringLiteral("2000"));
    boxes.Then([&](QWidget* dialog) {
      shownName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
      placed = dialog->frameGeometry();
      nameColumn = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))->columnWidth(0);
      QMetaObject::invokeMethod(dialog, "reject");
    });
    main_->findChild<QAction*>(QStringLiteral("mnuFileParseAll"))->trigger();
    QCOMPARE(Kinds(boxes), (QStringList{"open", "input", "open"}));
    QCOMPARE(shownName, QString());
    const QRect window = main_->frameGeometry();
    QVERIFY2(window.contains(placed.topLeft()) && placed.left() > window.left(),
             qPrintable(QStringLiteral("%1,%2").arg(placed.left()).arg(placed.top())));
    QVERIFY2(placed.width() >= 600, qPrintable(QString::number(placed.width())));
    QVERIFY2(nameColumn >= 240, qPrintable(QString::number(nameColumn)));
  }

 private:
  TestSettingsFolder settingsFolder_;
  QTemporaryDir dir_;
  QString input_;
  std::unique_ptr<Application> app_;
  frmMain* main_ = nullptr;
};

}  // namespace trelvox::testing

QTEST_MAIN(trelvox::testing::ShellParseTest)
#include "ShellParseTest.moc"
