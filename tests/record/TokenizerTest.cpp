#include "record/Tokenizer.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/DiskFileChannels.h"
#include "platform/Errors.h"
#include "platform/Ui.h"
#include "support/ScriptedPrompts.h"

namespace trelvox {
namespace {

using testing::ScriptedPrompts;

struct Toolkit {
  ScriptedPrompts prompts;
  DiskFileChannels files;
  Ui ui{prompts, files};
};

struct Case {
  std::string line;
  std::string identifier;
  std::vector<std::string> fields;
};

TEST(ParseString, CutsLinesByIdentifier) {
  const std::vector<Case> cases = {
      {"  12  34 ", "S", {"12", "34"}},
      {"  12  34  ", "S", {"12", "34", ""}},
      {"   ", "S", {""}},
      {" ", "S", {""}},
      {"a\tb", "S", {"a\tb"}},
      {"a b", "S", {"a", "b"}},
      {"    14  -3625.00", "S", {"14", "-3625.00"}},
      {"", "S", {}},
      {"a\t\tb", "T", {"a", "", "b"}},
      {"a\t", "T", {"a"}},
      {"a\t\t", "T", {"a", ""}},
      {"\ta", "T", {"", "a"}},
      {"\t", "T", {""}},
      {"\t\t\t", "T", {"", "", ""}},
      {"a b\tc", "T", {"a b", "c"}},
      {"", "T", {}},
      {"", "s", {}},  // an empty line never reaches the identifier test
      {"", "x", {}},
  };
  for (const Case& c : cases) {
    Toolkit kit;
    FieldRecord record{"old", "values"};
    ParseString(c.line, record, c.identifier, kit.ui);
    EXPECT_EQ(record.Values(), c.fields) << "line '" << c.line << "' identifier " << c.identifier;
    EXPECT_TRUE(kit.prompts.Shown().empty());
  }
}

// The rules of CutsLinesByIdentifier, one byte at a time, for lines of any length.
std::vector<std::string> CutOneByteAtATime(std::string_view line, char identifier) {
  std::vector<std::string> fields;
  const char separator = identifier == 'S' ? ' ' : '\t';
  std::size_t at = 0;
  while (at < line.size()) {
    if (identifier == 'S') {
      while (at < line.size() && line[at] == ' ') {
        ++at;
      }
    }
    std::size_t end = at;
    while (end < line.size() && line[end] != separator) {
      ++end;
    }
    fields.emplace_back(line.substr(at, end - at));
    at = end + 1;
  }
  return fields;
}

// Lines are cut 16 and 64 bytes at a time: random lines of blanks, tabs and letters, up to
// three windows long, cut as the byte-by-byte rules cut them.
TEST(ParseString, LongLinesAreCutAsOneByteAtATime) {
  Toolkit kit;
  std::mt19937 random(11);
  const std::string bytes = "  \t\tab";
  FieldRecord record;
  for (int i = 0; i < 20000; ++i) {
    std::string line(random() % 200, ' ');
    for (char& byte : line) {
      byte = bytes[random() % (random() % 2 ? 2 : bytes.size())];  // long runs as well
    }
    for (const char identifier : {'S', 'T'}) {
      ParseString(line, record, std::string(1, identifier), kit.ui);
      ASSERT_EQ(record.Values(), CutOneByteAtATime(line, identifier))
          << identifier << " '" << line << "'";
    }
  }
}

TEST(ParseString, TwoHundredFiftyFieldsGiveExactly251Elements) {
  Toolkit kit;
  std::string line;
  for (int i = 1; i <= 250; ++i) {
    if (i > 1) {
      line += ' ';
    }
    line += std::to_string(i);
  }
  FieldRecord record;
  ParseString(line, record, "S", kit.ui);
  ASSERT_EQ(RecordCount(record), 250);
  EXPECT_EQ(record[1], "1");
  EXPECT_EQ(record[250], "250");
}

TEST(ParseString, UnknownIdentifierShowsMessageAndLeavesEmptyRecord) {
  for (const std::string identifier : {"s", "t", "X", "ST", ""}) {
    Toolkit kit;
    FieldRecord record{"a", "b"};
    ParseString("a", record, identifier, kit.ui);
    EXPECT_EQ(record, EmptyRecord());
    ASSERT_EQ(kit.prompts.Messages().size(), 1u);
    EXPECT_EQ(kit.prompts.Messages()[0],
              "Error in ParseString(), Unknown Identifier: " + identifier);
  }
}

TEST(ParseString, AcceptsThe32700thFieldAndRefusesThe32701st) {
  Toolkit kit;
  const auto line = [](int fields) {
    std::string text;
    for (int i = 0; i < fields; ++i) {
      text += "x\t";
    }
    return text;
  };
  FieldRecord record;
  ParseString(line(32700), record, "T", kit.ui);
  EXPECT_EQ(RecordCount(record), 32700);
  EXPECT_THROW(ParseString(line(32701), record, "T", kit.ui), OverflowError);
}

}  // namespace
}  // namespace trelvox
