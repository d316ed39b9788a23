#include "platform/Paths.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace trelvox {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(Paths, BytesRoundTripThroughAPath) {
  for (const std::string bytes : {"plain.dat",
                                  "donn\xC3\xA9"
                                  "es/caf\xC3\xA9.dat",
                                  "a b/c"}) {
    EXPECT_EQ(BytesFromPath(PathFromBytes(bytes)), bytes);
  }
}

TEST(Paths, JoinsWithASlashOnEverySystem) {
  EXPECT_EQ(JoinPath("out/subjects", "S01.dat"), "out/subjects/S01.dat");
  EXPECT_EQ(JoinPath("out/", "S01.dat"), "out/S01.dat");
  EXPECT_EQ(JoinPath("C:\\data\\", "S01.dat"), "C:\\data\\S01.dat");
  EXPECT_EQ(JoinPath("", "S01.dat"), "S01.dat");
}

TEST(Paths, SamePathComparesAsTheFileSystemDoes) {
  TempDir dir;
  const std::string folder = dir.File(
      "donn\xC3\xA9"
      "es");
  std::filesystem::create_directory(PathFromBytes(folder));
  WriteFile(folder + "/comp.dat", "x");
  EXPECT_TRUE(SamePath(folder + "/comp.dat", dir.File("donn\xC3\xA9"
                                                      "es/../donn\xC3\xA9"
                                                      "es/comp.dat")));
  EXPECT_TRUE(SamePath(folder + "/new.dat", folder + "/./new.dat"));  // neither exists yet
  EXPECT_FALSE(SamePath(folder + "/comp.dat", folder + "/cnt.dat"));
#ifdef _WIN32
  EXPECT_TRUE(SamePath(folder + "/comp.dat", dir.File("DONN\xC3\x89"
                                                      "ES/COMP.DAT")));
  EXPECT_TRUE(SamePath(folder + "/new.dat", dir.File("DONN\xC3\x89"
                                                     "ES/NEW.dat")));
#else
  EXPECT_FALSE(SamePath(folder + "/new.dat", folder + "/NEW.dat"));
#endif
}

}  // namespace
}  // namespace trelvox
