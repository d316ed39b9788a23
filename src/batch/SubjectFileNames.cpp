#include "batch/SubjectFileNames.h"

#include "platform/Paths.h"

namespace trelvox::batch {

namespace {

// Leaves room for "-NNNNN" and ".dat" within the usual limit of 255 bytes per name.
constexpr std::size_t kMaxStemLength = 200;
constexpr const char* kExtension = ".dat";

bool IsKept(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

}  // namespace

std::string SafeNameStem(std::string_view id) {
  std::string stem(id.substr(0, kMaxStemLength));
  for (char& c : stem) {
    if (!IsKept(c)) {
      c = '_';
    }
  }
  return stem;
}

SubjectFileNames::SubjectFileNames(std::string folder, const std::vector<std::string>& reserved)
    : folder_(std::move(folder)) {
  for (const std::string& path : reserved) {
    Reserve(path);
  }
}

void SubjectFileNames::Reserve(const std::string& path) {
  const std::filesystem::path file = PathFromBytes(path).lexically_normal();
  const std::string parent = BytesFromPath(file.parent_path());
  if (SamePath(parent.empty() ? "." : parent, folder_.empty() ? "." : folder_)) {
    taken_.insert(LowerCase(BytesFromPath(file.filename())));
  }
}

bool SubjectFileNames::IsTaken(const std::string& fileName) const {
  return taken_.count(LowerCase(fileName)) > 0;
}

std::string SubjectFileNames::Next(std::string_view id) {
  ++subjects_;
  const std::string stem = id.empty() ? "subject" + std::to_string(subjects_) : SafeNameStem(id);
  std::string fileName = stem + kExtension;
  for (int copy = 2; IsTaken(fileName); ++copy) {
    fileName = stem + "-" + std::to_string(copy) + kExtension;
  }
  taken_.insert(LowerCase(fileName));
  return JoinPath(folder_, fileName);
}

}  // namespace trelvox::batch
