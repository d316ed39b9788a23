#include "platform/Ui.h"

#include <gtest/gtest.h>

#include "platform/DiskFileChannels.h"
#include "support/TempDir.h"

namespace trelvox {
namespace {

using testing::ReadFile;
using testing::TempDir;

// Looks at the output file at the moment each box is shown.
class PeekingPrompts final : public Prompts {
 public:
  explicit PeekingPrompts(std::string path, bool waitsForUser = true)
      : path_(std::move(path)), waitsForUser_(waitsForUser) {}
  bool BoxesWaitForUser() const override { return waitsForUser_; }
  Answer ShowMessage(const MessageRequest&) override {
    seen.push_back(ReadFile(path_));
    return Answer::Yes;
  }
  std::string ShowInput(const InputRequest&) override {
    seen.push_back(ReadFile(path_));
    return "";
  }
  std::string ShowFileDialog(const FileDialogRequest&) override {
    seen.push_back(ReadFile(path_));
    return "";
  }
  std::vector<std::string> seen;

 private:
  std::string path_;
  bool waitsForUser_;
};

TEST(Ui, EveryBoxSeesTheRowsWrittenBeforeIt) {
  TempDir dir;
  const std::string path = dir.File("out.dat");
  DiskFileChannels files;
  PeekingPrompts prompts(path);
  Ui ui(prompts, files);
  ASSERT_EQ(files.Open(1, path, OpenMode::Output).errorNumber, 0);
  files.WriteLine(1, "a");
  ui.Message(MessageId::ParsingComplete, "m");
  files.WriteLine(1, "b");
  EXPECT_TRUE(ui.AskYesNo(MessageId::NewCompositeFile, "q"));
  files.WriteLine(1, "c");
  ui.Input(MessageId::TimeOutValue, "i");
  files.WriteLine(1, "d");
  ui.ChooseFile({MessageId::InputFile, FileDialogKind::Open, "t", "f|*"});
  EXPECT_EQ(prompts.seen, (std::vector<std::string>{"a\r\n", "a\r\nb\r\n", "a\r\nb\r\nc\r\n",
                                                    "a\r\nb\r\nc\r\nd\r\n"}));
}

TEST(Ui, BoxesThatWaitForNobodyLeaveTheRowsBufferedUntilTheFileCloses) {
  TempDir dir;
  const std::string path = dir.File("out.dat");
  DiskFileChannels files;
  PeekingPrompts prompts(path, false);
  Ui ui(prompts, files);
  ASSERT_EQ(files.Open(1, path, OpenMode::Output).errorNumber, 0);
  files.WriteLine(1, "a");
  ui.Message(MessageId::ParsingComplete, "m");
  EXPECT_TRUE(ui.AskYesNo(MessageId::NewCompositeFile, "q"));
  ui.Input(MessageId::TimeOutValue, "i");
  ui.ChooseFile({MessageId::InputFile, FileDialogKind::Open, "t", "f|*"});
  EXPECT_EQ(prompts.seen, (std::vector<std::string>{"", "", "", ""}));
  files.Close(1);
  EXPECT_EQ(ReadFile(path), "a\r\n");
}

}  // namespace
}  // namespace trelvox
