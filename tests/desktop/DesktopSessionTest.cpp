// What the desktop programs share beyond their windows: the options dialog's boxes bound to the
// run's switches, and the running of a command from the menu.
#include "desktop/DesktopSession.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/OptionBoxes.h"
#include "support/ScriptedPrompts.h"

namespace trelvox {
namespace {

using testing::ScriptedPrompts;

// ---- the options dialog's boxes ------------------------------------------------------------

class TickedBoxes final : public OptionBoxes {
 public:
  bool IsChecked(SaveOptionsControl box) const override {
    const auto found = ticked.find(box);
    return found != ticked.end() && found->second;
  }
  void SetChecked(SaveOptionsControl box, bool checked) override { ticked[box] = checked; }

  std::map<SaveOptionsControl, bool> ticked;
};

std::vector<bool> Flags(const RunOptions& options) {
  return {options.SaveIndFiles, options.SaveCounters, options.ZORFormat, options.COTIncluded};
}

struct BoxCase {
  SaveOptionsControl box;
  std::vector<bool> flags;  // SaveIndFiles, SaveCounters, ZORFormat, COTIncluded
  bool choosesFiles;
};

// Each box edits its own switch and no other, both ways; only the two file switches are set
// again when "Change Save Options" finds the dialog open.
TEST(OptionBindings, EachBoxEditsItsOwnSwitch) {
  const BoxCase cases[] = {
      {SaveOptionsControl::ChkIndFiles, {true, false, false, false}, true},
      {SaveOptionsControl::chkSaveCounters, {false, true, false, false}, true},
      {SaveOptionsControl::chkZOR, {false, false, true, false}, false},
      {SaveOptionsControl::chkCOT, {false, false, false, true}, false},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(Described(c.box).name);
    TickedBoxes boxes;
    boxes.SetChecked(c.box, true);
    RunOptions stored;
    stored.SaveIndFiles = stored.SaveCounters = stored.ZORFormat = stored.COTIncluded = true;
    StoreOptions(boxes, stored);
    EXPECT_EQ(Flags(stored), c.flags);

    TickedBoxes shown;
    ShowOptions(stored, shown);
    EXPECT_EQ(shown.ticked.size(), 4u);
    for (const auto& [box, checked] : shown.ticked) {
      EXPECT_EQ(checked, box == c.box) << Described(box).name;
    }

    TickedBoxes open;
    for (const OptionBinding& binding : OptionBindings()) {
      open.SetChecked(binding.box, true);
    }
    ShowFileOptions(RunOptions{}, open);
    EXPECT_EQ(open.IsChecked(c.box), !c.choosesFiles);
  }
}

// ---- running a command ---------------------------------------------------------------------

class RecordedPointer final : public BusyPointer {
 public:
  void Show() override { steps.push_back("busy"); }
  void Restore() override { steps.push_back("normal"); }
  std::vector<std::string> steps;
};

struct RunCase {
  const char* name;
  CommandFunction command;
  CommandOutcome outcome;
  std::vector<std::string> steps;
  std::vector<std::string> problems;
};

TEST(CommandRunner, RunsUnderTheBusyPointerAndEndsWhatItThrowsInAProblemBox) {
  RecordedPointer pointer;
  const RunCase cases[] = {
      {"completes",
       [&pointer](Session& session) {
         pointer.steps.push_back("ran");
         session.ui.Message(MessageId::ParsingComplete, "Parsing Complete!");
         return CommandOutcome::Completed;
       },
       CommandOutcome::Completed,
       {"busy", "ran", "normal"},
       {}},
      {"cancelled",
       [](Session&) { return CommandOutcome::Cancelled; },
       CommandOutcome::Cancelled,
       {"busy", "normal"},
       {}},
      {"throws",
       [&pointer](Session&) -> CommandOutcome {
         pointer.steps.push_back("ran");
         throw std::runtime_error("out of memory");
       },
       CommandOutcome::Failed,
       {"busy", "ran", "normal"},
       {"out of memory"}},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    pointer.steps.clear();
    ScriptedPrompts boxes;
    DesktopOptions options;
    options.parseAll = c.command;
    options.parseOneSubject = [](Session&) -> CommandOutcome {
      throw std::logic_error("the other command ran");
    };
    DesktopSession session(std::move(options), boxes);
    EXPECT_EQ(session.RunParseAll(pointer), c.outcome);
    EXPECT_EQ(pointer.steps, c.steps);
    std::vector<std::string> problems;
    for (const testing::ShownBox& box : boxes.Shown()) {
      if (box.tone == Tone::Problem) {
        problems.push_back(box.text);
        EXPECT_EQ(box.caption, kAppTitle);
      }
    }
    EXPECT_EQ(problems, c.problems);
  }
}

}  // namespace
}  // namespace trelvox
