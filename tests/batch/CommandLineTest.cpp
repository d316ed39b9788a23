#include "batch/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "desktop/Version.h"
#include "platform/Locale.h"
#include "support/TempDir.h"
#include "support/TestNames.h"

namespace trelvox::batch {
namespace {

using Args = std::vector<std::string>;

const FixedLocale kUnitedStates;

CommandLine Parse(const Args& args) {
  return ParseCommandLine(args, kUnitedStates);
}

TEST(ParseCommandLine, ParseAllTakesSeveralInputsAndEveryAnswerFlag) {
  const CommandLine line =
      Parse({"parse-all", "a.azk",       "b.zil", "--timeout",  "2000", "--responses",
             "3",         "--composite", "comp",  "--counters", "cnt",  "--subject-dir",
             "subj",      "--cot",       "--zor", "--header",   "no",   "--missing-id",
             "X9",        "--quiet"});
  ASSERT_TRUE(line.options) << line.err;
  const BatchOptions& options = *line.options;
  EXPECT_EQ(options.command, BatchCommand::ParseAll);
  EXPECT_EQ(options.inputs, (Args{"a.azk", "b.zil"}));
  EXPECT_EQ(options.composite, "comp");
  EXPECT_EQ(options.counters, "cnt");
  EXPECT_EQ(options.subjectDir, "subj");
  EXPECT_EQ(options.timeout, "2000");
  EXPECT_EQ(options.responses, "3");
  EXPECT_TRUE(options.cot);
  EXPECT_TRUE(options.zor);
  EXPECT_EQ(options.header, HeaderChoice::No);
  EXPECT_EQ(options.missingId, "X9");
  EXPECT_TRUE(options.quiet);
}

TEST(ParseCommandLine, DefaultsLeaveEveryOptionOff) {
  const CommandLine line = Parse({"parse-all", "a.azk", "--timeout", "2000", "--composite", "c"});
  ASSERT_TRUE(line.options) << line.err;
  const BatchOptions& options = *line.options;
  EXPECT_FALSE(options.counters);
  EXPECT_FALSE(options.subjectDir);
  EXPECT_FALSE(options.responses);
  EXPECT_FALSE(options.cot || options.zor || options.quiet || options.todayOnly);
  EXPECT_EQ(options.header, HeaderChoice::Auto);
  EXPECT_EQ(options.missingId, "");
}

TEST(ParseCommandLine, ParseOneKeepsTheIdsInTheOrderGiven) {
  const CommandLine line =
      Parse({"parse-one", "a.zil", "--responses", "2", "--id", "S3", "--composite", "c", "--id",
             "S1", "--today-only", "--header", "yes"});
  ASSERT_TRUE(line.options) << line.err;
  EXPECT_EQ(line.options->command, BatchCommand::ParseOne);
  EXPECT_EQ(line.options->inputs, (Args{"a.zil"}));
  EXPECT_EQ(line.options->ids, (Args{"S3", "S1"}));
  EXPECT_TRUE(line.options->todayOnly);
  EXPECT_EQ(line.options->header, HeaderChoice::Yes);
}

TEST(ParseCommandLine, AnalyzeFillsTheRequestFromEveryFlag) {
  const CommandLine line = Parse({"analyze",
                                  "a.azk",
                                  "b.zil",
                                  "c.dat",
                                  "--out",
                                  "tables",
                                  "--timeout",
                                  "2000.4",
                                  "--responses",
                                  "4",
                                  "--items",
                                  "list.csv",
                                  "--by",
                                  "condition",
                                  "--by",
                                  "freq",
                                  "--min-rt",
                                  "200",
                                  "--max-rt",
                                  "2500.5",
                                  "--sd",
                                  "2.5",
                                  "--max-error-rate",
                                  "0.2",
                                  "--cot",
                                  "--zor",
                                  "--no-report"});
  ASSERT_TRUE(line.options) << line.err;
  EXPECT_EQ(line.options->command, BatchCommand::Analyze);
  const analysis::AnalysisRequest& request = line.options->analysis;
  EXPECT_EQ(request.inputs, (Args{"a.azk", "b.zil", "c.dat"}));
  EXPECT_EQ(request.outputFolder, "tables");
  EXPECT_EQ(request.timeout, 2000);
  EXPECT_EQ(request.responses, 4);
  EXPECT_EQ(request.itemList, "list.csv");
  EXPECT_EQ(request.by, (Args{"condition", "freq"}));
  EXPECT_EQ(request.minRt, 200);
  EXPECT_EQ(request.maxRt, 2500.5);
  EXPECT_EQ(request.sd, 2.5);
  EXPECT_EQ(request.maxErrorRate, 0.2);
  EXPECT_TRUE(request.cot && request.zor);
  EXPECT_FALSE(request.report);
  // The data package records the same command, from the request.
  EXPECT_EQ(
      analysis::CommandLineOf(request),
      (Args{"trelvox-batch", "analyze",   "a.azk",     "b.zil",       "c.dat", "--out",
            "tables",        "--timeout", "2000",      "--responses", "4",     "--items",
            "list.csv",      "--by",      "condition", "--by",        "freq",  "--min-rt",
            "200",           "--max-rt",  "2500.5",    "--sd",        "2.5",   "--max-error-rate",
            "0.2",           "--cot",     "--zor",     "--no-report"}));
}

TEST(ParseCommandLine, UnknownInputTypesNeedNoNumberTheCommandReportsThem) {
  const CommandLine line = Parse({"parse-all", "notes.txt", "exp.azk.bak", "--composite", "c"});
  EXPECT_TRUE(line.options) << line.err;
}

TEST(ParseCommandLine, InputTypeComesFromTheLastThreeCharactersInAnyCase) {
  EXPECT_EQ(Parse({"parse-all", "EXP1.AZK", "--composite", "c"}).exitStatus, kExitUsage);
  EXPECT_EQ(Parse({"parse-all", "exp1.Zil", "--composite", "c"}).exitStatus, kExitUsage);
  EXPECT_EQ(Parse({"parse-all", "dataazk", "--composite", "c"}).exitStatus, kExitUsage);
}

struct MisuseCase {
  std::string what;
  Args args;
};

void PrintTo(const MisuseCase& misuse, std::ostream* out) {
  *out << misuse.what;
}

class MisuseTest : public ::testing::TestWithParam<MisuseCase> {};

TEST_P(MisuseTest, IsOneLineOnStandardErrorWithStatusTwo) {
  const CommandLine line = Parse(GetParam().args);
  EXPECT_FALSE(line.options);
  EXPECT_EQ(line.exitStatus, kExitUsage);
  EXPECT_EQ(line.out, "");
  ASSERT_FALSE(line.err.empty());
  EXPECT_EQ(line.err.rfind("trelvox-batch: ", 0), 0u) << line.err;
  EXPECT_EQ(line.err.find('\n'), line.err.size() - 1) << line.err;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MisuseTest,
    ::testing::Values(
        MisuseCase{"nothing", {}}, MisuseCase{"two_commands", {"parse-all", "parse-one"}},
        MisuseCase{"missing_composite", {"parse-all", "a.azk", "--timeout", "1"}},
        MisuseCase{"empty_composite", {"parse-all", "a.azk", "--timeout", "1", "--composite", ""}},
        MisuseCase{"empty_counters",
                   {"parse-all", "a.azk", "--timeout", "1", "--composite", "c", "--counters", ""}},
        MisuseCase{
            "empty_subject_dir",
            {"parse-all", "a.azk", "--timeout", "1", "--composite", "c", "--subject-dir", ""}},
        MisuseCase{"flag_without_value", {"parse-all", "a.azk", "--composite", "c", "--timeout"}},
        MisuseCase{"today_only_on_parse_all",
                   {"parse-all", "a.azk", "--timeout", "1", "--composite", "c", "--today-only"}},
        MisuseCase{
            "id_takes_one_value",
            {"parse-one", "a.azk", "--timeout", "1", "--composite", "c", "--id", "S1", "S2"}},
        MisuseCase{"header_in_capitals",
                   {"parse-all", "a.azk", "--timeout", "1", "--composite", "c", "--header", "YES"}},
        MisuseCase{"timeout_half_rounds_past_the_range",
                   {"parse-all", "a.azk", "--timeout", "32767.5", "--composite", "c"}},
        MisuseCase{"responses_empty",
                   {"parse-all", "a.zil", "--responses", "", "--composite", "c"}},
        MisuseCase{"analyze_sd_not_a_number", {"analyze", "a.zil", "--sd", "two", "--out", "o"}},
        MisuseCase{"analyze_composite_flag",
                   {"analyze", "a.zil", "--composite", "c", "--out", "o"}},
        MisuseCase{"analyze_max_below_min",
                   {"analyze", "a.zil", "--min-rt", "300", "--max-rt", "200", "--out", "o"}}),
    [](const ::testing::TestParamInfo<MisuseCase>& info) { return info.param.what; });

TEST(ParseCommandLine, CompositeAndCounterFileMustDiffer) {
  testing::TempDir dir;
  const Args same{"parse-all",   "a.azk",       "--timeout",  "1",
                  "--composite", dir.File("x"), "--counters", dir.File("sub/../x.dat")};
  EXPECT_EQ(Parse(same).exitStatus, kExitUsage);
  const Args differ{"parse-all",   "a.azk",       "--timeout",  "1",
                    "--composite", dir.File("x"), "--counters", dir.File("y")};
  EXPECT_TRUE(Parse(differ).options);
}

// Compared as the file system compares: one file under two names, and on Windows, whose file
// systems ignore letter case, two spellings of one name.
TEST(ParseCommandLine, CompositeAndCounterFileMustDifferAsTheFileSystemSeesThem) {
  testing::TempDir dir;
  testing::WriteFile(dir.File("x.dat"), "rows\r\n");
  std::filesystem::create_hard_link(dir.File("x.dat"), dir.File("link.dat"));
  EXPECT_EQ(Parse({"parse-all", "a.azk", "--timeout", "1", "--composite", dir.File("x"),
                   "--counters", dir.File("link")})
                .exitStatus,
            kExitUsage);

  const CommandLine cased = Parse({"parse-all", "a.azk", "--timeout", "1", "--composite",
                                   dir.File("comp"), "--counters", dir.File("COMP")});
#ifdef _WIN32
  EXPECT_EQ(cased.exitStatus, kExitUsage);
#else
  EXPECT_TRUE(cased.options);
#endif
}

TEST(ParseCommandLine, HelpAndVersionEndWithStatusZero) {
  const CommandLine help = Parse({"--help"});
  EXPECT_FALSE(help.options);
  EXPECT_EQ(help.exitStatus, kExitCompleted);
  EXPECT_NE(help.out.find("parse-one"), std::string::npos);

  const CommandLine commandHelp = Parse({"parse-all", "--help"});
  EXPECT_EQ(commandHelp.exitStatus, kExitCompleted);
  EXPECT_NE(commandHelp.out.find("--composite"), std::string::npos);

  const CommandLine version = Parse({"--version"});
  EXPECT_EQ(version.exitStatus, kExitCompleted);
  EXPECT_EQ(version.out, "trelvox-batch " + std::string(kProjectVersion) + "\n");
}

struct NumberCase {
  std::string text;
  bool typed;
};

void PrintTo(const NumberCase& number, std::ostream* out) {
  *out << '"' << number.text << '"';
}

class TypedNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(TypedNumberTest, AcceptsNumbersThatRoundIntoSixteenBits) {
  EXPECT_EQ(IsTypedNumber(GetParam().text, kUnitedStates), GetParam().typed) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedNumberTest,
    ::testing::Values(NumberCase{"2000", true}, NumberCase{" 2000 ", true},
                      NumberCase{"-32768", true}, NumberCase{"32767", true},
                      NumberCase{"32767.4", true}, NumberCase{"32766.5", true},
                      NumberCase{"32767.5", false}, NumberCase{"-32768.5", true},
                      NumberCase{"-32769", false}, NumberCase{"40000", false},
                      NumberCase{"", false}, NumberCase{"2s", false}, NumberCase{"two", false},
                      NumberCase{"1e400", false}, NumberCase{"+-2000", false}),
    [](const auto& info) { return testing::ReadableTestName(info.index, info.param.text); });

}  // namespace
}  // namespace trelvox::batch
