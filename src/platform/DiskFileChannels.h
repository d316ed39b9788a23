#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileChannels.h"

namespace trelvox {

// Where an output channel's bytes go: into the file unless a test hands in one that refuses
// them as a full disk does, which works on every system.
class ByteWriter {
 public:
  virtual ~ByteWriter() = default;
  // Writes `size` bytes to `file`, opened from `path`; returns how many were written and sets
  // errno when that is fewer.
  virtual std::size_t Write(const std::string& path, const char* data, std::size_t size,
                            std::FILE* file) = 0;
};

// File channels on the local disk. Reads and writes go through buffers of their own, so that a
// large DMDX file streams at disk speed with one line in memory at a time.
class DiskFileChannels final : public FileChannels {
 public:
  explicit DiskFileChannels(ByteWriter* writer = nullptr);
  ~DiskFileChannels() override;
  DiskFileChannels(const DiskFileChannels&) = delete;
  DiskFileChannels& operator=(const DiskFileChannels&) = delete;

  std::int16_t FreeChannel() const override;
  OpenResult Open(std::int16_t channel, const std::string& path, OpenMode mode) override;
  bool IsOpen(std::int16_t channel) const override;
  bool AtEnd(std::int16_t channel) override;
  std::string_view NextLine(std::int16_t channel) override;
  std::string_view ReadNext(std::int16_t channel) override;
  std::uint64_t BytesRead(std::int16_t channel) const override;
  void WriteLine(std::int16_t channel, std::string_view text) override;
  char* LineRoom(std::int16_t channel, std::size_t size) override;
  void Close(std::int16_t channel) override;
  void FlushAll() override;
  void CloseQuietly(std::int16_t channel) noexcept override;

 private:
  struct Channel;
  Channel* Find(std::int16_t channel) const;
  Channel& Require(std::int16_t channel) const;
  void Flush(std::int16_t number, Channel& channel);
  void Release(std::int16_t channel) noexcept;
  Channel& RequireOutput(std::int16_t channel) const;

  std::array<std::unique_ptr<Channel>, kLastChannel + 1> channels_;
  ByteWriter* writer_;
};

}  // namespace trelvox
