#include "platform/LineBuffers.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/Errors.h"
#include "platform/FileChannels.h"

namespace trelvox {

namespace {

// Room for the CR LF of the line being written, so that a full buffer never grows for it, and
// for the slack that BeginLine promises.
constexpr std::size_t kLineEndRoom = 2 + kLineSlack;

// A buffer twice as large holding the same first `used` bytes; no byte is zero-filled first.
std::unique_ptr<char[]> Enlarged(const std::unique_ptr<char[]>& buffer, std::size_t used,
                                 std::size_t& capacity) {
  capacity *= 2;
  auto larger = std::make_unique_for_overwrite<char[]>(capacity);
  std::memcpy(larger.get(), buffer.get(), used);
  return larger;
}

// The high bit of each byte of `word` that is CR or LF is set, and possibly of bytes after
// such a byte (never before it): checked eight at a time, since a long field list or a
// wrapped response line is not short.
std::uint64_t LineEndBits(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  const std::uint64_t cr = word ^ (kOnes * '\r');
  const std::uint64_t lf = word ^ (kOnes * '\n');
  return (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
}

}  // namespace

const char* FindLineEnd(const char* begin, const char* stop) {
  const char* cursor = begin;
  while (stop - cursor >= 8) {
    std::uint64_t word;
    std::memcpy(&word, cursor, sizeof word);
    if (const std::uint64_t bits = LineEndBits(word)) {
      if constexpr (std::endian::native == std::endian::little) {
        return cursor + std::countr_zero(bits) / 8;  // the first byte is the lowest
      }
      break;
    }
    cursor += 8;
  }
  while (cursor != stop && *cursor != '\r' && *cursor != '\n') {
    ++cursor;
  }
  return cursor;
}

LineInput::LineInput(std::FILE* file, std::string path)
    : file_(file),
      path_(std::move(path)),
      buffer_(std::make_unique_for_overwrite<char[]>(kLineBufferSize)) {}

bool LineInput::LoadMore() {
  if (pos_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == capacity_) {
    buffer_ = Enlarged(buffer_, end_, capacity_);
  }
  errno = 0;
  const std::size_t read = std::fread(buffer_.get() + end_, 1, capacity_ - end_, file_);
  if (read == 0 && std::ferror(file_)) {
    const int error = errno != 0 ? errno : EIO;
    throw ReadError("Could not read " + path_ + ": " + std::strerror(error));
  }
  end_ += read;
  return read > 0;
}

bool LineInput::AtEnd() {
  return pos_ >= end_ && !LoadMore();
}

std::string_view LineInput::Take(std::size_t lineEnd, std::size_t next) {
  const std::string_view line(buffer_.get() + pos_, lineEnd - pos_);
  pos_ = next;
  return line;
}

std::string_view LineInput::Next() {
  std::size_t scanned = 0;  // bytes after pos_ known to hold no line end
  while (true) {
    const char* begin = buffer_.get();
    const std::size_t at =
        static_cast<std::size_t>(FindLineEnd(begin + pos_ + scanned, begin + end_) - begin);
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

char* LineOutput::Extend(std::size_t size) {
  while (capacity_ - size_ < size + kLineEndRoom) {
    buffer_ = Enlarged(buffer_, size_, capacity_);
  }
  char* room = buffer_.get() + size_;
  size_ += size;
  return room;
}

void LineOutput::Append(std::string_view text) {
  char* room = Extend(text.size());
  if (!text.empty()) {
    std::memcpy(room, text.data(), text.size());
  }
}

bool LineOutput::EndLine() {
  // Extend left room for the terminator.
  buffer_[size_++] = '\r';
  buffer_[size_++] = '\n';
  return size_ >= kLineBufferSize;
}

}  // namespace trelvox
