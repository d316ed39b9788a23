#include "batch/BatchOptions.h"

#include <filesystem>
#include <system_error>

#include "platform/Paths.h"

namespace trelvox::batch {

bool AnswersNewFile(HeaderChoice choice, bool fileMissingOrEmpty) {
  switch (choice) {
    case HeaderChoice::Yes:
      return true;
    case HeaderChoice::No:
      return false;
    case HeaderChoice::Auto:
      break;
  }
  return fileMissingOrEmpty;
}

bool FileMissingOrEmpty(const std::string& path) {
  const std::filesystem::path file = PathFromBytes(path);
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    return true;
  }
  const auto size = std::filesystem::file_size(file, error);
  return !error && size == 0;
}

}  // namespace trelvox::batch
