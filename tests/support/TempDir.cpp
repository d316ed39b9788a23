#include "support/TempDir.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/Paths.h"

#ifndef TRELVOX_TEST_DATA_DIR
#error "TRELVOX_TEST_DATA_DIR must name the test data folder"
#endif

namespace trelvox::testing {

TempDir::TempDir() {
  std::random_device seed;
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = base / ("trelvox-test-" + std::to_string(seed()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("could not create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const {
  return BytesFromPath(path_ / PathFromBytes(name));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(PathFromBytes(path), std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path);
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathFromBytes(path), std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) {
    throw std::runtime_error("cannot write " + path);
  }
}

std::string DataFile(const std::string& name) {
  return (std::filesystem::path(TRELVOX_TEST_DATA_DIR) / name).string();
}

}  // namespace trelvox::testing
