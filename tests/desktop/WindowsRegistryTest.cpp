// The lookup of the system information tool against the real registry of Windows (Wine's, under
// ctest), written with reg.exe as an administrator or a setup program would write it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "desktop/SysInfo.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

namespace trelvox {
namespace {

const std::wstring kMsinfoKey = L"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::wstring kLocationKey = L"HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location";

std::wstring Wide(const std::string& bytes) {
  return PathFromBytes(bytes).native();
}

// Runs reg.exe with `arguments` and waits; its exit code.
DWORD Reg(const std::wstring& arguments) {
  std::wstring commandLine = L"reg.exe " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start reg.exe";
    return 1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}

void Put(const std::wstring& key, const std::wstring& name, const std::wstring& data,
         const std::wstring& type = L"REG_SZ") {
  ASSERT_EQ(Reg(L"add \"" + key + L"\" /v " + name + L" /t " + type + L" /d \"" + data + L"\" /f"),
            0u);
}

class WindowsRegistryLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    Reg(L"delete \"" + kMsinfoKey + L"\" /f");
    Reg(L"delete \"" + kLocationKey + L"\" /f");
  }
  void TearDown() override { SetUp(); }

  static std::optional<std::string> Locate() { return PlatformSysInfoLocator()(); }

  // A folder holding MSINFO32.EXE, as Windows' own Shared Tools folder does.
  std::string FolderWithProgram() {
    std::ofstream(dir_.Path() / "MSINFO32.EXE") << "MZ";
    return BytesFromPath(dir_.Path());
  }

  testing::TempDir dir_;
};

TEST_F(WindowsRegistryLookup, NothingRecordedFindsNothing) {
  EXPECT_EQ(Locate(), std::nullopt);
}

TEST_F(WindowsRegistryLookup, TheFullPathOfTheFirstLocationIsTakenAsRecorded) {
  Put(kMsinfoKey, L"PATH", L"C:\\Program Files\\Common Files\\msinfo32.exe");
  Put(kLocationKey, L"MSINFO", Wide(FolderWithProgram()));
  EXPECT_EQ(Locate(), "C:\\Program Files\\Common Files\\msinfo32.exe");
}

TEST_F(WindowsRegistryLookup, TheFolderOfTheSecondLocationGivesItsProgram) {
  const std::string folder = FolderWithProgram();
  Put(kLocationKey, L"MSINFO", Wide(folder));
  EXPECT_EQ(Locate(), folder + "\\MSINFO32.EXE");
}

TEST_F(WindowsRegistryLookup, AFolderWithoutTheProgramFindsNothing) {
  Put(kLocationKey, L"MSINFO", Wide(BytesFromPath(dir_.Path())));
  EXPECT_EQ(Locate(), std::nullopt);
}

TEST_F(WindowsRegistryLookup, AValueOfMoreThan1024BytesIsReadWhole) {
  const std::string path = "C:\\" + std::string(1100, 'x') + "\\msinfo32.exe";
  Put(kMsinfoKey, L"PATH", Wide(path));
  EXPECT_EQ(Locate(), path);
}

TEST_F(WindowsRegistryLookup, AnEmptyValueRecordsNothing) {
  Put(kMsinfoKey, L"PATH", L"");
  EXPECT_EQ(Locate(), std::nullopt);
  const std::string folder = FolderWithProgram();
  Put(kLocationKey, L"MSINFO", Wide(folder));
  EXPECT_EQ(Locate(), folder + "\\MSINFO32.EXE");
}

TEST_F(WindowsRegistryLookup, AnExpandableValueIsExpanded) {
  Put(kMsinfoKey, L"PATH", L"%SystemRoot%\\system32\\msinfo32.exe", L"REG_EXPAND_SZ");
  const char* systemRoot = std::getenv("SystemRoot");
  ASSERT_NE(systemRoot, nullptr);
  EXPECT_EQ(Locate(), std::string(systemRoot) + "\\system32\\msinfo32.exe");
}

}  // namespace
}  // namespace trelvox
