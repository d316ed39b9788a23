#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

namespace trelvox {

// Bytes kept behind the end of every buffer of lines, values and rows, so that they are
// scanned and copied sixteen bytes at a time without a check for the last, shorter block.
inline constexpr std::size_t kLineSlack = 16;

// A byte buffer of Capacity() bytes with kLineSlack bytes more behind them: room for data, and
// slack that whole-block scans may read and whole-block copies may write. No byte is
// zero-filled: what is read must have been written first.
class SlackBuffer {
 public:
  SlackBuffer() = default;
  explicit SlackBuffer(std::size_t capacity)
      : bytes_(std::make_unique_for_overwrite<char[]>(capacity + kLineSlack)),
        capacity_(capacity) {}
  SlackBuffer(SlackBuffer&& other) noexcept
      : bytes_(std::move(other.bytes_)), capacity_(std::exchange(other.capacity_, 0)) {}
  SlackBuffer& operator=(SlackBuffer&& other) noexcept {
    bytes_ = std::move(other.bytes_);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
  }

  char* Data() { return bytes_.get(); }
  const char* Data() const { return bytes_.get(); }
  std::size_t Capacity() const { return capacity_; }

  // Moves to a buffer of `capacity` bytes (and the slack), keeping the first `kept` bytes.
  void Reallocate(std::size_t capacity, std::size_t kept) {
    SlackBuffer larger(capacity);
    if (kept > 0) {
      std::memcpy(larger.Data(), Data(), kept);
    }
    *this = std::move(larger);
  }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t capacity_ = 0;
};

}  // namespace trelvox
