#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <thread>

#include "ModalAnswerer.h"
#include "ShellTestSupport.h"
#include "desktop/AnalyzeForm.h"
#include "shell/DescribedWidgets.h"
#include "shell/frmAnalyze.h"
#include "support/HeldAnalysis.h"

#ifndef TRELVOX_TEST_DATA_DIR
#error "TRELVOX_TEST_DATA_DIR must name the test data folder"
#endif
#ifndef TRELVOX_BATCH
#error "TRELVOX_BATCH must name trelvox-batch"
#endif
#ifndef TRELVOX_SOURCE_DIR
#error "TRELVOX_SOURCE_DIR must name the source tree"
#endif

namespace trelvox::testing {

namespace {

QString Input(const char* name) {
  return QStringLiteral(TRELVOX_TEST_DATA_DIR "/batch/inputs/") + QLatin1String(name);
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList FilesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int row = 0; row < list->count(); ++row) {
    lines << list->item(row)->text();
  }
  return lines;
}

}  // namespace

// The Analyze window driven as a person would: the menu, Add..., the item list's Browse...,
// typed values, Analyze, Cancel, a drop from the file manager.
class ShellAnalyzeTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    StoredSettings().clear();
    opened_.clear();
  }
  void cleanup() { app_.reset(); }

  void theMenuOpensTheWindowAndAnalyzeWritesWhatTrelvoxBatchWrites() {
    Start();
    QTemporaryDir dir;
    ModalAnswerer boxes;
    boxes.Choose(QStringLiteral("\"%1\" \"%2\"").arg(Input("morning.azk"), Input("evening.azk")));
    boxes.Choose(Input("lab-items.csv"));
    Click(AnalyzeControl::cmdAdd);
    QCOMPARE(Lines(List(AnalyzeControl::lstInputs)),
             (QStringList{Input("morning.azk"), Input("evening.azk")}));
    Click(AnalyzeControl::cmdBrowseItems);
    QVERIFY2(boxes.Problems().isEmpty(), qPrintable(boxes.Problems().join('\n')));
    QCOMPARE(boxes.Texts().first(),
             QStringLiteral("DMDX results and composite files (*.azk *.zil *.dat);;All Files (*)"));
    QCOMPARE(Lines(List(AnalyzeControl::lstBy)), QStringList{"condition"});
    List(AnalyzeControl::lstBy)->item(0)->setSelected(true);
    Type(AnalyzeControl::txtTimeout, "2000");
    Type(AnalyzeControl::txtMaxErrorRate, "0.4");
    Type(AnalyzeControl::txtOutputFolder, dir.filePath("window"));
    Click(AnalyzeControl::cmdAnalyze);
    QTRY_VERIFY(!Window().Controller().Running());
    QVERIFY2(Label(AnalyzeControl::lblSummary).endsWith(" anomalies.") ||
                 Label(AnalyzeControl::lblSummary).contains(QStringLiteral("report")),
             qPrintable(Label(AnalyzeControl::lblSummary)));
    QVERIFY(List(AnalyzeControl::lstNotices)->count() > 0);
    QCOMPARE(Bar()->value(), 1000);

    QProcess batch;
    batch.start(QStringLiteral(TRELVOX_BATCH),
                {"analyze", Input("morning.azk"), Input("evening.azk"), "--out",
                 dir.filePath("batch"), "--timeout", "2000", "--items", Input("lab-items.csv"),
                 "--by", "condition", "--max-error-rate", "0.4"});
    QVERIFY(batch.waitForFinished(60000));
    QCOMPARE(batch.exitCode(), 0);
    QCOMPARE(FilesIn(dir.filePath("window")), FilesIn(dir.filePath("batch")));
    for (const QString& name : FilesIn(dir.filePath("batch"))) {
      if (name.endsWith(QStringLiteral(".tsv"))) {
        QCOMPARE(ReadBytes(dir.filePath("window/" + name)),
                 ReadBytes(dir.filePath("batch/" + name)));
      }
    }
    const QString report = dir.filePath(QStringLiteral("window/report.html"));
    QCOMPARE(opened_, QFile::exists(report) ? QStringList{report} : QStringList{});

    // The values but the inputs come back in the next window.
    Window().close();
    QTRY_VERIFY(app_->Analyze() == nullptr);
    main_->findChild<QAction*>(QStringLiteral("mnuToolsAnalyze"))->trigger();
    QCOMPARE(List(AnalyzeControl::lstInputs)->count(), 0);
    QCOMPARE(Edit(AnalyzeControl::txtTimeout)->text(), QStringLiteral("2000"));
    QCOMPARE(List(AnalyzeControl::lstBy)->selectedItems().size(), 1);
  }

  void aProblemIsToldBesideItsFieldAndNothingIsWritten() {
    Start();
    QTemporaryDir dir;
    Window().Controller().AddInputs({Input("lab.azk").toStdString()});
    Type(AnalyzeControl::txtTimeout, "soon");
    Type(AnalyzeControl::txtOutputFolder, dir.filePath("out"));
    Click(AnalyzeControl::cmdAnalyze);
    QVERIFY(!Window().Controller().Running());
    QVERIFY2(Label(AnalyzeControl::lblTimeoutError).contains(QStringLiteral("\"soon\"")),
             qPrintable(Label(AnalyzeControl::lblTimeoutError)));
    QCOMPARE(Label(AnalyzeControl::lblOutputFolderError), QString());
    QVERIFY(!QFile::exists(dir.filePath("out")));
  }

  void cancelStopsTheLongRunAndReplacesNothing() {
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.azk"));
    QProcess awk;
    awk.setStandardOutputFile(big);
    awk.start(QStringLiteral("awk"),
              {"-v", "subjects=2000", "-v", "trials=500", "-v", "timeout=2000", "-f",
               QStringLiteral(TRELVOX_SOURCE_DIR "/bench/generate_azk.awk")});
    QVERIFY(awk.waitForFinished(120000));
    QVERIFY(QFileInfo(big).size() > 19'000'000);
    ShellOptions options;
    options.analyze = HeldAtFirstProgress;
    Start(std::move(options));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out")));
    QFile kept(dir.filePath(QStringLiteral("out/trials.tsv")));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("an earlier run\n");
    kept.close();
    Window().Controller().AddInputs({big.toStdString()});
    Type(AnalyzeControl::txtTimeout, "2000");
    Type(AnalyzeControl::txtOutputFolder, dir.filePath("out"));
    Click(AnalyzeControl::cmdAnalyze);
    QVERIFY(!Control<QWidget>(Window(), AnalyzeControl::cmdAnalyze)->isEnabled());
    QTRY_VERIFY(
        Label(AnalyzeControl::lblCurrentFile).startsWith(QStringLiteral("Reading big.azk")));
    QTRY_VERIFY(Bar()->value() > 0);
    QVERIFY(Bar()->value() < 1000);
    Click(AnalyzeControl::cmdCancel);
    QTRY_COMPARE(Label(AnalyzeControl::lblSummary),
                 QStringLiteral("Cancelled: no file was written or replaced."));
    QVERIFY(Control<QWidget>(Window(), AnalyzeControl::cmdAnalyze)->isEnabled());
    QCOMPARE(FilesIn(dir.filePath("out")), QStringList{"trials.tsv"});
    QCOMPARE(ReadBytes(dir.filePath("out/trials.tsv")), QByteArray("an earlier run\n"));
  }

  void filesDroppedOnTheListAreAddedAndRemoveTakesThemOff() {
    Start();
    auto* list = List(AnalyzeControl::lstInputs);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Input("morning.azk")), QUrl::fromLocalFile(Input("s123.azk")),
                  QUrl(QStringLiteral("https://example.org/x.azk"))});
    const QPoint middle = list->viewport()->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(Lines(list), (QStringList{Input("morning.azk"), Input("s123.azk")}));
    list->item(0)->setSelected(true);
    Click(AnalyzeControl::cmdRemove);
    QCOMPARE(Lines(list), QStringList{Input("s123.azk")});
  }

  void filesNamedOnTheCommandLineWaitInTheWindowAfterBegin() {
    ShellOptions options;
    options.filesToAnalyse = {Input("lab.azk").toStdString(), Input("morning.azk").toStdString()};
    app_ = StartProgram(std::move(options));
    QVERIFY(app_->Analyze() == nullptr);  // the splash comes first
    main_ = PressBegin(*app_);
    QVERIFY(main_ != nullptr && main_->isVisible());
    QVERIFY(app_->Analyze() != nullptr && app_->Analyze()->isVisible());
    QCOMPARE(Lines(List(AnalyzeControl::lstInputs)),
             (QStringList{Input("lab.azk"), Input("morning.azk")}));
  }

 private:
  void Start(ShellOptions options = {}) {
    options.openDocument = [this](const std::string& path) {
      opened_ << QString::fromStdString(path);
      return true;
    };
    app_ = StartProgram(std::move(options));
    main_ = PressBegin(*app_);
    main_->findChild<QAction*>(QStringLiteral("mnuToolsAnalyze"))->trigger();
    QVERIFY(app_->Analyze() != nullptr);
  }
  frmAnalyze& Window() { return *app_->Analyze(); }
  void Click(AnalyzeControl id) {
    QTest::mouseClick(Control<QPushButton>(Window(), id), Qt::LeftButton);
  }
  QLineEdit* Edit(AnalyzeControl id) { return Control<QLineEdit>(Window(), id); }
  void Type(AnalyzeControl id, const QString& text) {
    Edit(id)->clear();
    QTest::keyClicks(Edit(id), text);
  }
  QListWidget* List(AnalyzeControl id) { return Control<QListWidget>(Window(), id); }
  QString Label(AnalyzeControl id) { return Control<QLabel>(Window(), id)->text(); }
  QProgressBar* Bar() { return Control<QProgressBar>(Window(), AnalyzeControl::prgProgress); }

  TestSettingsFolder settingsFolder_;
  QStringList opened_;
  std::unique_ptr<Application> app_;
  frmMain* main_ = nullptr;
};

}  // namespace trelvox::testing

QTEST_MAIN(trelvox::testing::ShellAnalyzeTest)
#include "ShellAnalyzeTest.moc"
