#pragma once

#include <string>
#include <vector>

namespace trelvox::testing {

struct ProgramResult {
  int status = -1;  // the exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `args` in the folder `workDir`, with exactly the environment `environment`
// ("NAME=value" entries), and captures what it prints.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir, const std::vector<std::string>& environment);

}  // namespace trelvox::testing
