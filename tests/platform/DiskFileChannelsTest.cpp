#include "platform/DiskFileChannels.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/Errors.h"
#include "support/FullDisk.h"
#include "support/TempDir.h"

namespace trelvox {
namespace {

using testing::FullDisk;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The one buffer behind lines, rows and record values: its slack is writable at every size, and
// a larger buffer keeps the bytes asked for (ASan checks the writes).
TEST(SlackBuffer, KeepsItsSlackBehindEveryCapacity) {
  SlackBuffer buffer(4);
  std::memcpy(buffer.Data(), "abcd", 4);
  buffer.Data()[4 + kLineSlack - 1] = '#';
  buffer.Reallocate(64, 3);
  EXPECT_EQ(buffer.Capacity(), 64u);
  EXPECT_EQ(std::string_view(buffer.Data(), 3), "abc");
  buffer.Data()[64 + kLineSlack - 1] = '#';
  SlackBuffer taken = std::move(buffer);
  EXPECT_EQ(taken.Capacity(), 64u);
  EXPECT_EQ(buffer.Capacity(), 0u);  // what was moved from holds nothing
}

// The lines of the file, read both ways the parsers read: AtEnd and ReadLine, and ReadNext,
// whose end is a view without data.
std::vector<std::string> ReadAllLines(const std::string& path) {
  DiskFileChannels files;
  EXPECT_EQ(files.Open(1, path, OpenMode::Input).errorNumber, 0);
  EXPECT_EQ(files.Open(2, path, OpenMode::Input).errorNumber, 0);
  std::vector<std::string> lines;
  std::string line;
  while (!files.AtEnd(1)) {
    files.ReadLine(1, line);
    lines.push_back(line);
  }
  std::vector<std::string> inOneCallEach;
  for (std::string_view next; (next = files.ReadNext(2)).data() != nullptr;) {
    inOneCallEach.emplace_back(next);
  }
  EXPECT_EQ(inOneCallEach, lines);
  EXPECT_EQ(files.ReadNext(2).data(), nullptr);  // and stays at the end
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

TEST(DiskFileChannels, LineEndsSplitAcrossBufferLoadsEndOneLine) {
  TempDir dir;
  const std::string path = dir.File("big.txt");
  // Loads are 64 KiB: the lengths put the terminator of the long line on either side of a
  // load boundary, and make it longer than one or several loads.
  for (const std::string end : {"\r\n", "\n", "\r"}) {
    for (const std::size_t length : {65533u, 65534u, 65535u, 65536u, 131071u, 200000u}) {
      const std::string longLine(length, 'x');
      WriteFile(path, longLine + end);
      EXPECT_EQ(ReadAllLines(path), std::vector<std::string>{longLine}) << length;
      WriteFile(path, "a" + end + longLine + end + "second" + end + end + "last");
      const std::vector<std::string> expected{"a", longLine, "second", "", "last"};
      EXPECT_EQ(ReadAllLines(path), expected) << length << " " << end.size();
    }
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

// A row formatted in place: `text` and CR LF into the room, and the slack after it scribbled on.
void FormatLine(DiskFileChannels& files, std::int16_t channel, std::string_view text) {
  char* room = files.LineRoom(channel, text.size() + 2);
  text.copy(room, text.size());
  std::memcpy(room + text.size(), "\r\n", 2);
  std::memset(room + text.size() + 2, '#', kLineSlack);
}

TEST(DiskFileChannels, OutputIsBufferedUntilFlushOrClose) {
  TempDir dir;
  const std::string path = dir.File("out.dat");
  DiskFileChannels files;
  ASSERT_EQ(files.Open(1, path, OpenMode::Output).errorNumber, 0);
  files.WriteLine(1, "row");
  FormatLine(files, 1, "in place");
  EXPECT_EQ(ReadFile(path), "");
  files.FlushAll();
  EXPECT_EQ(ReadFile(path), "row\r\nin place\r\n");
  files.WriteLine(1, "more");
  files.Close(1);
  EXPECT_EQ(ReadFile(path), "row\r\nin place\r\nmore\r\n");
}

TEST(DiskFileChannels, LargeOutputIsWrittenCompletely) {
  TempDir dir;
  const std::string path = dir.File("out.dat");
  DiskFileChannels files;
  ASSERT_EQ(files.Open(1, path, OpenMode::Output).errorNumber, 0);
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    // One row longer than a buffer, formatted in place too.
    const std::string row = i == 9999 ? std::string(100000, 'y') : "row\t" + std::to_string(i);
    if (i % 3 == 0) {
      FormatLine(files, 1, row);  // a full buffer is written at the next call
    } else {
      files.WriteLine(1, row);
    }
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
