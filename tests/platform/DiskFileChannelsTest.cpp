#include "platform/DiskFileChannels.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "support/FullDisk.h"
#include "support/TempDir.h"

namespace trelvox {
namespace {

using testing::FullDisk;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> ReadAllLines(const std::string& path) {
  DiskFileChannels files;
  EXPECT_EQ(files.Open(1, path, OpenMode::Input).errorNumber, 0);
  std::vector<std::string> lines;
  std::string line;
  while (!files.AtEnd(1)) {
    files.ReadLine(1, line);
    lines.push_back(line);
  }
  return lines;
}

TEST(DiskFileChannels, ReadsLinesWithEveryTerminator) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},      // no final terminator
      {"a\n\rb", {"a", "", "b"}},  // LF then a lone CR: two terminators
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"\r\n", {""}},
      {"", {}},
      {"  x \t\r\n", {"  x \t"}},
      {"a\r\r\nb", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir.File("in.txt"), c.bytes);
    EXPECT_EQ(ReadAllLines(dir.File("in.txt")), c.lines) << ::testing::PrintToString(c.bytes);
  }
}

TEST(DiskFileChannels, CrLfSplitAcrossBufferLoadsIsOneTerminator) {
  TempDir dir;
  for (std::size_t length : {65535u, 65536u, 65534u, 131071u}) {
    const std::string first(length, 'x');
    WriteFile(dir.File("big.txt"), first + "\r\nsecond\r\n");
    const std::vector<std::string> lines = ReadAllLines(dir.File("big.txt"));
    ASSERT_EQ(lines.size(), 2u) << length;
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "second");
  }
}

TEST(DiskFileChannels, EndOfFileComesRightAfterTheLastLine) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), "header\r\n");
  DiskFileChannels files;
  ASSERT_EQ(files.Open(1, dir.File("in.txt"), OpenMode::Input).errorNumber, 0);
  EXPECT_FALSE(files.AtEnd(1));
  std::string line;
  files.ReadLine(1, line);
  EXPECT_EQ(line, "header");
  EXPECT_TRUE(files.AtEnd(1));
  files.ReadLine(1, line);  // reading at the end gives the empty text
  EXPECT_EQ(line, "");
}

TEST(DiskFileChannels, WritesCrLfAndAppendsAfterTheLastLine) {
  TempDir dir;
  const std::string path = dir.File("out.dat");
  WriteFile(path, "old\r\n");
  DiskFileChannels files;
  ASSERT_EQ(files.Open(3, path, OpenMode::Append).errorNumber, 0);
  files.WriteLine(3, "one");
  files.WriteLine(3, "");
  files.Close(3);
  EXPECT_EQ(ReadFile(path), "old\r\none\r\n\r\n");
}

TEST(DiskFileChannels, OutputIsBufferedUntilFlushOrClose) {
  TempDir dir;
  const std::string path = dir.File("out.dat");
  DiskFileChannels files;
  ASSERT_EQ(files.Open(1, path, OpenMode::Output).errorNumber, 0);
  files.WriteLine(1, "row");
  EXPECT_EQ(ReadFile(path), "");
  files.FlushAll();
  EXPECT_EQ(ReadFile(path), "row\r\n");
  files.WriteLine(1, "more");
  files.Close(1);
  EXPECT_EQ(ReadFile(path), "row\r\nmore\r\n");
}

TEST(DiskFileChannels, LargeOutputIsWrittenCompletely) {
  TempDir dir;
  const std::string path = dir.File("out.dat");
  DiskFileChannels files;
  ASSERT_EQ(files.Open(1, path, OpenMode::Output).errorNumber, 0);
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    const std::string row = "row\t" + std::to_string(i);
    files.WriteLine(1, row);
    expected += row + "\r\n";
  }
  files.Close(1);
  EXPECT_EQ(ReadFile(path), expected);
}

TEST(DiskFileChannels, ClosingAChannelThatIsNotOpenDoesNothing) {
  DiskFileChannels files;
  EXPECT_NO_THROW(files.Close(0));
  EXPECT_NO_THROW(files.Close(7));
  EXPECT_NO_THROW(files.Close(-1));
  EXPECT_NO_THROW(files.Close(300));
  EXPECT_NO_THROW(files.CloseQuietly(7));
  EXPECT_TRUE(files.AtEnd(7));
}

TEST(DiskFileChannels, FreeChannelIsTheLowestUnused) {
  TempDir dir;
  DiskFileChannels files;
  EXPECT_EQ(files.FreeChannel(), 1);
  for (int i = 1; i <= 255; ++i) {
    ASSERT_EQ(
        files.Open(files.FreeChannel(), dir.File(std::to_string(i)), OpenMode::Output).errorNumber,
        0);
  }
  EXPECT_EQ(files.FreeChannel(), 0);
  files.Close(17);
  EXPECT_EQ(files.FreeChannel(), 17);
}

TEST(DiskFileChannels, FailedOpenLeavesTheChannelFree) {
  TempDir dir;
  DiskFileChannels files;
  const OpenResult result = files.Open(1, dir.File("nope/x.txt"), OpenMode::Output);
  EXPECT_GT(result.errorNumber, 0);
  EXPECT_EQ(result.description, "No such file or directory");
  EXPECT_FALSE(files.IsOpen(1));
  EXPECT_EQ(files.FreeChannel(), 1);
}

// The full disk accepts the open and refuses every write with "No space left on device".
TEST(DiskFileChannels, DiskFullIsAnErrorNamingThePath) {
  TempDir dir;
  FullDisk disk;
  disk.FillAll();
  DiskFileChannels files(&disk);
  ASSERT_EQ(files.Open(1, dir.File("full.dat"), OpenMode::Append).errorNumber, 0);
  files.WriteLine(1, "row");
  try {
    files.Close(1);
    FAIL() << "a write to a full disk was taken for a success";
  } catch (const WriteError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Could not write to " + dir.File("full.dat") + ": No space left on device");
  }
  EXPECT_FALSE(files.IsOpen(1));
}

// The real device, where there is one.
TEST(DiskFileChannels, DevFullIsAFullDisk) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full on this system";
  }
  DiskFileChannels files;
  ASSERT_EQ(files.Open(1, "/dev/full", OpenMode::Append).errorNumber, 0);
  files.WriteLine(1, "row");
  EXPECT_THROW(files.Close(1), WriteError);
}

TEST(DiskFileChannels, DiskFullDuringFlushReleasesTheChannel) {
  TempDir dir;
  FullDisk disk;
  disk.FillAll();
  DiskFileChannels files(&disk);
  ASSERT_EQ(files.Open(1, dir.File("full.dat"), OpenMode::Output).errorNumber, 0);
  files.WriteLine(1, "row");
  EXPECT_THROW(files.FlushAll(), WriteError);
  EXPECT_FALSE(files.IsOpen(1));
  EXPECT_NO_THROW(files.FlushAll());
  EXPECT_THROW(files.WriteLine(1, "again"), TrelvoxError);
}

TEST(DiskFileChannels, CloseQuietlyNeverRaises) {
  TempDir dir;
  FullDisk disk;
  disk.FillAll();
  DiskFileChannels files(&disk);
  ASSERT_EQ(files.Open(1, dir.File("full.dat"), OpenMode::Output).errorNumber, 0);
  files.WriteLine(1, "row");
  EXPECT_NO_THROW(files.CloseQuietly(1));
  EXPECT_FALSE(files.IsOpen(1));
}

TEST(DiskFileChannels, WritingToAnInputChannelIsRefused) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), "a\r\n");
  DiskFileChannels files;
  ASSERT_EQ(files.Open(1, dir.File("in.txt"), OpenMode::Input).errorNumber, 0);
  EXPECT_THROW(files.WriteLine(1, "x"), WriteError);
  files.Close(1);
  EXPECT_EQ(ReadFile(dir.File("in.txt")), "a\r\n");
}

}  // namespace
}  // namespace trelvox
