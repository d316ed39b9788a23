#pragma once

#include "platform/SettingsStore.h"

namespace trelvox {

// The per-user settings through QSettings: the application name is both the organisation and
// the application, the section a group ("~/.config/Trelvox/Trelvox.conf", [Settings]).
class QtSettingsStore final : public SettingsStore {
 public:
  std::string Get(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& fallback) const override;
  void Set(const std::string& application, const std::string& section, const std::string& key,
           const std::string& value) override;
};

}  // namespace trelvox
