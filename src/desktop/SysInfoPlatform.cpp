// The system information lookup of the platform the program is built for.
#include <cstdlib>
#include <filesystem>

#include "desktop/SysInfo.h"
#include "platform/Paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace trelvox {

namespace {

#ifdef _WIN32

// Reads through advapi32's ANSI functions, so that paths stay in the system code page.
class Win32Registry final : public RegistryReader {
 public:
  long OpenKey(std::uint32_t root, const std::string& path, std::uint32_t access,
               RegistryKey& key) override {
    // The predefined roots are sign-extended 32-bit values.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(rootKey, path.c_str(), 0, access, &opened);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegistryKey>(opened) : 0;
    return status;
  }

  long QueryValue(RegistryKey key, const std::string& name, std::uint32_t& type, std::string& data,
                  std::uint32_t& size) override {
    DWORD valueType = 0;
    DWORD dataSize = static_cast<DWORD>(data.size());
    const LONG status =
        RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr, &valueType,
                         reinterpret_cast<LPBYTE>(data.data()), &dataSize);
    type = valueType;
    size = dataSize;
    return status;
  }

  void CloseKey(RegistryKey key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }

  std::string ExpandText(const std::string& text) override {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) {
      return text;
    }
    std::string expanded(needed, '\0');
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed) {
      return text;
    }
    expanded.resize(written - 1);  // without the terminating zero
    return expanded;
  }
};

bool IsFile(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(PathFromBytes(path), ignored);
}

#else

bool IsProgram(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored) && access(path.c_str(), X_OK) == 0;
}

#endif

}  // namespace

#ifdef _WIN32
std::unique_ptr<RegistryReader> WindowsRegistry() {
  return std::make_unique<Win32Registry>();
}
#endif

SysInfoLocator PlatformSysInfoLocator() {
#ifdef _WIN32
  return [] {
    Win32Registry registry;
    return LocateInRegistry(registry, IsFile);
  };
#else
  return [] {
    const char* path = std::getenv("PATH");
    return LocateOnPath(path != nullptr ? path : "", ':', IsProgram);
  };
#endif
}

}  // namespace trelvox
