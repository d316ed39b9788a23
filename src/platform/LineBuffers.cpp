#include "platform/LineBuffers.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/Bytes.h"
#include "platform/Errors.h"
#include "platform/FileChannels.h"

namespace trelvox {

LineInput::LineInput(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}

bool LineInput::LoadMore() {
  if (pos_ > 0) {
    std::memmove(buffer_.Data(), buffer_.Data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == buffer_.Capacity()) {
    buffer_.Reallocate(2 * buffer_.Capacity(), end_);
  }
  errno = 0;
  const std::size_t read = std::fread(buffer_.Data() + end_, 1, buffer_.Capacity() - end_, file_);
  if (read == 0 && std::ferror(file_)) {
    const int error = errno != 0 ? errno : EIO;
    throw ReadError("Could not read " + path_ + ": " + std::strerror(error));
  }
  end_ += read;
  // The bytes FindLineEnd reads behind the data hold no line end, and are never undefined.
  std::memset(buffer_.Data() + end_, 0, kLineSlack);
  return read > 0;
}

std::string_view LineInput::NextAcrossLoads(std::size_t at) {
  std::size_t scanned = at - pos_;  // bytes after pos_ known to hold no line end
  while (true) {
    const char* begin = buffer_.Data();
    at = static_cast<std::size_t>(FindLineEnd(begin + pos_ + scanned, begin + end_) - begin);
    // A CR ends the line; whether an LF follows it may only show in the next load.
    if (at + 1 < end_ || (at + 1 == end_ && begin[at] == '\n')) {
      const bool crLf = begin[at] == '\r' && begin[at + 1] == '\n';
      return Take(at, at + (crLf ? 2 : 1));
    }
    scanned = at - pos_;
    if (!LoadMore()) {
      // The file's last line: ended by a lone CR, or by nothing at all.
      return Take(pos_ + scanned, end_);
    }
  }
}

void LineOutput::Grow(std::size_t size) {
  std::size_t capacity = buffer_.Capacity();
  while (capacity - size_ < size) {
    capacity *= 2;
  }
  buffer_.Reallocate(capacity, size_);
}

void LineOutput::Append(std::string_view text) {
  char* room = Extend(text.size());
  if (!text.empty()) {
    std::memcpy(room, text.data(), text.size());
  }
}

}  // namespace trelvox
