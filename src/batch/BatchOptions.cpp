#include "batch/BatchOptions.h"

#include <filesystem>
#include <system_error>

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
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    return true;
  }
  const auto size = std::filesystem::file_size(path, error);
  return !error && size == 0;
}

}  // namespace trelvox::batch
