#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/Bytes.h"
#include "platform/FileChannels.h"
#include "platform/SlackBuffer.h"

namespace trelvox {

// The size of one buffer load, and of an output buffer before it is written to its file.
inline constexpr std::size_t kLineBufferSize = 64 * 1024;

// Lines of a file read in buffer loads and handed out as views into the buffer, without a copy.
// A line that runs past the end of a load is moved to the front of the buffer and the load
// continued behind it; the buffer grows only for a line longer than itself.
class LineInput {
 public:
  // `path` names the file in the ReadError raised when a read fails.
  LineInput(std::FILE* file, std::string path);

  // True when no byte is left to read.
  bool AtEnd() { return pos_ >= end_ && !LoadMore(); }
  // The next line without its terminator (CR LF, LF or a lone CR); empty at the end. The view
  // lasts until the next call. Inline for a line that ends inside the bytes loaded: most do.
  std::string_view Next() {
    const char* const begin = buffer_.Data();
    const std::size_t at =
        static_cast<std::size_t>(FindLineEnd(begin + pos_, begin + end_) - begin);
    // A CR ends the line; whether an LF follows it may only show in the next load.
    if (at + 1 < end_) {
      const bool crLf = begin[at] == '\r' && begin[at + 1] == '\n';
      return Take(at, at + (crLf ? 2 : 1));
    }
    return NextAcrossLoads(at);
  }

 private:
  // The first CR or LF in [begin, stop), or stop: one pass over the bytes, whichever line end
  // the file uses, sixteen at a time. Up to 15 bytes behind `stop` are read but never counted:
  // the buffer keeps kLineSlack bytes there.
  static const char* FindLineEnd(const char* begin, const char* stop) {
    for (const char* cursor = begin; cursor < stop; cursor += 16) {
      if (const std::uint32_t ends = MaskOf16(cursor, '\r', '\n')) {
        const char* found = cursor + std::countr_zero(ends);
        return found < stop ? found : stop;
      }
    }
    return stop;
  }
  bool LoadMore();
  std::string_view NextAcrossLoads(std::size_t at);
  std::string_view Take(std::size_t lineEnd, std::size_t next) {
    const std::string_view line(buffer_.Data() + pos_, lineEnd - pos_);
    pos_ = next;
    return line;
  }

  std::FILE* file_;
  std::string path_;
  // The slack behind the data is what FindLineEnd reads past it.
  SlackBuffer buffer_{kLineBufferSize};
  std::size_t pos_ = 0;  // bytes [pos_, end_) are not consumed yet
  std::size_t end_ = 0;
};

// Lines collected for one output file until the buffer is full; the owner writes them out.
class LineOutput {
 public:
  // Room for `size` bytes at the end of the buffer, which grows for a line longer than itself;
  // kLineSlack bytes after the room may be written to as well.
  char* Extend(std::size_t size) {
    if (buffer_.Capacity() - size_ < size) {
      Grow(size);
    }
    char* room = buffer_.Data() + size_;
    size_ += size;
    return room;
  }
  void Append(std::string_view text);
  // True when the buffer is full enough to be written out: less room is left than a long row
  // takes, so that the buffer keeps its size.
  bool Full() const { return buffer_.Capacity() - size_ < kRoomForARow; }

  const char* Data() const { return buffer_.Data(); }
  std::size_t Size() const { return size_; }
  void Clear() { size_ = 0; }

 private:
  static constexpr std::size_t kRoomForARow = 4 * 1024;
  void Grow(std::size_t size);

  SlackBuffer buffer_{kLineBufferSize};
  std::size_t size_ = 0;
};

}  // namespace trelvox
