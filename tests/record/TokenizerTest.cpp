#include "record/Tokenizer.h"

#include <gtest/gtest.h>

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
