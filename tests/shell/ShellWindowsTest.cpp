#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <algorithm>

#include "ModalAnswerer.h"
#include "ShellTestSupport.h"
#include "desktop/Version.h"
#include "shell/DescribedWidgets.h"
#include "shell/frmAbout.h"
#include "shell/frmSaveOptions.h"

namespace trelvox::testing {

namespace {

QString Text(QWidget* window, const char* name) {
  auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
  return label != nullptr ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

QAction* Item(QWidget* window, const char* name) {
  return window->findChild<QAction*>(QString::fromLatin1(name));
}

int CursorShape() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor != nullptr ? cursor->shape() : -1;
}

QList<QWidget*> VisibleWindows() {
  QList<QWidget*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) {
      windows << widget;
    }
  }
  return windows;
}

void StorePlacement(const QStringList& values) {
  QSettings settings = StoredSettings();
  const QStringList keys = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
  for (int i = 0; i < keys.size(); ++i) {
    if (!values.value(i).isNull()) {
      settings.setValue(QStringLiteral("Settings/") + keys[i], values[i]);
    }
  }
}

QStringList StoredPlacement() {
  const QSettings settings = StoredSettings();
  QStringList values;
  for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
    values << settings.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
  }
  return values;
}

// The names of the controls Tab stops at, in the order of the window's description.
QStringList TabStops(const WindowDescription& described) {
  QStringList stops;
  for (const ControlDescription& control : described.controls) {
    if (control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox) {
      stops << QString::fromLatin1(control.name);
    }
  }
  return stops;
}

// The focused control's name after each of `count` presses of the key, from the first focus.
QStringList FocusAfterEach(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers,
                           int count) {
  QStringList focus;
  for (int i = 0; i < count; ++i) {
    QTest::keyClick(window->focusWidget(), key, modifiers);
    focus << window->focusWidget()->objectName();
  }
  return focus;
}

QStringList TwipsOf(const QRect& outer) {
  return {QString::number(outer.x() * 15), QString::number(outer.y() * 15),
          QString::number(outer.width() * 15), QString::number(outer.height() * 15)};
}

}  // namespace

class ShellWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { StoredSettings().clear(); }
  void cleanup() { app_.reset(); }

  // ---- start-up -------------------------------------------------------------------------

  void mainShowsTheSplashAndTurnsEveryOptionOff() {
    app_ = std::make_unique<Application>(ShellOptions{});
    RunState& state = app_->Desktop().State();
    state.options.SaveCounters = state.options.SaveIndFiles = state.options.ZORFormat =
        state.options.COTIncluded = true;
    app_->Main();
    frmSplash* splash = app_->Splash();
    QVERIFY(splash != nullptr);
    QVERIFY(splash->isVisible());
    QCOMPARE(VisibleWindows(), QList<QWidget*>{splash});
    QVERIFY(splash->parentWidget() == nullptr);
    QCOMPARE(splash->size(), QSize(434, 236));
    QVERIFY(!splash->windowFlags().testFlag(Qt::WindowTitleHint));
    QCOMPARE(Text(splash, "Label1"), QStringLiteral("Trelvox"));
    QCOMPARE(Text(splash, "lblPlatform"), QStringLiteral("Windows 98"));
    QCOMPARE(Text(splash, "lblVersion"), QStringLiteral("Version ") + kProjectVersion);
    auto* logo = splash->findChild<QLabel*>(QStringLiteral("picLogo"));
    QCOMPARE(logo->pixmap().size(), QSize(150, 178));
    auto* begin = splash->findChild<QPushButton*>(QStringLiteral("cmdBegin"));
    QCOMPARE(begin->text(), QStringLiteral("Begin"));
    QCOMPARE(splash->focusWidget(), begin);
    QVERIFY(!begin->isDefault());
    QVERIFY(!state.options.SaveCounters && !state.options.SaveIndFiles &&
            !state.options.ZORFormat && !state.options.COTIncluded);
    QVERIFY(app_->MainForm() == nullptr);
  }

  void beginOpensTheMainWindowAtItsPlacement_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("nothing stored") << QStringList() << QRect(67, 67, 433, 433);
    QTest::newRow("stored twips") << QStringList{"1500", "3000", "7500", "4500"}
                                  << QRect(100, 200, 500, 300);
    QTest::newRow("not numbers fall back key by key")
        << QStringList{"left", "3000", "", "4500"} << QRect(67, 200, 433, 300);
    QTest::newRow("negative applied as they are")
        << QStringList{"-1500", "-750", "7500", "4500"} << QRect(-100, -50, 500, 300);
    QTest::newRow("one key missing")
        << QStringList{"1500", QString(), "7500", "4500"} << QRect(100, 67, 500, 300);
  }

  void beginOpensTheMainWindowAtItsPlacement() {
    QFETCH(QStringList, stored);
    QFETCH(QRect, expected);
    StorePlacement(stored);
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    QVERIFY(main != nullptr);
    QVERIFY(main->isVisible());
    QTRY_VERIFY(app_->Splash() == nullptr);  // unloaded, not only hidden
    QCOMPARE(VisibleWindows(), QList<QWidget*>{main});
    QCOMPARE(main->windowTitle(), QStringLiteral("Trelvox"));
    const QRect outer = main->frameGeometry();
    QCOMPARE(outer.size(), expected.size());
    // The offscreen platform nudges a window whose client area would start off the screen by
    // the frame's width; every other position is applied exactly.
    const QMargins frame(main->geometry().left() - outer.left(),
                         main->geometry().top() - outer.top(), 0, 0);
    const bool offScreen = expected.left() < 0 || expected.top() < 0;
    if (offScreen && QGuiApplication::platformName() == QLatin1String("offscreen")) {
      QVERIFY2(outer.left() >= expected.left() && outer.left() <= expected.left() + frame.left(),
               qPrintable(QString::number(outer.left())));
      QVERIFY2(outer.top() >= expected.top() && outer.top() <= expected.top() + frame.top(),
               qPrintable(QString::number(outer.top())));
    } else {
      QCOMPARE(outer.topLeft(), expected.topLeft());
    }
  }

  void closingTheSplashOtherwiseLeavesNoWindow() {
    app_ = StartProgram();
    app_->Splash()->close();
    QTRY_VERIFY(app_->Splash() == nullptr);
    QVERIFY(app_->MainForm() == nullptr);
    QVERIFY(VisibleWindows().isEmpty());
  }

  // ---- main window ----------------------------------------------------------------------

  void menusHaveTheirCaptionsAndShortcuts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("parse one") << "mnuFileParseOne"
                               << "Parse &One Subject" << QKeySequence(QStringLiteral("Ctrl+O"));
    QTest::newRow("parse all") << "mnuFileParseAll"
                               << "Parse &All" << QKeySequence(QStringLiteral("Ctrl+A"));
    QTest::newRow("options") << "mnuFileSaveOptions"
                             << "Change Save Options" << QKeySequence();
    QTest::newRow("exit") << "mnuFileExit"
                          << "E&xit" << QKeySequence(QStringLiteral("Ctrl+X"));
    QTest::newRow("about") << "mnuHelpAbout"
                           << "About Trelvox" << QKeySequence();
    QTest::newRow("analyze") << "mnuToolsAnalyze"
                             << "&Analyze..." << QKeySequence(QStringLiteral("Ctrl+Y"));
  }

  void menusHaveTheirCaptionsAndShortcuts() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    QAction* item = main->findChild<QAction*>(name);
    QVERIFY2(item != nullptr, qPrintable(name));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    QVERIFY(item->isEnabled());
    QVERIFY(item->isVisible());
  }

  void menusStandInTheirOrder() {
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    QStringList titles;
    for (QAction* menu : main->menuBar()->actions()) {
      titles << menu->menu()->objectName() + QLatin1Char('=') + menu->text();
    }
    QCOMPARE(titles, (QStringList{"mnuFile=&File", "mnuTools=&Tools", "mnuHelp=&Help"}));
    QStringList items;
    for (QAction* item : main->findChild<QMenu*>(QStringLiteral("mnuFile"))->actions()) {
      items << item->objectName() + (item->isSeparator() ? QStringLiteral(" -") : QString());
    }
    QCOMPARE(items, (QStringList{"mnuFileParseOne", "mnuFileParseAll", "mnuFileBar5 -",
                                 "mnuFileSaveOptions", "mnuFileBar6 -", "mnuFileExit"}));
  }

  void theFrameHasAnEmptyDocumentAreaAndTheStatusBar() {
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    auto* documents = qobject_cast<QMdiArea*>(main->centralWidget());
    QVERIFY(documents != nullptr);
    QVERIFY(documents->subWindowList().isEmpty());
    QStatusBar* bar = main->statusBar();
    QCOMPARE(bar->objectName(), QStringLiteral("sbStatusBar"));
    QCOMPARE(Text(bar, "pnlStatus"), QStringLiteral("Status"));
    // The date in the form of the files' Date column: month/day/year under LC_ALL=C.
    const QDate today = QDate::currentDate();
    QCOMPARE(Text(bar, "pnlDate"),
             QStringLiteral("%1/%2/%3").arg(today.month()).arg(today.day()).arg(today.year()));
    QVERIFY(!Text(bar, "pnlTime").isEmpty());
    // The bar keeps its clock itself: a stale time is replaced within a few seconds.
    bar->findChild<QLabel*>(QStringLiteral("pnlTime"))->setText(QStringLiteral("stale"));
    QTRY_VERIFY_WITH_TIMEOUT(Text(bar, "pnlTime") != QStringLiteral("stale"), 3000);
    auto* dialog = main->findChild<QFileDialog*>(QStringLiteral("dlgCommonDialog"));
    QCOMPARE(dialog, main->dlgCommonDialog());
    QVERIFY(!dialog->isVisible());
  }

  void theShortcutRunsTheCommandUnderTheBusyCursor_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("parseAll");
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << true;
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << false;
  }

  void theShortcutRunsTheCommandUnderTheBusyCursor() {
    QFETCH(int, key);
    QFETCH(bool, parseAll);
    QList<int> shapes;
    QStringList ran;
    const auto command = [&shapes, &ran](const char* name) {
      return [&shapes, &ran, name](Session& session) {
        ran << QLatin1String(name);
        shapes << CursorShape();
        session.ui.Message(MessageId::ParsingComplete, "Working");
        shapes << CursorShape();
        return CommandOutcome::Completed;
      };
    };
    ShellOptions options;
    options.parseAll = command("all");
    options.parseOneSubject = command("one");
    app_ = StartProgram(std::move(options));
    frmMain* main = PressBegin(*app_);
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));

    ModalAnswerer boxes;
    boxes.Then([&shapes](QWidget* box) {
      shapes << CursorShape();
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(main, Qt::Key(key), Qt::ControlModifier);
    QTRY_COMPARE(boxes.Unused(), 0);
    QTRY_COMPARE(shapes.size(), 3);
    QCOMPARE(ran, QStringList{parseAll ? "all" : "one"});
    QCOMPARE(shapes, (QList<int>{Qt::WaitCursor, Qt::ArrowCursor, Qt::WaitCursor}));
    QCOMPARE(CursorShape(), -1);
    QCOMPARE(boxes.Titles(), QStringList{"Trelvox"});
    QVERIFY(boxes.Problems().isEmpty());
  }

  void aCommandThatThrowsEndsInABox() {
    ShellOptions options;
    options.parseAll = [](Session&) -> CommandOutcome {
      throw std::runtime_error("out of memory");
    };
    app_ = StartProgram(std::move(options));
    frmMain* main = PressBegin(*app_);
    ModalAnswerer boxes;
    boxes.Ok();
    Item(main, "mnuFileParseAll")->trigger();
    QCOMPARE(boxes.Texts(), QStringList{"out of memory"});
    QCOMPARE(CursorShape(), -1);
    QVERIFY(main->isVisible());
  }

  // ---- Exit and closing -----------------------------------------------------------------

  void exitClosesTheInputAndSubjectFilesAndSavesThePlacement_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("saved");
    QTest::newRow("normal") << "normal" << true;
    QTest::newRow("maximized") << "maximized" << true;
    QTest::newRow("minimized") << "minimized" << false;
  }

  void exitClosesTheInputAndSubjectFilesAndSavesThePlacement() {
    QFETCH(QString, state);
    QFETCH(bool, saved);
    const QStringList before{"1500", "3000", "7500", "4500"};
    StorePlacement(before);
    QTemporaryDir dir;
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    RunState& run = app_->Desktop().State();
    DiskFileChannels& files = app_->Desktop().Files();
    const std::string input = dir.filePath(QStringLiteral("in.azk")).toStdString();
    files.Open(files.FreeChannel(), input, OpenMode::Output);  // something to read
    files.Close(1);
    run.files.InFileNum = files.FreeChannel();
    QCOMPARE(files.Open(run.files.InFileNum, input, OpenMode::Input).errorNumber, 0);
    run.files.SubjFileNum = files.FreeChannel();
    const std::string subject = dir.filePath(QStringLiteral("s.dat")).toStdString();
    QCOMPARE(files.Open(run.files.SubjFileNum, subject, OpenMode::Output).errorNumber, 0);
    files.WriteLine(run.files.SubjFileNum, "kept");
    run.files.CompFileNum = files.FreeChannel();
    QCOMPARE(
        files.Open(run.files.CompFileNum, dir.filePath("c.dat").toStdString(), OpenMode::Append)
            .errorNumber,
        0);

    main->move(30, 40);
    main->resize(600, 350);
    if (state == QLatin1String("maximized")) {
      main->showMaximized();
    } else if (state == QLatin1String("minimized")) {
      main->showMinimized();
    }
    QTRY_COMPARE(main->isMaximized(), state == QLatin1String("maximized"));
    const QRect outer = main->frameGeometry();

    Item(main, "mnuFileExit")->trigger();
    QVERIFY(!main->isVisible());
    QVERIFY(!files.IsOpen(run.files.InFileNum));
    QVERIFY(!files.IsOpen(run.files.SubjFileNum));
    QVERIFY(files.IsOpen(run.files.CompFileNum));  // left for the end of the program
    QFile written(QString::fromStdString(subject));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("kept\r\n"));
    QCOMPARE(StoredPlacement(), saved ? TwipsOf(outer) : before);
  }

  void exitRightAfterStartUpStoresThePlacement() {
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    ModalAnswerer boxes;
    QTRY_COMPARE(main->frameGeometry(), QRect(67, 67, 433, 433));
    Item(main, "mnuFileExit")->trigger();
    QVERIFY(!main->isVisible());
    QVERIFY(VisibleWindows().isEmpty());
    // Whole pixels: 1000 twips are 67 pixels, stored back as 1005.
    QCOMPARE(StoredPlacement(), (QStringList{"1005", "1005", "6495", "6495"}));
    QVERIFY(boxes.Seen().isEmpty());
  }

  void theCloseBoxSavesThePlacementButLeavesTheFiles() {
    QTemporaryDir dir;
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    RunState& run = app_->Desktop().State();
    run.files.SubjFileNum = app_->Desktop().Files().FreeChannel();
    app_->Desktop().Files().Open(run.files.SubjFileNum, dir.filePath("s.dat").toStdString(),
                                 OpenMode::Output);
    main->move(45, 60);
    main->resize(500, 400);
    const QRect outer = main->frameGeometry();  // the frame counts: outer width and height
    QCOMPARE(outer.topLeft(), QPoint(45, 60));
    QVERIFY(main->close());
    QCOMPARE(StoredPlacement(), TwipsOf(outer));
    QVERIFY(app_->Desktop().Files().IsOpen(run.files.SubjFileNum));
  }

  void aSubjectFileThatCannotBeWrittenIsReportedAtExit() {
    if (!QFile::exists(QStringLiteral("/dev/full"))) {
      QSKIP("needs /dev/full");
    }
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    RunState& run = app_->Desktop().State();
    run.files.SubjFileNum = app_->Desktop().Files().FreeChannel();
    QCOMPARE(app_->Desktop()
                 .Files()
                 .Open(run.files.SubjFileNum, "/dev/full", OpenMode::Output)
                 .errorNumber,
             0);
    app_->Desktop().Files().WriteLine(run.files.SubjFileNum, "a row the disk refuses");
    ModalAnswerer boxes;
    boxes.Ok();
    Item(main, "mnuFileExit")->trigger();
    QCOMPARE(boxes.Seen().size(), 1);
    QVERIFY2(boxes.Texts().constFirst().contains(QStringLiteral("/dev/full")),
             qPrintable(boxes.Texts().constFirst()));
    QCOMPARE(boxes.Titles(), QStringList{"Trelvox"});
    QVERIFY(!main->isVisible());
  }

  // ---- options dialog -------------------------------------------------------------------

  // The four option switches, in the order of the dialog's check boxes.
  static void AddOptionColumns() {
    QTest::addColumn<bool>("individual");
    QTest::addColumn<bool>("counters");
    QTest::addColumn<bool>("zor");
    QTest::addColumn<bool>("cot");
  }

  void theOptionsDialogLoadsTheFlags_data() {
    AddOptionColumns();
    QTest::newRow("all off") << false << false << false << false;
    QTest::newRow("files on") << true << true << false << false;
    QTest::newRow("input kinds on") << false << false << true << true;
    QTest::newRow("mixed") << true << false << true << false;
  }

  void theOptionsDialogLoadsTheFlags() {
    QFETCH(bool, individual);
    QFETCH(bool, counters);
    QFETCH(bool, zor);
    QFETCH(bool, cot);
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    RunState& state = app_->Desktop().State();
    state.options.SaveIndFiles = individual;
    state.options.SaveCounters = counters;
    state.options.ZORFormat = zor;
    state.options.COTIncluded = cot;
    Item(main, "mnuFileSaveOptions")->trigger();
    frmSaveOptions* options = app_->SaveOptions();
    QVERIFY(options != nullptr);
    QVERIFY(options->isVisible());
    QCOMPARE(options->CheckBox(SaveOptionsControl::ChkIndFiles)->isChecked(), individual);
    QCOMPARE(options->CheckBox(SaveOptionsControl::chkSaveCounters)->isChecked(), counters);
    QCOMPARE(options->CheckBox(SaveOptionsControl::chkZOR)->isChecked(), zor);
    QCOMPARE(options->CheckBox(SaveOptionsControl::chkCOT)->isChecked(), cot);
  }

  void theOptionsDialogLooksAsDesigned() {
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    Item(main, "mnuFileSaveOptions")->trigger();
    frmSaveOptions* options = app_->SaveOptions();
    QCOMPARE(options->windowTitle(), QStringLiteral("Options"));
    QVERIFY(options->parentWidget() == nullptr);  // no owner
    QVERIFY(!options->isModal());
    QVERIFY(main->isEnabled());
    QCOMPARE(options->CheckBox(SaveOptionsControl::ChkIndFiles)->text(),
             QStringLiteral("Save Individual Subject Files"));
    QCOMPARE(options->CheckBox(SaveOptionsControl::chkSaveCounters)->text(),
             QStringLiteral("Save Counter File"));
    QCOMPARE(options->CheckBox(SaveOptionsControl::chkZOR)->text(),
             QStringLiteral("File is ZOR formatted"));
    QCOMPARE(options->CheckBox(SaveOptionsControl::chkCOT)->text(),
             QStringLiteral("COTs included?"));
    QCOMPARE(options->CheckBox(SaveOptionsControl::ChkIndFiles)->y(), 24);
    QCOMPARE(options->CheckBox(SaveOptionsControl::chkCOT)->y(), 168);
    auto* ok = options->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    auto* cancel = options->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(!ok->isDefault() && !cancel->isDefault());
    QCOMPARE(options->focusWidget(), ok);
    QStringList order;
    QWidget* widget = ok;
    for (int i = 0; i < 6; ++i) {
      order << widget->objectName();
      widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"cmdOK", "cmdCancel", "ChkIndFiles", "chkSaveCounters", "chkZOR",
                                 "chkCOT"}));
  }

  void okStoresTheBoxes_data() {
    AddOptionColumns();
    QTest::newRow("all on") << true << true << true << true;
    QTest::newRow("all off") << false << false << false << false;
    QTest::newRow("counters and cot") << false << true << false << true;
  }

  void okStoresTheBoxes() {
    QFETCH(bool, individual);
    QFETCH(bool, counters);
    QFETCH(bool, zor);
    QFETCH(bool, cot);
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    RunState& state = app_->Desktop().State();
    state.options.SaveIndFiles = state.options.SaveCounters = state.options.ZORFormat =
        state.options.COTIncluded = true;
    Item(main, "mnuFileSaveOptions")->trigger();
    frmSaveOptions* options = app_->SaveOptions();
    options->CheckBox(SaveOptionsControl::ChkIndFiles)->setChecked(individual);
    options->CheckBox(SaveOptionsControl::chkSaveCounters)->setChecked(counters);
    options->CheckBox(SaveOptionsControl::chkZOR)->setChecked(zor);
    options->CheckBox(SaveOptionsControl::chkCOT)->setChecked(cot);
    QCOMPARE(state.options.ZORFormat, true);  // nothing counts before OK
    QTest::mouseClick(options->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QCOMPARE(state.options.SaveIndFiles, individual);
    QCOMPARE(state.options.SaveCounters, counters);
    QCOMPARE(state.options.ZORFormat, zor);
    QCOMPARE(state.options.COTIncluded, cot);
    QTRY_VERIFY(app_->SaveOptions() == nullptr);  // unloaded
  }

  void cancelAndTheCloseBoxKeepTheFlags_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
  }

  void cancelAndTheCloseBoxKeepTheFlags() {
    QFETCH(bool, closeBox);
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    Item(main, "mnuFileSaveOptions")->trigger();
    frmSaveOptions* options = app_->SaveOptions();
    QTest::mouseClick(options->CheckBox(SaveOptionsControl::chkZOR), Qt::LeftButton);
    QTest::mouseClick(options->CheckBox(SaveOptionsControl::ChkIndFiles), Qt::LeftButton);
    QVERIFY(options->CheckBox(SaveOptionsControl::chkZOR)->isChecked());
    if (closeBox) {
      options->close();
    } else {
      QTest::mouseClick(options->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                        Qt::LeftButton);
    }
    QTRY_VERIFY(app_->SaveOptions() == nullptr);
    const RunState& state = app_->Desktop().State();
    QVERIFY(!state.options.ZORFormat && !state.options.SaveIndFiles &&
            !state.options.SaveCounters && !state.options.COTIncluded);
    Item(main, "mnuFileSaveOptions")->trigger();  // a fresh dialog shows the old values
    QVERIFY(!app_->SaveOptions()->CheckBox(SaveOptionsControl::chkZOR)->isChecked());
    QVERIFY(!app_->SaveOptions()->CheckBox(SaveOptionsControl::ChkIndFiles)->isChecked());
  }

  void reopeningResetsOnlyTheFileSwitches() {
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    Item(main, "mnuFileSaveOptions")->trigger();
    frmSaveOptions* options = app_->SaveOptions();
    for (QCheckBox* box : {options->CheckBox(SaveOptionsControl::ChkIndFiles),
                           options->CheckBox(SaveOptionsControl::chkSaveCounters),
                           options->CheckBox(SaveOptionsControl::chkZOR),
                           options->CheckBox(SaveOptionsControl::chkCOT)}) {
      box->setChecked(true);
    }
    options->showMinimized();
    Item(main, "mnuFileSaveOptions")->trigger();
    QCOMPARE(app_->SaveOptions(), options);  // not reloaded
    QVERIFY(!options->isMinimized());        // restored, and brought to the front
    QVERIFY(!options->CheckBox(SaveOptionsControl::ChkIndFiles)->isChecked());
    QVERIFY(!options->CheckBox(SaveOptionsControl::chkSaveCounters)->isChecked());
    QVERIFY(options->CheckBox(SaveOptionsControl::chkZOR)->isChecked());
    QVERIFY(options->CheckBox(SaveOptionsControl::chkCOT)->isChecked());
    QVERIFY(options->isVisible());
  }

  void theOptionsDialogOutlivesTheMainWindow() {
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    Item(main, "mnuFileSaveOptions")->trigger();
    frmSaveOptions* options = app_->SaveOptions();
    Item(main, "mnuFileExit")->trigger();
    QVERIFY(!main->isVisible());
    QVERIFY(options->isVisible());
    options->CheckBox(SaveOptionsControl::chkCOT)->setChecked(true);
    QTest::mouseClick(options->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(app_->Desktop().State().options.COTIncluded);
    QTRY_VERIFY(VisibleWindows().isEmpty());
  }

  // ---- keys -----------------------------------------------------------------------------

  // As a Windows user expects and the descriptions say: Tab and Shift+Tab go round the tab
  // stops in their order, Escape does nothing without a cancel button, and Enter presses the
  // button that has the focus when the window opens.
  void keysFollowTheDescriptions_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("splash") << "frmSplash";
    QTest::newRow("options") << "frmSaveOptions";
  }

  void keysFollowTheDescriptions() {
    QFETCH(QString, window);
    app_ = StartProgram();
    const bool splash = window == QLatin1String("frmSplash");
    QWidget* shown = app_->Splash();
    const WindowDescription& described = splash ? SplashWindow() : SaveOptionsWindow();
    if (!splash) {
      frmMain* main = PressBegin(*app_);
      Item(main, "mnuFileSaveOptions")->trigger();
      shown = app_->SaveOptions();
    }
    shown->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown));
    QStringList stops = TabStops(described);
    QCOMPARE(shown->focusWidget()->objectName(), stops.constFirst());
    QStringList forward = stops.mid(1) << stops.constFirst();
    QCOMPARE(FocusAfterEach(shown, Qt::Key_Tab, Qt::NoModifier, stops.size()), forward);
    std::reverse(stops.begin(), stops.end());  // back round from the first focus
    QCOMPARE(FocusAfterEach(shown, Qt::Key_Backtab, Qt::ShiftModifier, stops.size()), stops);

    QTest::keyClick(shown->focusWidget(), Qt::Key_Escape);
    QVERIFY(shown->isVisible());
    if (!splash) {  // Enter on a check box: no default button to press
      app_->SaveOptions()->CheckBox(SaveOptionsControl::ChkIndFiles)->setFocus();
      QTest::keyClick(shown->focusWidget(), Qt::Key_Return);
      QVERIFY(shown->isVisible());
      app_->SaveOptions()->CheckBox(SaveOptionsControl::chkCOT)->setChecked(true);
      Control<QPushButton>(*shown, SaveOptionsControl::cmdOK)->setFocus();
    }
    QTest::keyClick(shown->focusWidget(), Qt::Key_Return);
    if (splash) {
      QVERIFY(app_->MainForm() != nullptr && app_->MainForm()->isVisible());
    } else {
      QVERIFY(app_->Desktop().State().options.COTIncluded);  // OK stored the tick
      QTRY_VERIFY(app_->SaveOptions() == nullptr);
    }
  }

  // ---- About box ------------------------------------------------------------------------

  void theAboutBoxNamesTheProgram() {
    app_ = StartProgram();
    frmMain* main = PressBegin(*app_);
    QStringList texts;
    QWidget* owner = nullptr;
    bool modal = false;
    QString focus;
    QString defaultButton;
    ModalAnswerer boxes;
    boxes.Then([&](QWidget* box) {
      owner = box->parentWidget();
      modal = box->isModal();
      focus = box->focusWidget() != nullptr ? box->focusWidget()->objectName() : QString();
      for (const char* name : {"lblTitle", "lblVersion", "lblDescription"}) {
        texts << Text(box, name);
      }
      for (QPushButton* button : box->findChildren<QPushButton*>()) {
        if (button->isDefault()) {
          defaultButton = button->objectName();
        }
      }
      QTest::keyClick(box, Qt::Key_Escape);
    });
    Item(main, "mnuHelpAbout")->trigger();
    QCOMPARE(boxes.Titles(), QStringList{"About Trelvox"});
    QCOMPARE(texts, (QStringList{"Trelvox", QStringLiteral("Version ") + kProjectVersion,
                                 "This program extracts information from the DMDX .azk file and "
                                 "creates an individual subject data file.  It also adds data to "
                                 "composite database"}));
    QCOMPARE(owner, main);
    QVERIFY(modal);
    QCOMPARE(focus, QStringLiteral("cmdOK"));
    QCOMPARE(defaultButton, QStringLiteral("cmdOK"));
    QVERIFY(boxes.Problems().isEmpty());
  }

  void enterPressesTheFocusedButtonAndEscapeCloses_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("startsSysInfo");
    QTest::newRow("Enter on OK") << 0 << int(Qt::Key_Return) << false;
    QTest::newRow("Escape") << 0 << int(Qt::Key_Escape) << false;
    QTest::newRow("Tab, Enter on System Info") << 1 << int(Qt::Key_Return) << true;
    QTest::newRow("Tab, Escape") << 1 << int(Qt::Key_Escape) << false;
    QTest::newRow("Tab twice, Enter on OK") << 2 << int(Qt::Key_Enter) << false;
  }

  void enterPressesTheFocusedButtonAndEscapeCloses() {
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(bool, startsSysInfo);
    int started = 0;
    ShellOptions options;
    options.locateSysInfo = [] { return std::optional<std::string>("/usr/bin/hardinfo"); };
    options.launchProgram = [&started](const std::string&) { return ++started > 0; };
    app_ = StartProgram(std::move(options));
    frmMain* main = PressBegin(*app_);
    bool openAfterKey = false;
    ModalAnswerer boxes;
    boxes.Then([&](QWidget* box) {
      for (int i = 0; i < tabs; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
      openAfterKey = box->isVisible();
      if (openAfterKey) {
        box->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
      }
    });
    Item(main, "mnuHelpAbout")->trigger();  // returns once the box has closed
    QCOMPARE(boxes.Seen().size(), 1);
    QCOMPARE(started, startsSysInfo ? 1 : 0);
    QCOMPARE(openAfterKey, startsSysInfo);  // System Info leaves the box open
    QVERIFY(main->findChild<frmAbout*>() == nullptr);
  }

  // ---- message boxes --------------------------------------------------------------------

  void yesNoBoxesAnswerOnlyYesOrNo_data() {
    QTest::addColumn<QString>("attempt");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Escape, then Yes") << "Escape" << true;
    QTest::newRow("close box, then No") << "close" << false;
    QTest::newRow("Enter is Yes") << "" << true;
  }

  void yesNoBoxesAnswerOnlyYesOrNo() {
    QFETCH(QString, attempt);
    QFETCH(bool, yes);
    app_ = StartProgram();
    PressBegin(*app_);
    bool openAfterAttempt = false;
    bool closeButton = true;
    ModalAnswerer boxes;
    boxes.Then([&](QWidget* box) {
      closeButton = box->windowFlags().testFlag(Qt::WindowCloseButtonHint);
      if (attempt == QLatin1String("Escape")) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else if (attempt == QLatin1String("close")) {
        box->close();
      }
      openAfterAttempt = box->isVisible();
      auto* question = qobject_cast<QMessageBox*>(box);
      if (attempt.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Return);
      } else if (question != nullptr && box->isVisible()) {
        question->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
      }
    });
    const bool answer = app_->Desktop().CurrentSession().ui.AskYesNo(MessageId::NewCompositeFile,
                                                                     "Is this a new file?");
    QCOMPARE(answer, yes);
    QVERIFY(openAfterAttempt);
    QVERIFY(!closeButton);
  }

  // A box without a caption shows a blank title bar, not the program's name.
  void boxesWithoutACaptionShowABlankTitle_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("drawn");
    QTest::newRow("no caption") << ""
                                << " ";
    QTest::newRow("the program's") << "Trelvox"
                                   << "Trelvox";
  }

  void boxesWithoutACaptionShowABlankTitle() {
    QFETCH(QString, caption);
    QFETCH(QString, drawn);
    app_ = StartProgram();
    PressBegin(*app_);
    QString title = QStringLiteral("<not seen>");
    ModalAnswerer boxes;
    boxes.Then([&title](QWidget* box) {
      title = box->windowHandle()->title();
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    app_->Desktop().CurrentSession().ui.Message(MessageId::SubjectIdDetected, "ID: 42 detected.",
                                                caption.toStdString());
    QCOMPARE(title, drawn);
    QCOMPARE(boxes.Titles(), QStringList{caption});
  }

  // Every button's caption fits inside the margins the style leaves around it.
  void buttonCaptionsStayInsideTheirMargins() {
    QStringList tooWide;
    int buttons = 0;
    const auto measure = [&tooWide, &buttons](const QWidget* window) {
      for (QPushButton* button : window->findChildren<QPushButton*>()) {
        ++buttons;
        QStyleOptionButton option;
        option.initFrom(button);
        const QStyle* style = button->style();
        const int margins = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) +
                            2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
        const int caption =
            button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
        if (caption + margins > button->width()) {
          tooWide << QStringLiteral("%1: %2 + %3 > %4")
                         .arg(button->text())
                         .arg(caption)
                         .arg(margins)
                         .arg(button->width());
        }
      }
    };
    app_ = StartProgram();
    measure(app_->Splash());
    frmMain* main = PressBegin(*app_);
    Item(main, "mnuFileSaveOptions")->trigger();
    measure(app_->SaveOptions());
    const frmAbout about(*app_, main);
    measure(&about);
    QCOMPARE(buttons, 5);
    QVERIFY2(tooWide.isEmpty(), qPrintable(tooWide.join(QStringLiteral("; "))));
  }

  void messageBoxesAreWideEnoughForTheirCaption() {
    app_ = StartProgram();
    PressBegin(*app_);
    int width = 0;
    int captionWidth = 0;
    ModalAnswerer boxes;
    boxes.Then([&](QWidget* box) {
      width = box->width();
      captionWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    app_->Desktop().CurrentSession().ui.Message(MessageId::ParsingComplete, "Parsing Complete!");
    QCOMPARE(boxes.Titles(), QStringList{"Trelvox"});
    // Room for the caption beside the frame's minimize, maximize and close buttons.
    QVERIFY2(width >= captionWidth + 120, qPrintable(QString::number(width)));
  }

  void systemInfoStartsTheToolOrSaysItIsUnavailable_data() {
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<bool>("unavailable");
    QTest::newRow("started") << "/usr/bin/hardinfo" << true << false;
    QTest::newRow("not found") << QString() << true << true;
    QTest::newRow("fails to start") << "/usr/bin/hardinfo" << false << true;
  }

  void systemInfoStartsTheToolOrSaysItIsUnavailable() {
    QFETCH(QString, found);
    QFETCH(bool, starts);
    QFETCH(bool, unavailable);
    QStringList launched;
    ShellOptions options;
    options.locateSysInfo = [found]() -> std::optional<std::string> {
      if (found.isNull()) {
        return std::nullopt;
      }
      return found.toStdString();
    };
    options.launchProgram = [&launched, starts](const std::string& path) {
      launched << QString::fromStdString(path);
      return starts;
    };
    app_ = StartProgram(std::move(options));
    frmMain* main = PressBegin(*app_);
    bool stillOpen = false;
    ModalAnswerer boxes;
    boxes.Then([&stillOpen](QWidget* box) {
      box->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
      stillOpen = box->isVisible();
      box->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    if (unavailable) {
      boxes.Ok();
    }
    Item(main, "mnuHelpAbout")->trigger();
    QVERIFY(stillOpen);
    QCOMPARE(launched, found.isNull() ? QStringList() : QStringList{found});
    QStringList expected{"About Trelvox"};
    if (unavailable) {
      expected << "Trelvox";
      QCOMPARE(boxes.Texts().constLast(),
               QStringLiteral("System Information Is Unavailable At This Time"));
    }
    QCOMPARE(boxes.Titles(), expected);
    QVERIFY(boxes.Problems().isEmpty());
  }

  // The real lookup on the search path and a real detached start.
  void systemInfoFindsAProgramOnThePath() {
    QTemporaryDir bin;
    const QString marker = bin.filePath(QStringLiteral("started"));
    QFile tool(bin.filePath(QStringLiteral("hardinfo")));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write(QStringLiteral("#!/bin/sh\n/usr/bin/touch '%1'\n").arg(marker).toUtf8());
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    app_ = StartProgram();
    app_->Desktop().StartSysInfo();
    qputenv("PATH", oldPath);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
  }

  void systemInfoWithNothingOnThePathIsUnavailable() {
    QTemporaryDir empty;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    app_ = StartProgram();
    ModalAnswerer boxes;
    boxes.Ok();
    app_->Desktop().StartSysInfo();
    qputenv("PATH", oldPath);
    QCOMPARE(boxes.Texts(), QStringList{"System Information Is Unavailable At This Time"});
  }

 private:
  TestSettingsFolder settingsFolder_;
  std::unique_ptr<Application> app_;
};

}  // namespace trelvox::testing

QTEST_MAIN(trelvox::testing::ShellWindowsTest)
#include "ShellWindowsTest.moc"
