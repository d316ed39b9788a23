#include "ProgramRunner.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <stdexcept>

#include "support/TempDir.h"

namespace trelvox::testing {

namespace {

#ifdef _WIN32

std::wstring Wide(const std::string& text) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// One argument quoted the way the C runtime splits a command line again: backslashes double
// only before a quote.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// A Windows program needs SystemRoot to start at all; the rest is the caller's environment.
std::wstring EnvironmentBlock(const std::vector<std::string>& environment) {
  std::wstring block;
  for (const char* name : {"SystemRoot", "WINEPREFIX"}) {
    if (const char* value = std::getenv(name)) {
      block += Wide(std::string(name) + "=" + value) + L'\0';
    }
  }
  for (const std::string& entry : environment) {
    block += Wide(entry) + L'\0';
  }
  return block + L'\0';
}

HANDLE InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot create " + path);
  }
  return file;
}

int RunAndWait(const std::string& program, const std::vector<std::string>& argv,
               const std::vector<std::string>& environment, const std::string& workDir,
               const std::string& outPath, const std::string& errPath) {
  std::wstring commandLine;
  for (const std::string& argument : argv) {
    commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(Wide(argument));
  }
  std::wstring block = EnvironmentBlock(environment);
  HANDLE out = InheritableFile(outPath);
  HANDLE err = InheritableFile(errPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr,
                                      TRUE, CREATE_UNICODE_ENVIRONMENT, block.data(),
                                      Wide(workDir).c_str(), &startup, &process);
  CloseHandle(out);
  CloseHandle(err);
  if (!started) {
    throw std::runtime_error("cannot start " + program);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

#else

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) {
    pointers.push_back(text.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

[[noreturn]] void RunChild(const std::string& program, std::vector<std::string> argv,
                           std::vector<std::string> environment, const std::string& workDir,
                           const std::string& outPath, const std::string& errPath) {
  const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (out < 0 || err < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0 ||
      ::chdir(workDir.c_str()) != 0) {
    ::_exit(127);
  }
  std::vector<char*> args = Pointers(argv);
  std::vector<char*> env = Pointers(environment);
  ::execve(program.c_str(), args.data(), env.data());
  ::_exit(127);
}

int RunAndWait(const std::string& program, const std::vector<std::string>& argv,
               const std::vector<std::string>& environment, const std::string& workDir,
               const std::string& outPath, const std::string& errPath) {
  const pid_t child = ::fork();
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (child == 0) {
    RunChild(program, argv, environment, workDir, outPath, errPath);
  }
  int waitStatus = 0;
  if (::waitpid(child, &waitStatus, 0) != child) {
    throw std::runtime_error("waitpid failed");
  }
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

#endif

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir, const std::vector<std::string>& environment) {
  // The captured output lives outside the work folder, which the tests compare as a whole.
  TempDir capture;
  const std::string outPath = capture.File("stdout");
  const std::string errPath = capture.File("stderr");
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());

  ProgramResult result;
  result.status = RunAndWait(program, argv, environment, workDir, outPath, errPath);
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  return result;
}

}  // namespace trelvox::testing
