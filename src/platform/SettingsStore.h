#pragma once

#include <map>
#include <string>
#include <tuple>

namespace trelvox {

// Per-user text values under an application name, a section and a key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string Get(const std::string& application, const std::string& section,
                          const std::string& key, const std::string& fallback) const = 0;
  virtual void Set(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) = 0;
};

// Keeps the values for the life of the object; for tests and for front ends without a store.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::string Get(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& fallback) const override {
    const auto found = values_.find({application, section, key});
    return found == values_.end() ? fallback : found->second;
  }
  void Set(const std::string& application, const std::string& section, const std::string& key,
           const std::string& value) override {
    values_[{application, section, key}] = value;
  }
  bool Has(const std::string& application, const std::string& section,
           const std::string& key) const {
    return values_.count({application, section, key}) > 0;
  }

 private:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

}  // namespace trelvox
