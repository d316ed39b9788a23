#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileChannels.h"

namespace trelvox {

// File channels on the local disk. Reads and writes go through buffers of their own, so that a
// large DMDX file streams at disk speed with one line in memory at a time.
class DiskFileChannels final : public FileChannels {
 public:
  DiskFileChannels();
  ~DiskFileChannels() override;
  DiskFileChannels(const DiskFileChannels&) = delete;
  DiskFileChannels& operator=(const DiskFileChannels&) = delete;

  std::int16_t FreeChannel() const override;
  OpenResult Open(std::int16_t channel, const std::string& path, OpenMode mode) override;
  bool IsOpen(std::int16_t channel) const override;
  bool AtEnd(std::int16_t channel) override;
  std::string_view NextLine(std::int16_t channel) override;
  void WriteLine(std::int16_t channel, std::string_view text) override;
  char* BeginLine(std::int16_t channel, std::size_t size) override;
  void EndLine(std::int16_t channel) override;
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
  void FinishLine(std::int16_t number, Channel& channel);

  std::array<std::unique_ptr<Channel>, kLastChannel + 1> channels_;
};

}  // namespace trelvox
