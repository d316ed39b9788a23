#pragma once

#include <string>

#include "platform/SettingsStore.h"

namespace trelvox {

// The per-user settings where Windows programs of this kind keep them: text values under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
class RegistrySettingsStore final : public SettingsStore {
 public:
  static constexpr const char* kRoot = "Software\\VB and VBA Program Settings";

  std::string Get(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& fallback) const override;
  void Set(const std::string& application, const std::string& section, const std::string& key,
           const std::string& value) override;

  static std::string KeyPath(const std::string& application, const std::string& section);
};

}  // namespace trelvox
