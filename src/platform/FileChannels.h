#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/SlackBuffer.h"

namespace trelvox {

inline constexpr int kFirstChannel = 1;
inline constexpr int kLastChannel = 255;

enum class OpenMode { Input, Output, Append };

struct OpenResult {
  int errorNumber = 0;      // 0 when the file is open, otherwise the platform's positive number
  std::string description;  // the platform's description of the failure
};

// Text files named by channel numbers 1 to 255, as the commands use them. Lines are read
// without their terminator (CR LF, LF or a lone CR) and written with CR LF. Output is buffered;
// every failure to write raises WriteError naming the path.
class FileChannels {
 public:
  virtual ~FileChannels() = default;
  // The lowest channel number that no open file uses; 0 when all 255 are taken.
  virtual std::int16_t FreeChannel() const = 0;
  virtual OpenResult Open(std::int16_t channel, const std::string& path, OpenMode mode) = 0;
  virtual bool IsOpen(std::int16_t channel) const = 0;
  // True when an input channel has no more lines (also for a channel that is not open).
  virtual bool AtEnd(std::int16_t channel) = 0;
  // Reads the next line; at the end of the file it is empty. The view lasts until the next
  // read on the channel, or until the channel is closed.
  virtual std::string_view NextLine(std::int16_t channel) = 0;
  // NextLine copied into `line`, for callers that keep the line beyond the next read.
  void ReadLine(std::int16_t channel, std::string& line) { line.assign(NextLine(channel)); }
  // AtEnd and NextLine in one call, for the loops that read a block line by line: the next
  // line, or, when the channel has no more lines, a view without data (data() is null; an empty
  // line's is not). Returned rather than stored through a reference, so that it stays in
  // registers.
  virtual std::string_view ReadNext(std::int16_t channel) = 0;
  virtual void WriteLine(std::int16_t channel, std::string_view text) = 0;
  // Room for `size` bytes at the end of the channel's output, to be filled at once with one
  // whole line, its CR LF included: a row is formatted where it is written from. The
  // kLineSlack bytes after the room may be written to as well (for copies in whole blocks);
  // they are not part of the output. A buffer this fills is written out at the next call on
  // the channel, or by FlushAll or Close.
  virtual char* LineRoom(std::int16_t channel, std::size_t size) = 0;
  // Flushes and closes. Closing a channel that is not open does nothing.
  virtual void Close(std::int16_t channel) = 0;
  // Writes every buffered line of every open channel to its file.
  virtual void FlushAll() = 0;
  // Closes without raising, dropping what cannot be written; used once a command has already
  // failed and is cleaning up.
  virtual void CloseQuietly(std::int16_t channel) noexcept = 0;
};

}  // namespace trelvox
