#include "batch/SubjectFileNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/TestNames.h"

namespace trelvox::batch {
namespace {

struct StemCase {
  std::string id;
  std::string stem;
};

void PrintTo(const StemCase& stem, std::ostream* out) {
  *out << '"' << stem.id << '"';
}

class SafeNameStemTest : public ::testing::TestWithParam<StemCase> {};

TEST_P(SafeNameStemTest, KeepsOnlyLettersDigitsDotUnderscoreAndDash) {
  EXPECT_EQ(SafeNameStem(GetParam().id), GetParam().stem);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, SafeNameStemTest,
    ::testing::Values(StemCase{"S01", "S01"}, StemCase{"x.y_z-1", "x.y_z-1"},
                      StemCase{"C,1,EB", "C_1_EB"},
                      StemCase{"../../etc/passwd", ".._.._etc_passwd"}, StemCase{"a\\b:c", "a_b_c"},
                      StemCase{"A1274       COT", "A1274_______COT"},
                      StemCase{"tab\there", "tab_here"}, StemCase{"caf\xC3\xA9", "caf__"},
                      StemCase{"..", ".."}, StemCase{"", ""},
                      // Device names of Windows, on every system.
                      StemCase{"NUL", "_NUL"}, StemCase{"con", "_con"}, StemCase{"Com1", "_Com1"},
                      StemCase{"aux.1", "_aux.1"}, StemCase{"LPT9.a.b", "_LPT9.a.b"},
                      StemCase{"prn ", "prn_"}, StemCase{"COM10", "COM10"},
                      StemCase{"NULL", "NULL"}, StemCase{"xcon", "xcon"}, StemCase{"lpt", "lpt"}),
    [](const auto& info) { return testing::ReadableTestName(info.index, info.param.id); });

TEST(SafeNameStem, CutsVeryLongIdsSoTheNameFitsTheFileSystem) {
  const std::string stem = SafeNameStem(std::string(1000, 'x'));
  EXPECT_EQ(stem, std::string(200, 'x'));
}

std::vector<std::string> NamesFor(const std::vector<std::string>& ids,
                                  const std::vector<std::string>& reserved = {}) {
  SubjectFileNames names("subjects", reserved);
  std::vector<std::string> paths;
  for (const std::string& id : ids) {
    paths.push_back(names.Next(id));
  }
  return paths;
}

TEST(SubjectFileNames, GivesEachSubjectItsOwnFileInTheFolder) {
  EXPECT_EQ(
      NamesFor({"a/b", "a?b", "", "subject3", "A_B", "", "S1"}),
      (std::vector<std::string>{"subjects/a_b.dat", "subjects/a_b-2.dat", "subjects/subject3.dat",
                                "subjects/subject3-2.dat", "subjects/A_B-3.dat",
                                "subjects/subject6.dat", "subjects/S1.dat"}));
}

TEST(SubjectFileNames, SkipsSuffixesThatAnEarlierIdTookAlready) {
  EXPECT_EQ(NamesFor({"x-2", "x", "x"}),
            (std::vector<std::string>{"subjects/x-2.dat", "subjects/x.dat", "subjects/x-3.dat"}));
}

TEST(SubjectFileNames, NeverTakesTheNameOfTheCompositeOrCounterFile) {
  testing::TempDir dir;
  const std::string folder = dir.File("out");
  SubjectFileNames names(folder, {folder + "/comp.dat", dir.File("cnt.dat")});
  EXPECT_EQ(names.Next("comp"), folder + "/comp-2.dat");
  EXPECT_EQ(names.Next("cnt"), folder + "/cnt.dat");
}

TEST(SubjectFileNames, RecognisesTheCompositeFileThroughAnotherSpellingOfTheFolder) {
  testing::TempDir dir;
  const std::string folder = dir.File("out");
  SubjectFileNames names(folder + "/", {dir.File("out/../out/Comp.dat")});
  EXPECT_EQ(names.Next("comp"), folder + "/comp-2.dat");
}

// --composite OUT/comp --subject-dir out: one folder on Windows, two elsewhere.
TEST(SubjectFileNames, ComparesTheFolderAsTheFileSystemDoes) {
  testing::TempDir dir;
  SubjectFileNames names(dir.File("out"), {dir.File("OUT/comp.dat")});
#ifdef _WIN32
  EXPECT_EQ(names.Next("comp"), dir.File("out") + "/comp-2.dat");
#else
  EXPECT_EQ(names.Next("comp"), dir.File("out") + "/comp.dat");
#endif
}

}  // namespace
}  // namespace trelvox::batch
