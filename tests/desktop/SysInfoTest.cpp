// The About box's lookup of the system information tool, and starting it.
#include "desktop/SysInfo.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "support/SessionFixture.h"

namespace trelvox {
namespace {

using testing::SessionFixture;

// ---- the registry lookup -------------------------------------------------------------------

// A registry held in memory; counts every open and close.
class FakeRegistry final : public RegistryReader {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::string data;  // as stored, terminating zero included where there is one
    long status = 0;
    std::int64_t reportedSize = -1;  // the size handed back; the data's size when negative
  };

  void Put(const std::string& key, const std::string& name, Value value) {
    keys_.insert(key);
    values_[{key, name}] = std::move(value);
  }
  void PutKey(const std::string& key) { keys_.insert(key); }

  long OpenKey(std::uint32_t root, const std::string& path, std::uint32_t access,
               RegistryKey& key) override {
    ++opens;
    lastAccess = access;
    if (root != kHkeyLocalMachine || keys_.count(path) == 0) {
      return 2;  // not found
    }
    opened_.push_back(path);
    key = opened_.size();
    return 0;
  }

  long QueryValue(RegistryKey key, const std::string& name, std::uint32_t& type, std::string& data,
                  std::uint32_t& size) override {
    bufferSizes.push_back(data.size());
    const auto found = values_.find({opened_.at(key - 1), name});
    if (found == values_.end()) {
      return 2;
    }
    const Value& value = found->second;
    if (value.status != 0) {
      return value.status;
    }
    type = value.type;
    if (value.data.size() > data.size()) {
      size = static_cast<std::uint32_t>(value.data.size());
      return kErrorMoreData;
    }
    data.replace(0, value.data.size(), value.data);
    size = value.reportedSize < 0 ? static_cast<std::uint32_t>(value.data.size())
                                  : static_cast<std::uint32_t>(value.reportedSize);
    return 0;
  }

  void CloseKey(RegistryKey key) override { closedKeys.push_back(key); }

  std::string ExpandText(const std::string& text) override {
    std::string expanded = text;
    const std::string name = "%SystemRoot%";
    for (std::size_t at; (at = expanded.find(name)) != std::string::npos;) {
      expanded.replace(at, name.size(), "C:\\Windows");
    }
    return expanded;
  }

  int opens = 0;
  std::uint32_t lastAccess = 0;
  std::vector<std::size_t> bufferSizes;
  std::vector<RegistryKey> closedKeys;

 private:
  std::set<std::string> keys_;
  std::map<std::pair<std::string, std::string>, Value> values_;
  std::vector<std::string> opened_;
};

constexpr const char* kKey = "SOFTWARE\\Test";

struct KeyValueCase {
  const char* name = "";
  FakeRegistry::Value stored;
  std::string before;  // what the caller passes in
  bool read = false;
  std::string after;
};

void PrintTo(const KeyValueCase& c, std::ostream* out) {
  *out << c.name;
}

class KeyValueReading : public ::testing::TestWithParam<KeyValueCase> {};

TEST_P(KeyValueReading, TrimsAndConvertsByType) {
  FakeRegistry registry;
  registry.Put(kKey, "V", GetParam().stored);
  std::string value = GetParam().before;
  EXPECT_EQ(GetKeyValue(registry, kHkeyLocalMachine, kKey, "V", value), GetParam().read);
  EXPECT_EQ(value, GetParam().after);
  EXPECT_EQ(registry.lastAccess, 0x20019u);  // KEY_READ
  ASSERT_FALSE(registry.bufferSizes.empty());
  EXPECT_EQ(registry.bufferSizes.front(), 1024u);
  EXPECT_EQ(registry.closedKeys, std::vector<RegistryKey>{1});
}

// Built field by field rather than as nested braces: GCC 12 at -O3 otherwise warns falsely
// (-Wmaybe-uninitialized) about the strings inside the cases.
KeyValueCase Case(const char* name, std::uint32_t type, std::string data, std::string before,
                  bool read, std::string after, long status = 0, std::int64_t reportedSize = -1) {
  KeyValueCase c;
  c.name = name;
  c.stored.type = type;
  c.stored.data = std::move(data);
  c.stored.status = status;
  c.stored.reportedSize = reportedSize;
  c.before = std::move(before);
  c.read = read;
  c.after = std::move(after);
  return c;
}

std::vector<KeyValueCase> KeyValueCases() {
  std::vector<KeyValueCase> cases;
  cases.push_back(Case("TextWithItsZero", kRegSz, std::string("C:\\msinfo32.exe\0", 16), "", true,
                       "C:\\msinfo32.exe"));
  cases.push_back(Case("TextWithoutZero", kRegSz, "C:\\tool", "old", true, "C:\\tool"));
  cases.push_back(Case("OnlyTheLastZeroGoes", kRegSz, std::string("ab\0\0", 4), "", true,
                       std::string("ab\0", 3)));
  cases.push_back(Case("SizeBeyondTheDataReadsTheBuffersZeros", kRegSz, "abc", "", true,
                       std::string("abc\0", 4), 0, 5));
  cases.push_back(Case("Number", kRegDword, std::string("\x02\x01\x00\x00", 4), "", true, "258"));
  cases.push_back(
      Case("NumberWithEveryByte", kRegDword, "\x78\x56\x34\x12", "", true, "305419896"));
  cases.push_back(Case("OtherTypeKeepsTheCallersText", 3, "\x01\x02", "kept", true, "kept"));
  cases.push_back(Case("QueryFails", kRegSz, "x", "old", false, "", 5));
  cases.push_back(Case("ExpandableTextIsExpanded", kRegExpandSz,
                       std::string("%SystemRoot%\\system32\\msinfo32.exe\0", 35), "", true,
                       "C:\\Windows\\system32\\msinfo32.exe"));
  const std::string longPath = "C:\\" + std::string(1100, 'x') + "\\msinfo32.exe";
  cases.push_back(
      Case("ALongValueIsReadWhole", kRegSz, longPath + std::string(1, '\0'), "", true, longPath));
  cases.push_back(Case("AValueOfExactlyTheBufferSize", kRegSz, std::string(1024, 'y'), "", true,
                       std::string(1024, 'y')));
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Values, KeyValueReading, ::testing::ValuesIn(KeyValueCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GetKeyValue, AMissingKeyEmptiesTheTextAndStillClosesTheNullHandle) {
  FakeRegistry registry;
  std::string value = "old";
  EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "V", value));
  EXPECT_EQ(value, "");
  EXPECT_EQ(registry.closedKeys, std::vector<RegistryKey>{0});
}

TEST(GetKeyValue, AValueOfNoBytesRaisesAndClosesTheKey) {
  FakeRegistry registry;
  registry.Put(kKey, "V", {kRegSz, ""});
  std::string value;
  EXPECT_THROW(GetKeyValue(registry, kHkeyLocalMachine, kKey, "V", value), RegistryValueError);
  EXPECT_EQ(registry.closedKeys, std::vector<RegistryKey>{1});
}

constexpr const char* kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

TEST(LocateInRegistry, TheRecordedPathIsTakenWithoutAnExistenceTest) {
  FakeRegistry registry;
  registry.Put(kMsinfo, "PATH", {kRegSz, std::string("C:\\Tools\\msinfo32.exe\0", 22)});
  int tests = 0;
  const auto found = LocateInRegistry(registry, [&](const std::string&) {
    ++tests;
    return false;
  });
  EXPECT_EQ(found, "C:\\Tools\\msinfo32.exe");
  EXPECT_EQ(tests, 0);
  EXPECT_EQ(registry.opens, 1);
}

TEST(LocateInRegistry, TheFolderOfTheSecondLocationMustHoldTheProgram) {
  FakeRegistry registry;
  registry.Put(kLocation, "MSINFO", {kRegSz, std::string("C:\\Shared\0", 10)});
  std::vector<std::string> tested;
  const auto present = [&](const std::string& path) {
    tested.push_back(path);
    return true;
  };
  EXPECT_EQ(LocateInRegistry(registry, present), "C:\\Shared\\MSINFO32.EXE");
  EXPECT_EQ(tested, std::vector<std::string>{"C:\\Shared\\MSINFO32.EXE"});
  EXPECT_EQ(LocateInRegistry(registry, [](const std::string&) { return false; }), std::nullopt);
}

TEST(LocateInRegistry, NeitherLocationGivesNothing) {
  FakeRegistry registry;
  registry.PutKey(kMsinfo);
  EXPECT_EQ(LocateInRegistry(registry, [](const std::string&) { return true; }), std::nullopt);
  EXPECT_EQ(registry.opens, 2);
}

// An empty value, of no bytes or of the terminating zero alone, records no path: the second
// location is asked instead of starting an empty path.
TEST(LocateInRegistry, AnEmptyValueRecordsNothing) {
  for (const std::string& empty : {std::string(), std::string(1, '\0')}) {
    FakeRegistry registry;
    registry.Put(kMsinfo, "PATH", {kRegSz, empty});
    registry.Put(kLocation, "MSINFO", {kRegSz, "C:\\Shared"});
    EXPECT_EQ(LocateInRegistry(registry, [](const std::string&) { return true; }),
              "C:\\Shared\\MSINFO32.EXE");
    registry.Put(kLocation, "MSINFO", {kRegSz, empty});
    EXPECT_EQ(LocateInRegistry(registry, [](const std::string&) { return true; }), std::nullopt);
  }
}

// ---- the search path lookup ----------------------------------------------------------------

TEST(LocateOnPath, TheFirstKnownProgramWinsOverFolderOrder) {
  const std::set<std::string> programs = {"/usr/bin/kinfocenter", "/opt/x/bin/hardinfo"};
  const auto isProgram = [&](const std::string& path) { return programs.count(path) > 0; };
  EXPECT_EQ(LocateOnPath("/usr/bin:/opt/x/bin/", ':', isProgram), "/opt/x/bin/hardinfo");
  EXPECT_EQ(LocateOnPath("/usr/bin", ':', isProgram), "/usr/bin/kinfocenter");
  EXPECT_EQ(LocateOnPath("/elsewhere", ':', isProgram), std::nullopt);
}

TEST(LocateOnPath, EmptyEntriesAreNotTheCurrentFolder) {
  std::vector<std::string> tried;
  const auto isProgram = [&](const std::string& path) {
    tried.push_back(path);
    return false;
  };
  EXPECT_EQ(LocateOnPath("::/bin:", ':', isProgram, {"tool"}), std::nullopt);
  EXPECT_EQ(tried, std::vector<std::string>{"/bin/tool"});
  tried.clear();
  EXPECT_EQ(LocateOnPath("", ':', isProgram, {"tool"}), std::nullopt);
  EXPECT_TRUE(tried.empty());
}

// ---- starting the tool ---------------------------------------------------------------------

struct StartCase {
  const char* name;
  SysInfoLocator locate;
  bool launches;
  std::vector<std::string> launched;
  bool unavailable;
};

void PrintTo(const StartCase& c, std::ostream* out) {
  *out << c.name;
}

class Starting : public ::testing::TestWithParam<StartCase> {};

TEST_P(Starting, StartsTheToolOrSaysItIsUnavailable) {
  SessionFixture fixture;
  std::vector<std::string> launched;
  StartSysInfo(
      GetParam().locate,
      [&](const std::string& path) {
        launched.push_back(path);
        return GetParam().launches;
      },
      fixture.ui);
  EXPECT_EQ(launched, GetParam().launched);
  const std::vector<std::string> expected =
      GetParam().unavailable
          ? std::vector<std::string>{"System Information Is Unavailable At This Time"}
          : std::vector<std::string>{};
  EXPECT_EQ(fixture.prompts.Messages(), expected);
  for (const auto& box : fixture.prompts.Shown()) {
    EXPECT_EQ(box.caption, "Trelvox");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Starting,
    ::testing::Values(
        StartCase{"Started",
                  [] { return std::optional<std::string>("/bin/tool"); },
                  true,
                  {"/bin/tool"},
                  false},
        StartCase{"DoesNotStart",
                  [] { return std::optional<std::string>("/bin/tool"); },
                  false,
                  {"/bin/tool"},
                  true},
        StartCase{"NotFound", [] { return std::optional<std::string>(); }, true, {}, true},
        StartCase{"LookupFails",
                  []() -> std::optional<std::string> { throw RegistryValueError("no data"); },
                  true,
                  {},
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trelvox
