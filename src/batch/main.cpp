#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "batch/BatchRun.h"
#include "batch/CommandLine.h"
#include "platform/Console.h"
#include "platform/Locale.h"

int main(int argc, char** argv) {
  using namespace trelvox::batch;
  trelvox::PrepareConsole();
  try {
    const trelvox::FixedLocale locale = trelvox::SystemLocale();
    const CommandLine line = ParseCommandLine(trelvox::ProgramArguments(argc, argv), locale);
    std::cout << line.out;
    std::cerr << line.err;
    if (!line.options) {
      return line.exitStatus;
    }
    return RunBatch(*line.options, locale, std::cout, std::cerr);
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << kProgramName << ": " << error.what() << '\n';
    return kExitFailed;
  }
}
