#include "record/FieldRecord.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/DiskFileChannels.h"
#include "platform/Errors.h"
#include "platform/Ui.h"
#include "record/Tokenizer.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace trelvox {
namespace {

using testing::ReadFile;
using testing::ScriptedPrompts;
using testing::TempDir;

FieldRecord Record(const std::vector<std::string>& values) {
  FieldRecord record;
  for (const std::string& value : values) {
    record.Append(value);
  }
  return record;
}

// A record holding `count` values "v".
FieldRecord Full(int count) {
  return Record(std::vector<std::string>(static_cast<std::size_t>(count), "v"));
}

}  // namespace

// Failures print the values, not the bytes of the object.
void PrintTo(const FieldRecord& record, std::ostream* out) {
  *out << record.Count() << " values:";
  for (const std::string& value : record.Values()) {
    *out << " '" << value << "'";
  }
}

namespace {

struct Toolkit {
  ScriptedPrompts prompts;
  DiskFileChannels files;
  Ui ui{prompts, files};
};

TEST(WriteRecord, JoinsValuesWithSingleTabsAndEndsWithCrLf) {
  struct Case {
    FieldRecord record;
    std::string line;
  };
  const std::vector<Case> cases = {
      {Record({"a", "", "b"}), "a\t\tb\r\n"},
      {EmptyRecord(), "\r\n"},
      {Record({"x"}), "x\r\n"},
      {Record({"", ""}), "\t\r\n"},
      {Record({"a\tb", "c d"}), "a\tb\tc d\r\n"},  // values are written unchanged
  };
  for (const Case& c : cases) {
    TempDir dir;
    Toolkit kit;
    const std::string path = dir.File("out.dat");
    ASSERT_EQ(kit.files.Open(1, path, OpenMode::Output).errorNumber, 0);
    WriteRecord(kit.files, 1, c.record);
    kit.files.Close(1);
    EXPECT_EQ(ReadFile(path), c.line);
  }
}

TEST(AppendValueToRecord, GrowsByOneAndKeepsInvariant) {
  FieldRecord record = EmptyRecord();
  AppendValueToRecord(record, "x");
  EXPECT_EQ(record.Values(), (std::vector<std::string>{"x"}));
  AppendValueToRecord(record, "");
  EXPECT_EQ(record.Values(), (std::vector<std::string>{"x", ""}));
  // A value of the record itself survives the record's storage growing under it.
  const std::string longValue(1000, 'y');
  AppendValueToRecord(record, longValue);
  for (int i = 0; i < 40; ++i) {
    AppendValueToRecord(record, record[RecordCount(record)]);
  }
  EXPECT_EQ(RecordCount(record), 43);
  EXPECT_EQ(record[43], longValue);
}

TEST(AppendValueToRecord, RefusesThe32768thValueWithoutChangingTheRecord) {
  FieldRecord record = Full(32767);
  EXPECT_THROW(AppendValueToRecord(record, "x"), OverflowError);
  EXPECT_EQ(RecordCount(record), 32767);
}

TEST(DeleteValueInRecord, RemovesByIndexWithOutOfRangeRules) {
  struct Case {
    int index;
    FieldRecord expected;
  };
  const std::vector<Case> cases = {
      {2, Record({"a", "c"})}, {1, Record({"b", "c"})},  {3, Record({"a", "b"})},
      {0, Record({"b", "c"})}, {-5, Record({"b", "c"})}, {9, Record({"a", "b"})},
      {4, Record({"a", "b"})},
  };
  for (const Case& c : cases) {
    FieldRecord record = Record({"a", "b", "c"});
    DeleteValueInRecord(record, c.index);
    EXPECT_EQ(record, c.expected) << "index " << c.index;
  }
}

TEST(DeleteValueInRecord, EmptyRecordStaysEmpty) {
  FieldRecord record = EmptyRecord();
  DeleteValueInRecord(record, 1);
  EXPECT_EQ(record, EmptyRecord());
  // The counter-line deletions on a record of two values end empty, never negative.
  record = Record({"a", "b"});
  for (int index : {5, 4, 2, 1}) {
    DeleteValueInRecord(record, index);
  }
  EXPECT_EQ(record, EmptyRecord());
}

TEST(InsertValueInRecord, PlacesValueOrRefusesOutOfRange) {
  struct Case {
    int index;
    FieldRecord expected;
    bool refused;
  };
  const std::vector<Case> cases = {
      {4, Record({"a", "b", "c", "x"}), false}, {1, Record({"x", "a", "b", "c"}), false},
      {2, Record({"a", "x", "b", "c"}), false}, {0, Record({"a", "b", "c"}), true},
      {5, Record({"a", "b", "c"}), true},       {-1, Record({"a", "b", "c"}), true},
  };
  for (const Case& c : cases) {
    Toolkit kit;
    FieldRecord record = Record({"a", "b", "c"});
    InsertValueInRecord(record, "x", c.index, kit.ui);
    EXPECT_EQ(record, c.expected) << "index " << c.index;
    if (c.refused) {
      ASSERT_EQ(kit.prompts.Shown().size(), 1u);
      EXPECT_EQ(kit.prompts.Shown()[0].text, "Error in InsertValueInRecord: Index out of range!");
      EXPECT_EQ(kit.prompts.Shown()[0].caption, "Trelvox");
    } else {
      EXPECT_TRUE(kit.prompts.Shown().empty());
    }
  }
}

TEST(InsertValueInRecord, IntoEmptyRecordAtOne) {
  Toolkit kit;
  FieldRecord record = EmptyRecord();
  InsertValueInRecord(record, "id", 1, kit.ui);
  EXPECT_EQ(record.Values(), (std::vector<std::string>{"id"}));
}

TEST(InsertValueInRecord, OverflowAtFullRecord) {
  Toolkit kit;
  FieldRecord record = Full(32767);
  EXPECT_THROW(InsertValueInRecord(record, "x", 1, kit.ui), OverflowError);
  EXPECT_EQ(RecordCount(record), 32767);
}

TEST(InsertLeadingValues, GivesWhatThreeSingleInsertsGive) {
  Toolkit kit;
  FieldRecord parsed;
  ParseString("   12  -3625.00  x", parsed, "S", kit.ui);  // room in front, arena just fitted
  const std::string longValue(300, 'L');                   // the arena must grow on the way
  for (const FieldRecord& start : {EmptyRecord(), Record({"a"}), Record({"a", "b", "c"}), parsed}) {
    for (const int set : {0, 1, 2}) {
      FieldRecord together = start;
      if (set == 2 && RecordCount(together) == 0) {
        continue;  // no values of its own
      }
      // Its own values too, which the growing arena must not leave behind.
      const std::vector<std::string_view> values =
          set == 0   ? std::vector<std::string_view>{"id", "date", "7"}
          : set == 1 ? std::vector<std::string_view>{"id", longValue, "7"}
                     : std::vector<std::string_view>{together[RecordCount(together)], longValue,
                                                     together[1]};
      const std::vector<std::string> copies(values.begin(), values.end());
      FieldRecord oneByOne = start;
      for (int i = 0; i < 3; ++i) {
        InsertValueInRecord(oneByOne, copies[static_cast<std::size_t>(i)], i + 1, kit.ui);
      }
      InsertLeadingValues(together, {values[0], values[1], values[2]});
      EXPECT_EQ(together, oneByOne) << set;
    }
  }
  FieldRecord full = Full(32765);
  EXPECT_THROW(InsertLeadingValues(full, {"a", "b", "c"}), OverflowError);
  EXPECT_EQ(RecordCount(full), 32765);
}

TEST(ReplaceChar, ReplacesAtEveryStartingPosition) {
  struct Case {
    std::string text, search, replacement, expected;
  };
  const std::vector<Case> cases = {
      {",12,,3,", ",", " ", " 12  3 "},
      {"", ",", " ", ""},
      {"a,b", ",", "", "ab"},
      {"a,b", ",", "--", "a--b"},
      {"abab", "ab", "X", "XbXb"},  // only the first character of
                                    // an occurrence is replaced
      {"aaa", "aa", "X", "XXa"},
      {"abc", "", "-", "---"},   // an empty search text matches
                                 // everywhere
      {"A,a", "a", "z", "A,z"},  // case-sensitive
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    ReplaceChar(text, c.search, c.replacement);
    EXPECT_EQ(text, c.expected) << "'" << c.text << "' search '" << c.search << "'";
  }
}

}  // namespace
}  // namespace trelvox
