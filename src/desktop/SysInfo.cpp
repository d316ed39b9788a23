#include "desktop/SysInfo.h"

#include <algorithm>

#include "platform/Ui.h"

namespace trelvox {

namespace {

constexpr const char* kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kMsinfoProgram = "\\MSINFO32.EXE";

// Closes the key on every way out, also when the open failed (the handle is then 0).
class KeyCloser {
 public:
  KeyCloser(RegistryReader& registry, const RegistryKey& key) : registry_(registry), key_(key) {}
  ~KeyCloser() { registry_.CloseKey(key_); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  RegistryReader& registry_;
  const RegistryKey& key_;
};

// The bytes the value holds, without the zero that ends a text.
std::string TrimmedData(const std::string& data, std::uint32_t size) {
  if (size == 0) {
    throw RegistryValueError("The registry value holds no data.");
  }
  const std::size_t held = std::min<std::size_t>(size, data.size());
  return data[held - 1] == '\0' ? data.substr(0, held - 1) : data.substr(0, held);
}

// A 32-bit number is stored lowest byte first.
std::string NumberText(const std::string& bytes) {
  std::uint32_t number = 0;
  const std::size_t count = std::min<std::size_t>(bytes.size(), 4);
  for (std::size_t i = count; i > 0; --i) {
    number = (number << 8) | static_cast<unsigned char>(bytes[i - 1]);
  }
  return std::to_string(number);
}

}  // namespace

bool GetKeyValue(RegistryReader& registry, std::uint32_t root, const std::string& keyPath,
                 const std::string& valueName, std::string& value) {
  RegistryKey key = 0;
  const KeyCloser closer(registry, key);
  if (registry.OpenKey(root, keyPath, kKeyRead, key) != 0) {
    value.clear();
    return false;
  }
  std::string data(kRegistryBufferSize, '\0');
  std::uint32_t size = kRegistryBufferSize;
  std::uint32_t type = 0;
  long status = registry.QueryValue(key, valueName, type, data, size);
  if (status == kErrorMoreData && size > data.size()) {
    data.assign(size, '\0');
    status = registry.QueryValue(key, valueName, type, data, size);
  }
  if (status != 0) {
    value.clear();
    return false;
  }
  const std::string trimmed = TrimmedData(data, size);
  if (type == kRegSz) {
    value = trimmed;
  } else if (type == kRegExpandSz) {
    value = registry.ExpandText(trimmed);
  } else if (type == kRegDword) {
    value = NumberText(trimmed);
  }
  return true;
}

namespace {

// A non-empty text recorded under HKEY_LOCAL_MACHINE. An empty value, even one of no bytes at
// all, records nothing, so the lookup goes on to the next location instead of starting "".
std::optional<std::string> RecordedText(RegistryReader& registry, const char* keyPath,
                                        const char* valueName) {
  std::string text;
  try {
    if (!GetKeyValue(registry, kHkeyLocalMachine, keyPath, valueName, text) || text.empty()) {
      return std::nullopt;
    }
  } catch (const RegistryValueError&) {
    return std::nullopt;
  }
  return text;
}

}  // namespace

std::optional<std::string> LocateInRegistry(RegistryReader& registry, const FileTest& exists) {
  if (auto path = RecordedText(registry, kMsinfoKey, "PATH")) {
    return path;  // started as recorded; a missing file shows when it fails to start
  }
  const std::optional<std::string> folder = RecordedText(registry, kSharedToolsKey, "MSINFO");
  if (!folder) {
    return std::nullopt;
  }
  const std::string program = *folder + kMsinfoProgram;
  if (!exists(program)) {
    return std::nullopt;
  }
  return program;
}

std::optional<std::string> LocateOnPath(std::string_view searchPath, char separator,
                                        const FileTest& isProgram,
                                        const std::vector<std::string>& programs) {
  for (const std::string& program : programs) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
      std::size_t end = searchPath.find(separator, start);
      if (end == std::string_view::npos) {
        end = searchPath.size();
      }
      const std::string_view folder = searchPath.substr(start, end - start);
      if (!folder.empty()) {
        std::string candidate(folder);
        if (candidate.back() != '/') {
          candidate += '/';
        }
        candidate += program;
        if (isProgram(candidate)) {
          return candidate;
        }
      }
      start = end + 1;
    }
  }
  return std::nullopt;
}

void StartSysInfo(const SysInfoLocator& locate, const ProgramLauncher& launch, Ui& ui) {
  try {
    const std::optional<std::string> path = locate();
    if (path && launch(*path)) {
      return;
    }
  } catch (const std::exception&) {
    // Any failure of the lookup means the tool is unavailable; the message below says so.
  }
  ui.Message(MessageId::SysInfoUnavailable, kSysInfoUnavailable);
}

}  // namespace trelvox
