#include "platform/LineBuffers.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/Bytes.h"
#include "platform/Errors.h"
#include "platform/FileChannels.h"

namespace trelvox {

namespace {

// A buffer twice as large holding the same first `used` bytes, with `slack` bytes more behind
// it; no byte is zero-filled first.
std::unique_ptr<char[]> Enlarged(const std::unique_ptr<char[]>& buffer, std::size_t used,
                                 std::size_t& capacity, std::size_t slack) {
  capacity *= 2;
  auto larger = std::make_unique_for_overwrite<char[]>(capacity + slack);
  std::memcpy(larger.get(), buffer.get(), used);
  return larger;
}

}  // namespace

LineInput::LineInput(std::FILE* file, std::string path)
    : file_(file),
      path_(std::move(path)),
      buffer_(std::make_unique_for_overwrite<char[]>(kLineBufferSize + kLineSlack)) {}

bool LineInput::LoadMore() {
  if (pos_ > 0) {
    dropped_ += pos_;
    std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == capacity_) {
    buffer_ = Enlarged(buffer_, end_, capacity_, kLineSlack);
  }
  errno = 0;
  const std::size_t read = std::fread(buffer_.get() + end_, 1, capacity_ - end_, file_);
  if (read == 0 && std::ferror(file_)) {
    const int error = errno != 0 ? errno : EIO;
    throw ReadError("Could not read " + path_ + ": " + std::strerror(error));
  }
  end_ += read;
  // The bytes FindLineEnd reads behind the data hold no line end, and are never undefined.
  std::memset(buffer_.get() + end_, 0, kLineSlack);
  return read > 0;
}

std::string_view LineInput::NextAcrossLoads(std::size_t at) {
  std::size_t scanned = at - pos_;  // bytes after pos_ known to hold no line end
  while (true) {
    const char* begin = buffer_.get();
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

LineOutput::LineOutput() : buffer_(std::make_unique_for_overwrite<char[]>(kLineBufferSize)) {}

void LineOutput::Grow(std::size_t size) {
  while (capacity_ - size_ < size + kLineSlack) {
    buffer_ = Enlarged(buffer_, size_, capacity_, 0);
  }
}

void LineOutput::Append(std::string_view text) {
  char* room = Extend(text.size());
  if (!text.empty()) {
    std::memcpy(room, text.data(), text.size());
  }
}

}  // namespace trelvox
