#include "record/FileHelpers.h"

#include <gtest/gtest.h>

#include "platform/DiskFileChannels.h"
#include "platform/Ui.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace trelvox {
namespace {

using testing::ReadFile;
using testing::ScriptedPrompts;
using testing::ShownBox;
using testing::TempDir;
using testing::WriteFile;

struct FileHelpers : ::testing::Test {
  TempDir dir;
  ScriptedPrompts prompts;
  DiskFileChannels files;
  Ui ui{prompts, files};

  int Open(const std::string& path, std::int16_t& channel, std::string method) {
    return OpenFile(files, ui, path, channel, method);
  }
};

TEST_F(FileHelpers, OpenModesBehaveAsDocumented) {
  struct Case {
    std::string method;
    bool exists;
    std::string write;     // line written after opening, if any
    std::string expected;  // file content afterwards
  };
  const std::vector<Case> cases = {
      {"a", false, "new", "new\r\n"},
      {"A", true, "new", "old\r\nnew\r\n"},
      {"o", true, "", ""},
      {"O", true, "new", "new\r\n"},
      {"O", false, "new", "new\r\n"},
      {"i", true, "", "old\r\n"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File("mode-" + c.method + (c.exists ? "-x" : "") + ".txt");
    if (c.exists) {
      WriteFile(path, "old\r\n");
    }
    std::int16_t channel = 0;
    std::string method = c.method;
    ASSERT_EQ(OpenFile(files, ui, path, channel, method), 0) << c.method;
    EXPECT_EQ(method, UpperCase(c.method));
    EXPECT_TRUE(files.IsOpen(channel));
    if (!c.write.empty()) {
      files.WriteLine(channel, c.write);
    }
    files.Close(channel);
    EXPECT_EQ(ReadFile(path), c.expected) << c.method;
  }
  EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(FileHelpers, ReadingAMissingFileShowsBothMessagesAndFails) {
  std::int16_t channel = 0;
  const std::string path = dir.File("missing.azk");
  EXPECT_GT(Open(path, channel, "I"), 0);
  EXPECT_EQ(channel, 1);  // set although the open failed
  EXPECT_FALSE(files.IsOpen(channel));
  ASSERT_EQ(prompts.Messages().size(), 2u);
  EXPECT_EQ(prompts.Messages()[0], "No such file or directory");
  EXPECT_EQ(prompts.Messages()[1], "Error opening file: " + path);
  EXPECT_EQ(prompts.Shown()[1].caption, "Trelvox");
}

TEST_F(FileHelpers, ChannelsAreTheLowestFreeNumbers) {
  std::int16_t first = 0, second = 0, third = 0;
  ASSERT_EQ(Open(dir.File("1"), first, "O"), 0);
  ASSERT_EQ(Open(dir.File("2"), second, "O"), 0);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  files.Close(first);
  ASSERT_EQ(Open(dir.File("3"), third, "O"), 0);
  EXPECT_EQ(third, 1);
}

TEST_F(FileHelpers, UndefinedMethodReportsAndFailsWithoutOpening) {
  std::int16_t channel = 0;
  std::string method = "x";
  EXPECT_GT(OpenFile(files, ui, dir.File("never"), channel, method), 0);
  EXPECT_EQ(method, "X");
  EXPECT_FALSE(files.IsOpen(channel));
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"Method in OpenFile() Not Defined: X"});
  EXPECT_FALSE(std::filesystem::exists(dir.File("never")));
}

TEST_F(FileHelpers, OpeningAFolderFailsWithItsReason) {
  std::int16_t channel = 0;
  EXPECT_GT(Open(dir.Path().string(), channel, "I"), 0);
  ASSERT_EQ(prompts.Messages().size(), 2u);
  EXPECT_EQ(prompts.Messages()[0], "Is a directory");
}

TEST_F(FileHelpers, GetFileNameShowsTheDialogOfItsType) {
  struct Case {
    std::string type;
    ShownBox::Kind kind;
    bool confirm;
  };
  for (const Case& c :
       {Case{"o", ShownBox::Kind::OpenDialog, false}, Case{"S", ShownBox::Kind::SaveDialog, true},
        Case{"s", ShownBox::Kind::SaveDialog, true}}) {
    ScriptedPrompts script;
    Ui scriptedUi(script, files);
    script.Choose("/data/x.dat");
    std::string name = "stale";
    std::string type = c.type;
    EXPECT_EQ(GetFileName(scriptedUi, name, type, "Designate Composite file",
                          "Composite Files (*.dat)|*.dat"),
              "/data/x.dat");
    EXPECT_EQ(name, "/data/x.dat");
    EXPECT_EQ(type, UpperCase(c.type));
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Shown()[0].kind, c.kind);
    EXPECT_EQ(script.Shown()[0].caption, "Designate Composite file");
    EXPECT_EQ(script.Shown()[0].filter, "Composite Files (*.dat)|*.dat");
    EXPECT_EQ(script.Shown()[0].confirmOverwrite, c.confirm);
  }
}

TEST_F(FileHelpers, CancelledDialogGivesEmptyName) {
  prompts.Cancel();
  std::string name = "stale";
  std::string type = "O";
  EXPECT_EQ(GetFileName(ui, name, type, "Open AZK or ZIL file", "DMDX Files (*.*)|*.*"), "");
  EXPECT_EQ(name, "");
}

TEST_F(FileHelpers, UndefinedDialogTypeReportsAndReturnsEmpty) {
  std::string name = "stale";
  std::string type = "x";
  EXPECT_EQ(GetFileName(ui, name, type, "t", "f|*"), "");
  EXPECT_EQ(name, "");
  EXPECT_EQ(prompts.Messages(),
            std::vector<std::string>{"DialogType in GetFileName() Not Defined: X"});
}

}  // namespace
}  // namespace trelvox
