#pragma once

#include <cerrno>
#include <cstdio>
#include <set>
#include <string>

#include "platform/DiskFileChannels.h"

namespace trelvox::testing {

// Writes like the real disk until told that a disk is full; then refuses the writes with "No
// space left on device", as /dev/full does, on every system.
class FullDisk final : public ByteWriter {
 public:
  void FillAll() { all_ = true; }
  void Fill(const std::string& path) { paths_.insert(path); }

  std::size_t Write(const std::string& path, const char* data, std::size_t size,
                    std::FILE* file) override {
    if (!all_ && paths_.count(path) == 0) {
      return std::fwrite(data, 1, size, file);
    }
    errno = ENOSPC;
    return 0;
  }

 private:
  bool all_ = false;
  std::set<std::string> paths_;
};

}  // namespace trelvox::testing
