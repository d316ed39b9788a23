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

  int Open(const std::string& path, std::int16_t& channel, OpenMode mode) {
    return OpenFile(files, ui, path, channel, mode);
  }
};

TEST_F(FileHelpers, OpenModesBehaveAsDocumented) {
  struct Case {
    OpenMode mode;
    bool exists;
    std::string write;     // line written after opening, if any
    std::string expected;  // file content afterwards
  };
  const std::vector<Case> cases = {
      {OpenMode::Append, false, "new", "new\r\n"},
      {OpenMode::Append, true, "new", "old\r\nnew\r\n"},
      {OpenMode::Output, true, "", ""},
      {OpenMode::Output, true, "new", "new\r\n"},
      {OpenMode::Output, false, "new", "new\r\n"},
      {OpenMode::Input, true, "", "old\r\n"},
  };
  int number = 0;
  for (const Case& c : cases) {
    const std::string path = dir.File("mode-" + std::to_string(++number) + ".txt");
    if (c.exists) {
      WriteFile(path, "old\r\n");
    }
    std::int16_t channel = 0;
    ASSERT_EQ(Open(path, channel, c.mode), 0) << number;
    EXPECT_TRUE(files.IsOpen(channel));
    if (!c.write.empty()) {
      files.WriteLine(channel, c.write);
    }
    files.Close(channel);
    EXPECT_EQ(ReadFile(path), c.expected) << number;
  }
  EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(FileHelpers, ReadingAMissingFileShowsBothMessagesAndFails) {
  std::int16_t channel = 0;
  const std::string path = dir.File("missing.azk");
  EXPECT_GT(Open(path, channel, OpenMode::Input), 0);
  EXPECT_EQ(channel, 1);  // set although the open failed
  EXPECT_FALSE(files.IsOpen(channel));
  ASSERT_EQ(prompts.Messages().size(), 2u);
  EXPECT_EQ(prompts.Messages()[0], "No such file or directory");
  EXPECT_EQ(prompts.Messages()[1], "Error opening file: " + path);
  EXPECT_EQ(prompts.Shown()[1].caption, "Trelvox");
}

TEST_F(FileHelpers, ChannelsAreTheLowestFreeNumbers) {
  std::int16_t first = 0, second = 0, third = 0;
  ASSERT_EQ(Open(dir.File("1"), first, OpenMode::Output), 0);
  ASSERT_EQ(Open(dir.File("2"), second, OpenMode::Output), 0);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  files.Close(first);
  ASSERT_EQ(Open(dir.File("3"), third, OpenMode::Output), 0);
  EXPECT_EQ(third, 1);
}

TEST_F(FileHelpers, OpeningAFolderFailsWithItsReason) {
  std::int16_t channel = 0;
  EXPECT_GT(Open(dir.Path().string(), channel, OpenMode::Input), 0);
  ASSERT_EQ(prompts.Messages().size(), 2u);
  EXPECT_EQ(prompts.Messages()[0], "Is a directory");
}

TEST_F(FileHelpers, GetFileNameShowsTheDialogOfItsType) {
  struct Case {
    FileDialogKind type;
    ShownBox::Kind kind;
    bool confirm;
  };
  for (const Case& c : {Case{FileDialogKind::Open, ShownBox::Kind::OpenDialog, false},
                        Case{FileDialogKind::Save, ShownBox::Kind::SaveDialog, true}}) {
    ScriptedPrompts script;
    Ui scriptedUi(script, files);
    script.Choose("/data/x.dat");
    std::string name = "stale";
    EXPECT_EQ(GetFileName(scriptedUi, name,
                          {MessageId::CompositeFile, c.type, "Designate Composite file",
                           "Composite Files (*.dat)|*.dat"}),
              "/data/x.dat");
    EXPECT_EQ(name, "/data/x.dat");
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
  EXPECT_EQ(GetFileName(ui, name,
                        {MessageId::InputFile, FileDialogKind::Open, "Open AZK or ZIL file",
                         "DMDX Files (*.*)|*.*"}),
            "");
  EXPECT_EQ(name, "");
}

}  // namespace
}  // namespace trelvox
