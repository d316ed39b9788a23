#include "batch/SubjectFileNames.h"

#include "platform/Paths.h"
#include "platform/Text.h"

namespace trelvox::batch {

namespace {

// Leaves room for "-NNNNN" and ".dat" within the usual limit of 255 bytes per name.
constexpr std::size_t kMaxStemLength = 200;
constexpr const char* kExtension = ".dat";

bool IsKept(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

// Windows opens a device, not a file, for these names whatever follows the first dot: "NUL.dat"
// would swallow the subject's rows and "CON.dat" would fail.
bool IsDeviceName(std::string_view stem) {
  std::string base = LowerCase(stem.substr(0, stem.find('.')));
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") {
    return true;
  }
  return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
         base[3] >= '0' && base[3] <= '9';
}

}  // namespace

std::string SafeNameStem(std::string_view id) {
  std::string stem(id.substr(0, kMaxStemLength));
  for (char& c : stem) {
    if (!IsKept(c)) {
      c = '_';
    }
  }
  // The same name on every system, so that files copied to Windows keep working.
  return IsDeviceName(stem) ? "_" + stem : stem;
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
