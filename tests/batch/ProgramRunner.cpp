#include "ProgramRunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/TempDir.h"

namespace trelvox::testing {

namespace {

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

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir, const std::vector<std::string>& environment) {
  // The captured output lives outside the work folder, which the tests compare as a whole.
  TempDir capture;
  const std::string outPath = capture.File("stdout");
  const std::string errPath = capture.File("stderr");
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());

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
  ProgramResult result;
  result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  return result;
}

}  // namespace trelvox::testing
