#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace trelvox {

class Ui;

inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The registry as GetKeyValue reads it: open a key, query one value into a buffer, close.
using RegistryKey = std::uintptr_t;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;
// Read access only: all access (0x2003F) on HKEY_LOCAL_MACHINE is refused to every user who is
// not an administrator.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr long kErrorMoreData = 234;
// The first buffer offered; a longer value is read again into a buffer of its size.
inline constexpr std::size_t kRegistryBufferSize = 1024;

class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // Returns 0 when the key is open; `key` is left 0 otherwise.
  virtual long OpenKey(std::uint32_t root, const std::string& path, std::uint32_t access,
                       RegistryKey& key) = 0;
  // Fills `data` (its size on entry is the buffer's) and sets `size` to the number of bytes
  // the value holds. Returns 0 on success, kErrorMoreData when the buffer is too small.
  virtual long QueryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                          std::string& data, std::uint32_t& size) = 0;
  virtual void CloseKey(RegistryKey key) = 0;
  // `text` with its %NAME% references to environment variables replaced by their values.
  virtual std::string ExpandText(const std::string& text) = 0;
};

// A value that cannot be read as text, raised out of GetKeyValue.
class RegistryValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads one value as text into `value`; true when it was read. A text value loses the zero
// that ends it, and an expandable one has its environment variables filled in; a 32-bit number
// becomes its decimal text; any other type leaves `value` as the caller passed it. A value of
// zero bytes raises RegistryValueError.
bool GetKeyValue(RegistryReader& registry, std::uint32_t root, const std::string& keyPath,
                 const std::string& valueName, std::string& value);

using FileTest = std::function<bool(const std::string& path)>;
using SysInfoLocator = std::function<std::optional<std::string>()>;
using ProgramLauncher = std::function<bool(const std::string& path)>;

// Where Windows records its system information tool: the tool's full path, or else its
// folder, which must then hold MSINFO32.EXE. An empty value counts as nothing recorded.
std::optional<std::string> LocateInRegistry(RegistryReader& registry, const FileTest& exists);

// The first of the known system information programs found in a search path such as PATH.
// Empty entries (the current folder) are not searched.
inline const std::vector<std::string> kSysInfoPrograms = {"hardinfo2", "hardinfo", "kinfocenter"};
std::optional<std::string> LocateOnPath(
    std::string_view searchPath, char separator, const FileTest& isProgram,
    const std::vector<std::string>& programs = kSysInfoPrograms);

// Finds and starts the system information tool; when it is not found, the lookup fails in any
// way or the tool does not start, says that it is unavailable.
void StartSysInfo(const SysInfoLocator& locate, const ProgramLauncher& launch, Ui& ui);

// This platform's lookup: the registry on Windows, the search path elsewhere.
SysInfoLocator PlatformSysInfoLocator();

#ifdef _WIN32
// The registry of the running Windows, read through advapi32.
std::unique_ptr<RegistryReader> WindowsRegistry();
#endif

}  // namespace trelvox
