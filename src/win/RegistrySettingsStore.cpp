#include "win/RegistrySettingsStore.h"

#include <windows.h>

#include <vector>

namespace trelvox {

std::string RegistrySettingsStore::KeyPath(const std::string& application,
                                           const std::string& section) {
  return std::string(kRoot) + "\\" + application + "\\" + section;
}

std::string RegistrySettingsStore::Get(const std::string& application, const std::string& section,
                                       const std::string& key, const std::string& fallback) const {
  const std::string path = KeyPath(application, section);
  DWORD size = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                   &size) != ERROR_SUCCESS) {
    return fallback;
  }
  std::vector<char> data(size + 1, '\0');
  size = static_cast<DWORD>(data.size());
  if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr,
                   data.data(), &size) != ERROR_SUCCESS) {
    return fallback;
  }
  return std::string(data.data());
}

void RegistrySettingsStore::Set(const std::string& application, const std::string& section,
                                const std::string& key, const std::string& value) {
  const std::string path = KeyPath(application, section);
  HKEY opened = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &opened, nullptr) != ERROR_SUCCESS) {
    return;  // a placement that cannot be stored is simply not kept
  }
  RegSetValueExA(opened, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(opened);
}

}  // namespace trelvox
