#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "desktop/AnalyzeController.h"
#include "desktop/AnalyzeForm.h"
#include "platform/Paths.h"
#include "support/HeldAnalysis.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace trelvox {
namespace {

using analysis::AnalysisField;
using testing::DataFile;
using testing::ReadFile;
using testing::TempDir;

std::string Input(const std::string& name) {
  return DataFile("batch/inputs/" + name);
}

// A form that runs: the lab file with its item list, cells by condition.
AnalyzeFormValues LabForm(const TempDir& dir) {
  AnalyzeFormValues values;
  values.inputs = {Input("lab.azk")};
  values.timeout = "2000";
  values.itemList = Input("lab-items.csv");
  values.by = {"condition"};
  values.maxErrorRate = "0.4";
  values.outputFolder = dir.File("out");
  return values;
}

// An AZK file of `subjects` blocks of `trials` trials: long enough for progress reports.
std::string LongAzk(int subjects, int trials) {
  std::string text = "\r\nSubjects incorporated to date: 001\r\n\r\n";
  for (int s = 1; s <= subjects; ++s) {
    text += "Subject " + std::to_string(s) + ", 06/26/2015 10:15:02 on LAB, refresh 16.67ms, ID P" +
            std::to_string(s) + "\r\n  Item       RT\r\n";
    for (int t = 1; t <= trials; ++t) {
      text += "    " + std::to_string(t) + "    " + std::to_string(300 + t % 700) + ".00\r\n";
    }
    text += "\r\n";
  }
  return text;
}

// ---- the form ------------------------------------------------------------------------------

struct FormCase {
  const char* name;
  std::function<void(AnalyzeFormValues&, const TempDir&)> change;
  AnalysisField field;
  const char* told;  // part of the problem's message
};

class FormChecks : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormChecks, TellTheFieldAndWriteNothing) {
  const FormCase& c = GetParam();
  TempDir dir;
  AnalyzeFormValues values = LabForm(dir);
  c.change(values, dir);
  const CheckedForm checked = CheckForm(values, FixedLocale());
  ASSERT_FALSE(checked.Runs());
  EXPECT_EQ(checked.problems.front().field, c.field);
  EXPECT_NE(checked.problems.front().message.find(c.told), std::string::npos)
      << checked.problems.front().message;
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out"));
}

INSTANTIATE_TEST_SUITE_P(
    Analyze, FormChecks,
    ::testing::Values(
        FormCase{"NoInputs", [](auto& v, auto&) { v.inputs.clear(); }, AnalysisField::Inputs,
                 "Add the .azk"},
        FormCase{"MissingInput", [](auto& v, auto& d) { v.inputs.push_back(d.File("gone.azk")); },
                 AnalysisField::Inputs, "gone.azk"},
        FormCase{"NotAResultFile", [](auto& v, auto&) { v.inputs.push_back(Input("notes.txt")); },
                 AnalysisField::Inputs, "is no .azk, .zil or composite file"},
        FormCase{"TimeoutNotANumber", [](auto& v, auto&) { v.timeout = "2 s"; },
                 AnalysisField::Timeout, "\"2 s\" is no whole number"},
        FormCase{"TimeoutMissingForAzk", [](auto& v, auto&) { v.timeout = " "; },
                 AnalysisField::Timeout, "time-out"},
        FormCase{"ResponsesTooLarge", [](auto& v, auto&) { v.responses = "40000"; },
                 AnalysisField::Responses, "is no whole number"},
        FormCase{"MinRtNotANumber", [](auto& v, auto&) { v.minRt = "fast"; }, AnalysisField::MinRt,
                 "\"fast\" is no number"},
        FormCase{"MaxRtBelowMinRt",
                 [](auto& v, auto&) {
                   v.minRt = "300";
                   v.maxRt = "200";
                 },
                 AnalysisField::MaxRt, "min-rt"},
        FormCase{"SdZero", [](auto& v, auto&) { v.sd = "0"; }, AnalysisField::Sd, "above 0"},
        FormCase{"ErrorRateAboveOne", [](auto& v, auto&) { v.maxErrorRate = "2"; },
                 AnalysisField::MaxErrorRate, "0 to 1"},
        FormCase{"ItemListMissing", [](auto& v, auto& d) { v.itemList = d.File("items.csv"); },
                 AnalysisField::ItemList, "choose another item list"},
        FormCase{"ColumnGone", [](auto& v, auto&) { v.by = {"frequency"}; }, AnalysisField::By,
                 "no column frequency"},
        FormCase{"ColumnsWithoutItemList", [](auto& v, auto&) { v.itemList.clear(); },
                 AnalysisField::By, "Choose an item list first"},
        FormCase{"NoOutputFolder", [](auto& v, auto&) { v.outputFolder.clear(); },
                 AnalysisField::OutputFolder, "Choose the folder"},
        FormCase{"OutputFolderIsAFile",
                 [](auto& v, auto&) { v.outputFolder = Input("lab-items.csv"); },
                 AnalysisField::OutputFolder, "is a file, not a folder"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormChecks, AFormThatRunsMakesTheRequest) {
  TempDir dir;
  AnalyzeFormValues values = LabForm(dir);
  values.sd = "2,5";  // the user's locale reads the number
  values.cot = true;
  const CheckedForm checked = CheckForm(values, FixedLocale(ShortDateFormat::UnitedStates(), ','));
  ASSERT_TRUE(checked.Runs()) << checked.problems.front().message;
  EXPECT_EQ(checked.request.inputs, values.inputs);
  EXPECT_EQ(checked.request.timeout, 2000);
  EXPECT_EQ(checked.request.responses, std::nullopt);
  EXPECT_EQ(checked.request.sd, 2.5);
  EXPECT_EQ(checked.request.maxErrorRate, 0.4);
  EXPECT_EQ(checked.request.by, std::vector<std::string>{"condition"});
  EXPECT_TRUE(checked.request.cot);
}

TEST(FormValues, AreRememberedButTheInputs) {
  MemorySettingsStore settings;
  EXPECT_TRUE(LoadRememberedValues(settings).openReport);  // on until the user turns it off
  TempDir dir;
  AnalyzeFormValues values = LabForm(dir);
  values.by = {"condition", "list"};
  values.zor = true;
  values.openReport = false;
  RememberValues(settings, values);
  EXPECT_EQ(settings.Get("Trelvox", "Analyze", "Timeout", ""), "2000");
  values.inputs.clear();
  EXPECT_EQ(LoadRememberedValues(settings), values);
}

TEST(FormValues, InputsAreAddedOnceAndRemovedByRow) {
  std::vector<std::string> inputs{"a.azk"};
  AddInputs(inputs, {"b.zil", "a.azk", "", "c.dat", "b.zil"});
  EXPECT_EQ(inputs, (std::vector<std::string>{"a.azk", "b.zil", "c.dat"}));
  RemoveInputs(inputs, {2, 0, 7, 2});
  EXPECT_EQ(inputs, std::vector<std::string>{"b.zil"});
}

TEST(FormTexts, ProgressAndSummary) {
  analysis::AnalysisProgress progress{250, 1000, "day1.azk", 1, 2};
  EXPECT_EQ(ProgressText(progress), "Reading day1.azk (pass 1 of 2)");
  EXPECT_EQ(ProgressPermille(progress), 250);
  progress = {5, 0, "", 1, 1};
  EXPECT_EQ(ProgressText(progress), "Writing the tables");
  EXPECT_EQ(ProgressPermille(progress), 0);
  EXPECT_EQ(SummaryLine({1, 4800, 0, 1}), "1 subject, 4800 trials, 0 excluded, 1 anomaly.");
  EXPECT_EQ(SummaryLine({12, 1, 2, 3}), "12 subjects, 1 trial, 2 excluded, 3 anomalies.");
}

TEST(AnalyzeWindowDescription, EveryFieldHasItsProblemLabelAndEveryBoxItsLabel) {
  for (const AnalysisField field : FormFields()) {
    EXPECT_TRUE(Described(ProblemLabelOf(field)).tellsProblem) << static_cast<int>(field);
  }
  const auto controls = AnalyzeWindow().controls;
  for (std::size_t i = 1; i < controls.size(); ++i) {
    const ControlKind kind = controls[i].kind;
    if ((kind == ControlKind::TextBox || kind == ControlKind::ListBox) &&
        std::string(controls[i].name) != "lstNotices") {
      // The label just before a box in tab order gives it its access key.
      EXPECT_EQ(controls[i - 1].kind, ControlKind::Label) << controls[i].name;
      EXPECT_NE(std::string(controls[i - 1].caption).find('&'), std::string::npos);
    }
  }
  EXPECT_TRUE(Described(AnalyzeControl::lstInputs).acceptsFiles);
  EXPECT_FALSE(ControlEnabled(AnalyzeControl::cmdAnalyze, true));
  EXPECT_TRUE(ControlEnabled(AnalyzeControl::cmdCancel, true));
  EXPECT_FALSE(ControlEnabled(AnalyzeControl::cmdCancel, false));
  EXPECT_FALSE(ControlEnabled(AnalyzeControl::txtTimeout, true));
  EXPECT_TRUE(ControlEnabled(AnalyzeControl::cmdClose, true));
}

// ---- the controller ------------------------------------------------------------------------

// Keeps what the window would show.
class RecordingView final : public AnalyzeView {
 public:
  AnalyzeFormValues Values() const override { return values; }
  void ShowValues(const AnalyzeFormValues& shown) override { values = shown; }
  void ShowInputs(const std::vector<std::string>& inputs) override { values.inputs = inputs; }
  void ShowByColumns(const std::vector<std::string>& shown,
                     const std::vector<std::string>& chosen) override {
    columns = shown;
    values.by = chosen;
  }
  void ShowProblem(AnalysisField field, const std::string& message) override {
    problems[field] = message;
  }
  void ShowRunning(bool now) override { running = now; }
  void ShowProgress(int permille, const std::string& text) override {
    progress.emplace_back(permille, text);
  }
  void ShowOutcome(const std::string& shownSummary,
                   const std::vector<std::string>& shownNotices) override {
    summary = shownSummary;
    notices = shownNotices;
    ++outcomes;
  }
  bool ReadProgress() const {
    return std::any_of(progress.begin(), progress.end(),
                       [](const auto& shown) { return shown.second.starts_with("Reading"); });
  }

  AnalyzeFormValues values;
  std::vector<std::string> columns;
  std::map<AnalysisField, std::string> problems;
  bool running = false;
  std::vector<std::pair<int, std::string>> progress;
  std::string summary;
  std::vector<std::string> notices;
  int outcomes = 0;
};

// The window's thread is the test's: posted tasks wait in a queue until the test runs them.
class QueuedThread final : public WindowThread {
 public:
  void Post(std::function<void()> task) override {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    posted_.notify_one();
  }
  // Runs the posted tasks, waiting for each, until `done` holds.
  void RunUntil(const std::function<bool()>& done) {
    while (!done()) {
      std::unique_lock lock(mutex_);
      posted_.wait(lock, [this] { return !tasks_.empty(); });
      std::function<void()> task = std::move(tasks_.front());
      tasks_.pop_front();
      lock.unlock();
      task();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

struct ControllerFixture {
  explicit ControllerFixture(AnalysisRunner runner = RunAnalysisOnDisk)
      : session(Configured(std::move(runner)), boxes) {}
  DesktopOptions Configured(AnalysisRunner runner) {
    DesktopOptions options;
    options.settings = std::make_unique<MemorySettingsStore>();
    options.analyze = std::move(runner);
    options.openDocument = [this](const std::string& path) {
      opened.push_back(path);
      return true;
    };
    return options;
  }
  void RunToTheEnd() {
    thread.RunUntil([this] { return !controller.Running() && view.outcomes > 0; });
  }

  TempDir dir;
  std::vector<std::string> opened;
  testing::ScriptedPrompts boxes;
  DesktopSession session;
  RecordingView view;
  QueuedThread thread;
  AnalyzeController controller{session, view, thread};
};

std::vector<std::string> TablesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(AnalyzeController, RunsAsTheCommandDoesAndRemembersTheForm) {
  ControllerFixture f;
  f.view.values = LabForm(f.dir);
  ASSERT_TRUE(f.controller.Analyze());
  EXPECT_TRUE(f.view.running);
  f.RunToTheEnd();
  EXPECT_FALSE(f.view.running);

  analysis::AnalysisObserver quiet;
  analysis::AnalysisRequest request = CheckForm(LabForm(f.dir), FixedLocale()).request;
  request.outputFolder = f.dir.File("direct");
  const analysis::AnalysisResult direct = analysis::RunAnalysis(request, quiet);
  ASSERT_EQ(direct.status, analysis::AnalysisStatus::Completed);
  ASSERT_EQ(TablesIn(f.dir.Path() / "out"), TablesIn(f.dir.Path() / "direct"));
  for (const std::string& name : TablesIn(f.dir.Path() / "out")) {
    if (name.ends_with(".tsv")) {
      EXPECT_EQ(ReadFile(f.dir.File("out/" + name)), ReadFile(f.dir.File("direct/" + name)))
          << name;
    }
  }
  EXPECT_TRUE(f.view.summary.starts_with(SummaryLine(direct.summary))) << f.view.summary;
  EXPECT_EQ(f.view.notices.size(), direct.lines.size());
  EXPECT_EQ(f.view.notices.front(), direct.lines.front());
  EXPECT_EQ(f.session.Settings().Get("Trelvox", "Analyze", "By", ""), "condition");
  // The report is opened where the run wrote one, and its absence told where it did not.
  if (std::filesystem::exists(f.dir.Path() / "out" / "report.html")) {
    EXPECT_EQ(f.opened, std::vector<std::string>{f.dir.File("out/report.html")});
  } else {
    EXPECT_TRUE(f.opened.empty());
    EXPECT_NE(f.view.summary.find("No report was written"), std::string::npos);
  }
}

TEST(AnalyzeController, AFormWithProblemsStartsNothing) {
  ControllerFixture f;
  f.view.values = LabForm(f.dir);
  f.view.values.timeout = "soon";
  f.view.values.outputFolder.clear();
  EXPECT_FALSE(f.controller.Analyze());
  EXPECT_FALSE(f.controller.Running());
  EXPECT_NE(f.view.problems[AnalysisField::Timeout].find("soon"), std::string::npos);
  EXPECT_NE(f.view.problems[AnalysisField::OutputFolder], "");
  EXPECT_EQ(f.view.problems[AnalysisField::Inputs], "");
  EXPECT_EQ(f.session.Settings().Get("Trelvox", "Analyze", "Timeout", "none"), "none");
}

TEST(AnalyzeController, CancelStopsMidFileAndReplacesNothing) {
  ControllerFixture f(HeldAtFirstProgress);
  testing::WriteFile(f.dir.File("long.azk"), LongAzk(20, 400));
  std::filesystem::create_directory(f.dir.Path() / "out");
  testing::WriteFile(f.dir.File("out/trials.tsv"), "kept\n");
  f.view.values.inputs = {f.dir.File("long.azk")};
  f.view.values.timeout = "2000";
  f.view.values.outputFolder = f.dir.File("out");
  ASSERT_TRUE(f.controller.Analyze());
  f.thread.RunUntil([&] { return f.view.ReadProgress(); });
  EXPECT_TRUE(f.view.progress.back().second.starts_with("Reading long.azk"));
  f.controller.Cancel();
  f.RunToTheEnd();
  EXPECT_EQ(f.view.summary, "Cancelled: no file was written or replaced.");
  EXPECT_EQ(TablesIn(f.dir.Path() / "out"), std::vector<std::string>{"trials.tsv"});
  EXPECT_EQ(ReadFile(f.dir.File("out/trials.tsv")), "kept\n");
  EXPECT_TRUE(f.opened.empty());
}

TEST(AnalyzeController, CloseWaitsForTheCancelledRunAndShowsNothingMore) {
  ControllerFixture f(HeldAtFirstProgress);
  testing::WriteFile(f.dir.File("long.azk"), LongAzk(20, 400));
  f.view.values.inputs = {f.dir.File("long.azk")};
  f.view.values.timeout = "2000";
  f.view.values.outputFolder = f.dir.File("out");
  ASSERT_TRUE(f.controller.Analyze());
  const int outcomes = f.view.outcomes;
  f.controller.Close();
  EXPECT_FALSE(f.controller.Running());
  f.thread.Post([] {});  // anything the run posted runs before this
  bool drained = false;
  f.thread.Post([&drained] { drained = true; });
  f.thread.RunUntil([&] { return drained; });
  EXPECT_EQ(f.view.outcomes, outcomes);
}

TEST(AnalyzeController, OpensTheReportWhenAskedAndTellsAThrownFailure) {
  int runs = 0;
  ControllerFixture f(
      [&runs](const analysis::AnalysisRequest& request, analysis::AnalysisObserver&) {
        if (++runs == 3) {
          throw std::runtime_error("out of memory");
        }
        testing::WriteFile(JoinPath(request.outputFolder, "report.html"), "<html>");
        analysis::AnalysisResult result;
        result.status = analysis::AnalysisStatus::Completed;
        result.summary = {2, 10, 0, 0};
        return result;
      });
  std::filesystem::create_directory(f.dir.Path() / "out");
  f.view.values = LabForm(f.dir);
  ASSERT_TRUE(f.controller.Analyze());
  f.RunToTheEnd();
  EXPECT_EQ(f.view.summary, "2 subjects, 10 trials, 0 excluded, 0 anomalies.");
  EXPECT_EQ(f.opened, std::vector<std::string>{f.dir.File("out/report.html")});

  f.view.values.openReport = false;
  f.view.outcomes = 0;
  ASSERT_TRUE(f.controller.Analyze());
  f.RunToTheEnd();
  EXPECT_EQ(f.opened.size(), 1u);

  f.view.outcomes = 0;
  ASSERT_TRUE(f.controller.Analyze());
  f.RunToTheEnd();
  EXPECT_EQ(f.view.summary, "Not analysed: The analysis stopped: out of memory");
}

TEST(AnalyzeController, LoadsTheRememberedFormWithTheColumnsOfItsItemList) {
  ControllerFixture f;
  AnalyzeFormValues remembered = LabForm(f.dir);
  remembered.by = {"condition", "gone"};
  RememberValues(f.session.Settings(), remembered);
  f.controller.Load({"a.azk", "a.azk"});
  EXPECT_EQ(f.view.values.inputs, std::vector<std::string>{"a.azk"});
  EXPECT_EQ(f.view.values.timeout, "2000");
  EXPECT_EQ(f.view.columns, std::vector<std::string>{"condition"});
  EXPECT_EQ(f.view.values.by, std::vector<std::string>{"condition"});

  f.view.values.itemList = Input("notes.txt");
  f.controller.ItemListChanged();
  EXPECT_TRUE(f.view.columns.empty());
  EXPECT_NE(f.view.problems[AnalysisField::ItemList].find("notes.txt"), std::string::npos);

  f.controller.AddInputs({"b.zil", "a.azk"});
  f.controller.RemoveInputs({0});
  EXPECT_EQ(f.view.values.inputs, std::vector<std::string>{"b.zil"});
}

TEST(AnalyzeController, OpenFolderShowsAFolderThatIsThere) {
  ControllerFixture f;
  f.view.values.outputFolder = f.dir.File("later");
  f.controller.OpenFolder();
  EXPECT_NE(f.view.problems[AnalysisField::OutputFolder].find("does not exist yet"),
            std::string::npos);
  f.view.values.outputFolder = f.dir.Path().string();
  f.controller.OpenFolder();
  EXPECT_EQ(f.view.problems[AnalysisField::OutputFolder], "");
  EXPECT_EQ(f.opened, std::vector<std::string>{f.dir.Path().string()});
}

}  // namespace
}  // namespace trelvox
