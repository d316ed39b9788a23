// Runs the built trelvox-batch on the files in tests/data/batch/inputs and compares everything
// it leaves in its work folder, and everything it prints, byte for byte with the expected files
// in tests/data/batch/cases/<case>, which were written by hand from the conversion rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "ProgramRunner.h"
#include "desktop/Version.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

#ifndef TRELVOX_BATCH_BINARY
#error "TRELVOX_BATCH_BINARY must name the trelvox-batch program"
#endif

namespace trelvox::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kInputs = fs::path(TRELVOX_TEST_DATA_DIR) / "batch" / "inputs";
const fs::path kCases = fs::path(TRELVOX_TEST_DATA_DIR) / "batch" / "cases";

// LC_ALL=C: short dates are month/day/year without leading zeros, and error texts are English.
std::vector<std::string> FixedEnvironment() {
  std::vector<std::string> environment{"LC_ALL=C", "PATH=/usr/bin:/bin", "TZ=UTC"};
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) {
      environment.push_back(std::string(name) + "=" + value);
    }
  }
  return environment;
}

std::set<std::string> InputNames() {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(kInputs)) {
    names.insert(BytesFromPath(entry.path().filename()));
  }
  return names;
}

// Every regular file below `root`, by its path relative to `root`, with its bytes.
std::map<std::string, std::string> FilesBelow(const fs::path& root,
                                              const std::set<std::string>& skipped = {}) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) {
    return files;
  }
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string relative = BytesFromPath(fs::relative(entry.path(), root));
    if (fs::path::preferred_separator != '/') {
      std::replace(relative.begin(), relative.end(),
                   static_cast<char>(fs::path::preferred_separator), '/');
    }
    if (entry.is_regular_file() && skipped.count(relative) == 0) {
      files[relative] = ReadFile(BytesFromPath(entry.path()));
    }
  }
  return files;
}

// The data-quality report carries the plotting scripts, which the report's own tests check, and
// the time of the analysis: both are set aside, so that its text, tables and plot data compare.
std::string Comparable(const std::string& path, std::string bytes) {
  if (!path.ends_with("report.html")) {
    return bytes;
  }
  const std::string open = "<script>";
  const std::string close = "</script>";
  for (std::size_t at = bytes.find(open); at != std::string::npos;
       at = bytes.find(open, at + open.size() + close.size() + 3)) {
    const std::size_t end = bytes.find(close, at);
    if (end == std::string::npos) {
      break;
    }
    bytes.replace(at + open.size(), end - at - open.size(), "...");
  }
  const std::string analysed = "Analysed ";
  const std::size_t time = bytes.find(analysed);
  const std::size_t by = bytes.find(" by Trelvox", time);
  if (time != std::string::npos && by != std::string::npos) {
    bytes.replace(time + analysed.size(), by - time - analysed.size(), "(time)");
  }
  return bytes;
}

std::string ExpectedText(const fs::path& path) {
  return fs::exists(path) ? ReadFile(BytesFromPath(path)) : std::string();
}

// A work folder holding copies of the inputs, plus the case's "before" files when it has them.
class WorkFolder {
 public:
  explicit WorkFolder(const std::string& caseName) {
    fs::copy(kInputs, dir_.Path(), fs::copy_options::recursive);
    const fs::path before = kCases / caseName / "before";
    if (fs::exists(before)) {
      fs::copy(before, dir_.Path(), fs::copy_options::recursive);
    }
  }
  std::string Path() const { return dir_.Path().string(); }
  ProgramResult Run(const std::vector<std::string>& args) const {
    return RunProgram(TRELVOX_BATCH_BINARY, args, Path(), FixedEnvironment());
  }
  // What the run wrote or changed: every file but the inputs.
  std::map<std::string, std::string> Outputs() const {
    return FilesBelow(dir_.Path(), InputNames());
  }

 private:
  TempDir dir_;
};

struct RunCase {
  std::string name;
  std::vector<std::string> args;
  int status;
  std::string expectedFrom;  // the case folder holding the expected files; default: `name`
  bool quietOutput;          // stdout is expected empty whatever the case folder says
};

void PrintTo(const RunCase& runCase, std::ostream* out) {
  *out << runCase.name;
}

class BatchEndToEnd : public ::testing::TestWithParam<RunCase> {};

TEST_P(BatchEndToEnd, WritesExactlyTheExpectedFilesAndTranscript) {
  const RunCase& run = GetParam();
  const fs::path expected = kCases / (run.expectedFrom.empty() ? run.name : run.expectedFrom);
  ASSERT_TRUE(fs::exists(expected)) << expected;
  const WorkFolder work(run.name);

  const ProgramResult result = work.Run(run.args);

  EXPECT_EQ(result.status, run.status) << result.err;
  EXPECT_EQ(result.out, run.quietOutput ? "" : ExpectedText(expected / "stdout.txt"));
  EXPECT_EQ(result.err, ExpectedText(expected / "stderr.txt"));
  const auto written = work.Outputs();
  const auto wanted = FilesBelow(expected / "after");
  for (const auto& [path, bytes] : wanted) {
    const auto found = written.find(path);
    ASSERT_NE(found, written.end()) << "not written: " << path;
    EXPECT_EQ(Comparable(path, found->second), bytes) << "in " << path;
  }
  for (const auto& [path, bytes] : written) {
    EXPECT_EQ(wanted.count(path), 1u) << "written but not expected: " << path;
  }
}

using Args = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Runs, BatchEndToEnd,
    ::testing::Values(
        RunCase{"azk-all",
                Args{"parse-all", "lab.azk", "--timeout", "2000", "--composite", "comp",
                     "--counters", "cnt", "--subject-dir", "subjects"},
                0, "", false},
        RunCase{"azk-all-quiet",
                Args{"parse-all", "lab.azk", "--timeout", "2000", "--composite", "comp",
                     "--counters", "cnt", "--subject-dir", "subjects", "--quiet"},
                0, "azk-all", true},
        RunCase{
            "zil-cot-zor",
            Args{"parse-all", "cotzor.zil", "--responses", "2", "--cot", "--zor", "--composite",
                 "comp", "--counters", "cnt", "--subject-dir", "subjects", "--missing-id", "P2"},
            0, "", false},
        RunCase{"multi-input",
                Args{"parse-all", "morning.azk", "evening.azk", "--timeout", "1500", "--composite",
                     "comp"},
                0, "", false},
        RunCase{"multi-input-stops",
                Args{"parse-all", "morning.azk", "missing.azk", "evening.azk", "--timeout", "1500",
                     "--composite", "comp"},
                1, "", false},
        RunCase{"header-yes-on-rows",
                Args{"parse-all", "morning.azk", "--timeout", "1500", "--composite", "comp.dat",
                     "--header", "yes"},
                0, "", false},
        RunCase{"header-auto-empty-file",
                Args{"parse-all", "morning.azk", "--timeout", "1500", "--composite", "comp"}, 0, "",
                false},
        RunCase{"parse-one-in-order",
                Args{"parse-one", "s123.azk", "--timeout", "2000", "--composite", "comp", "--id",
                     "S2", "--id", "S3", "--subject-dir", "subjects"},
                0, "", false},
        RunCase{"parse-one-not-found",
                Args{"parse-one", "s123.azk", "--timeout", "2000", "--composite", "comp", "--id",
                     "S3", "--id", "S1"},
                1, "", false},
        RunCase{"parse-one-today-only",
                Args{"parse-one", "s123.azk", "--timeout", "2000", "--composite", "comp", "--id",
                     "S1", "--today-only"},
                1, "", false},
        RunCase{"parse-one-quiet-not-found",
                Args{"parse-one", "s123.azk", "--timeout", "2000", "--composite", "comp", "--id",
                     "S9", "--quiet"},
                1, "", false},
        RunCase{"unknown-type-header-yes", Args{"parse-all", "notes.txt", "--composite", "comp"}, 1,
                "", false},
        RunCase{"unknown-type-header-no",
                Args{"parse-all", "notes.txt", "--composite", "comp", "--header", "no",
                     "--subject-dir", "out/subjects"},
                1, "", false},
        // A file cut off before its first subject header converts nothing: said, status 1.
        RunCase{"no-subject-header",
                Args{"parse-all", "cut.zil", "--responses", "2", "--composite", "comp"}, 1, "",
                false},
        RunCase{"missing-input",
                Args{"parse-all", "missing.azk", "--timeout", "2000", "--composite", "comp"}, 1, "",
                false},
        // Shapes of real files: a hand-edited header whose block is passed over, and a ZIL
        // file parsed as ZOR formatted by mistake, with a trial of 38 responses where 9 were
        // expected.
        RunCase{"real-edited-header",
                Args{"parse-all", "edited.azk", "--timeout", "2000", "--composite", "comp"}, 0, "",
                false},
        RunCase{"real-zor-by-mistake",
                Args{"parse-all", "long.zil", "--responses", "9", "--zor", "--composite", "comp"},
                0, "", false},
        RunCase{"subject-names",
                Args{"parse-all", "names.azk", "--timeout", "2000", "--composite",
                     "out/subjects/comp", "--subject-dir", "out/subjects"},
                0, "", false},
        // The analysis: an item list with one item missing from it and one never presented, a
        // trial trimmed as fast, two subjects excluded; the composite parse-all writes from
        // the same file, read as input, without the report; ZIL with COT, ZOR and a trial
        // longer than expected. The reports are compared without the plotting scripts and the
        // time of the analysis.
        RunCase{"analyze-lab",
                Args{"analyze", "lab.azk", "--timeout", "2000", "--items", "lab-items.csv", "--by",
                     "condition", "--min-rt", "500", "--max-error-rate", "0.4", "--out", "out"},
                0, "", false},
        RunCase{"analyze-comp", Args{"analyze", "lab-comp.dat", "--out", "out", "--no-report"}, 0,
                "", false},
        RunCase{"analyze-zil",
                Args{"analyze", "cotzor.zil", "--cot", "--zor", "--responses", "2", "--out", "out"},
                0, "", false},
        RunCase{"analyze-missing-input",
                Args{"analyze", "missing.azk", "--timeout", "2000", "--out", "out"}, 1, "", false},
        // A folder with an accent, IDs that Windows reads as devices, an ID with an accent.
        RunCase{"device-and-accent-names",
                Args{"parse-all", "devices.azk", "--timeout", "2000", "--composite",
                     "donn\xC3\xA9"
                     "es/comp",
                     "--subject-dir",
                     "donn\xC3\xA9"
                     "es"},
                0, "", false}),
    [](const ::testing::TestParamInfo<RunCase>& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == '-') {
          c = '_';
        }
      }
      return name;
    });

// Misuse stops the call before any file is opened: status 2, one line on standard error,
// nothing on standard output and nothing new in the folder.
struct UsageCase {
  std::string what;
  std::vector<std::string> args;
  std::string message;  // the line expected on standard error, or empty to check only its form
};

void PrintTo(const UsageCase& usage, std::ostream* out) {
  *out << usage.what;
}

class BatchUsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(BatchUsageErrors, StopWithStatusTwoBeforeTouchingAnyFile) {
  const UsageCase& usage = GetParam();
  const WorkFolder work("none");

  const ProgramResult result = work.Run(usage.args);

  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  ASSERT_FALSE(result.err.empty());
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
  EXPECT_EQ(result.err.rfind("trelvox-batch: ", 0), 0u) << result.err;
  if (!usage.message.empty()) {
    EXPECT_EQ(result.err, usage.message + "\n");
  }
  EXPECT_TRUE(work.Outputs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Misuse, BatchUsageErrors,
    ::testing::Values(
        UsageCase{"no_command", Args{}, ""},
        UsageCase{"unknown_command", Args{"parse-some", "lab.azk"}, ""},
        UsageCase{"no_input", Args{"parse-all", "--composite", "comp"}, ""},
        UsageCase{"no_composite", Args{"parse-all", "lab.azk", "--timeout", "2000"}, ""},
        UsageCase{"unknown_flag",
                  Args{"parse-all", "lab.azk", "--timeout", "2000", "--composite", "c", "--bogus"},
                  ""},
        UsageCase{"bad_header_choice",
                  Args{"parse-all", "lab.azk", "--timeout", "2000", "--composite", "c", "--header",
                       "maybe"},
                  ""},
        UsageCase{
            "id_on_parse_all",
            Args{"parse-all", "lab.azk", "--timeout", "2000", "--composite", "c", "--id", "S01"},
            ""},
        UsageCase{"parse_one_without_id",
                  Args{"parse-one", "s123.azk", "--timeout", "2000", "--composite", "c"}, ""},
        UsageCase{"parse_one_two_inputs",
                  Args{"parse-one", "s123.azk", "lab.azk", "--timeout", "2000", "--composite", "c",
                       "--id", "S1"},
                  ""},
        UsageCase{"azk_without_timeout",
                  Args{"parse-all", "morning.azk", "lab.azk", "--composite", "c"},
                  "trelvox-batch: morning.azk is AZK input: --timeout N is needed (the answer "
                  "to \"Enter TimeOut Value:\") (see trelvox-batch --help)"},
        UsageCase{
            "zil_without_responses",
            Args{"parse-all", "lab.azk", "cotzor.zil", "--timeout", "2000", "--composite", "c"},
            "trelvox-batch: cotzor.zil is ZIL input: --responses N is needed (the number "
            "of responses per trial) (see trelvox-batch --help)"},
        UsageCase{"timeout_not_a_number",
                  Args{"parse-all", "lab.azk", "--timeout", "2s", "--composite", "c"},
                  "trelvox-batch: --timeout 2s: not a number from -32768 to 32767 (see "
                  "trelvox-batch --help)"},
        UsageCase{"responses_too_large",
                  Args{"parse-all", "cotzor.zil", "--responses", "40000", "--composite", "c"}, ""},
        UsageCase{
            "empty_id",
            Args{"parse-one", "s123.azk", "--timeout", "2000", "--composite", "c", "--id", ""},
            "trelvox-batch: --id needs a non-empty ID (see trelvox-batch --help)"},
        UsageCase{"analyze_without_out", Args{"analyze", "lab.azk", "--timeout", "2000"}, ""},
        UsageCase{"analyze_azk_without_timeout", Args{"analyze", "lab.azk", "--out", "out"},
                  "trelvox-batch: lab.azk is AZK input: give the time-out of the experiment in ms "
                  "(--timeout N); minus it is a trial without response (see trelvox-batch --help)"},
        UsageCase{
            "analyze_by_without_items",
            Args{"analyze", "lab.azk", "--timeout", "2000", "--by", "condition", "--out", "out"},
            "trelvox-batch: --by names a column of the item list: give the item list too "
            "(--items FILE) (see trelvox-batch --help)"},
        UsageCase{"analyze_rate_above_one",
                  Args{"analyze", "lab.azk", "--timeout", "2000", "--max-error-rate", "20", "--out",
                       "out"},
                  ""},
        UsageCase{"analyze_by_not_in_the_list",
                  Args{"analyze", "lab.azk", "--timeout", "2000", "--items", "lab-items.csv",
                       "--by", "frequency", "--out", "out"},
                  "trelvox-batch: --by frequency: the item list has no such column (it has "
                  "condition) (see trelvox-batch --help)"},
        UsageCase{"counters_same_as_composite",
                  Args{"parse-all", "lab.azk", "--timeout", "2000", "--composite", "out",
                       "--counters", "out.dat"},
                  "trelvox-batch: --composite and --counters name the same file (see "
                  "trelvox-batch --help)"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return info.param.what; });

TEST(BatchInformation, HelpListsBothCommandsAndEndsWithStatusZero) {
  const WorkFolder work("none");
  const ProgramResult top = work.Run({"--help"});
  EXPECT_EQ(top.status, 0);
  EXPECT_NE(top.out.find("parse-all"), std::string::npos);
  EXPECT_NE(top.out.find("parse-one"), std::string::npos);

  EXPECT_NE(top.out.find("Examples:\n  trelvox-batch parse-all "), std::string::npos);

  const ProgramResult one = work.Run({"parse-one", "--help"});
  EXPECT_EQ(one.status, 0);
  // The top-level help gives every flag of both commands its own line with a meaning.
  for (const char* flag :
       {"--id", "--today-only", "--timeout", "--responses", "--counters", "--subject-dir", "--cot",
        "--zor", "--header", "--missing-id", "--quiet", "--composite"}) {
    EXPECT_NE(one.out.find(flag), std::string::npos) << flag;
    EXPECT_NE(top.out.find("\n  " + std::string(flag) + " "), std::string::npos) << flag;
  }
  const ProgramResult analyze = work.Run({"analyze", "--help"});
  EXPECT_EQ(analyze.status, 0);
  const std::size_t analyzeFlags = top.out.find("Flags of analyze:");
  ASSERT_NE(analyzeFlags, std::string::npos);
  for (const char* flag :
       {"--out", "--items", "--by", "--min-rt", "--max-rt", "--sd", "--max-error-rate", "--timeout",
        "--responses", "--cot", "--zor", "--no-report"}) {
    EXPECT_NE(analyze.out.find(flag), std::string::npos) << flag;
    EXPECT_NE(top.out.find("\n  " + std::string(flag) + " ", analyzeFlags), std::string::npos)
        << flag;
  }
  EXPECT_TRUE(work.Outputs().empty());
}

TEST(BatchInformation, VersionIsTheProjects) {
  const WorkFolder work("none");
  const ProgramResult result = work.Run({"--version"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "trelvox-batch " + std::string(kProjectVersion) + "\n");
}

#ifdef _WIN32
// What Explorer's Details tab shows: the version record, U.S. English, Unicode.
TEST(BatchInformation, CarriesTheVersionRecordAndAManifest) {
  const std::wstring program = PathFromBytes(TRELVOX_BATCH_BINARY).native();
  std::vector<char> block(GetFileVersionInfoSizeW(program.c_str(), nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  const auto text = [&](const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0) {
      return std::string();
    }
    return BytesFromPath(std::wstring(static_cast<const wchar_t*>(value), length - 1));
  };
  EXPECT_EQ(text(L"ProductName"), "Trelvox");
  EXPECT_EQ(text(L"FileVersion"), kVersionRecordText);
  EXPECT_EQ(text(L"ProductVersion"), kVersionRecordText);
  EXPECT_EQ(text(L"OriginalFilename"), "trelvox-batch.exe");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(kVersionMinor, kVersionMajor));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, kVersionRevision));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(kVersionMinor, kVersionMajor));

  const HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr);
  FreeLibrary(image);
}
#endif

}  // namespace
}  // namespace trelvox::testing
