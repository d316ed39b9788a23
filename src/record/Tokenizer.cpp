#include "record/Tokenizer.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "platform/Errors.h"
#include "platform/Int16.h"
#include "platform/Ui.h"

namespace trelvox {

namespace {

// The record grows in steps of 100 slots; the capacity is a 16-bit number, so the last step
// that fits leaves room for 32700 fields.
constexpr int kCapacityStep = 100;

void GrowCapacity(int& capacity) {
  if (capacity + kCapacityStep > kInt16Max) {
    throw OverflowError("Overflow: a line holds more than 32700 fields.");
  }
  capacity += kCapacityStep;
}

// Counts the fields as they are cut, against the capacity rule.
class FieldCounter {
 public:
  void Add() {
    if (++count_ > capacity_) {
      GrowCapacity(capacity_);
    }
  }

 private:
  int capacity_ = kCapacityStep;
  int count_ = 0;
};

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kLows = 0x7f7f7f7f7f7f7f7f;
constexpr std::uint64_t kHighs = kOnes << 7;

// The high bit of each byte of `word` that equals `byte`, exactly (no carry from byte to byte).
std::uint64_t BytesEqual(std::uint64_t word, char byte) {
  const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(byte));
  return ~(((x & kLows) + kLows) | x | kLows);
}

// The positions of the bytes of `word` that are (`wanted` true) or are not `separator`, as
// the high bit of each byte.
template <bool wanted>
std::uint64_t Matches(std::uint64_t word, char separator) {
  const std::uint64_t equal = BytesEqual(word, separator);
  return wanted ? equal : ~equal & kHighs;
}

// The first byte of [at, stop) that is (`wanted` true) or is not (`wanted` false) `separator`,
// or `stop`. Eight bytes at a time; the last few bytes of a line of eight or more are taken
// from the word that ends the line, those of a shorter line one at a time. Little-endian: the
// first byte of a word is its lowest.
template <bool wanted>
const char* FindByteOrOther(const char* begin, const char* at, const char* stop, char separator) {
  static_assert(std::endian::native == std::endian::little, "bytes are found from the low end");
  std::uint64_t word;
  for (; stop - at >= 8; at += 8) {
    std::memcpy(&word, at, sizeof word);
    if (const std::uint64_t found = Matches<wanted>(word, separator)) {
      return at + std::countr_zero(found) / 8;
    }
  }
  if (at == stop) {
    return stop;
  }
  if (stop - begin >= 8) {
    std::memcpy(&word, stop - 8, sizeof word);
    const auto skipped = static_cast<int>(8 - (stop - at));  // bytes before `at`
    const std::uint64_t found = Matches<wanted>(word, separator) >> (8 * skipped);
    return found != 0 ? at + std::countr_zero(found) / 8 : stop;
  }
  while (at != stop && (*at == separator) != wanted) {
    ++at;
  }
  return at;
}

// Cuts the line at `separator`, adding each field to the record as a span of its held copy.
// With blanks, runs of them count as one and leading blanks are skipped; blanks at the end
// give one empty field (a line of blanks only: one empty field).
template <bool runs>
void CutAt(std::string_view line, char separator, FieldRecord& record) {
  const char* const begin = line.data();
  const char* at = begin;
  const char* const stop = at + line.size();
  FieldCounter counter;
  while (at != stop) {
    const char* start = runs ? FindByteOrOther<false>(begin, at, stop, separator) : at;
    const char* end = FindByteOrOther<true>(begin, start, stop, separator);
    counter.Add();
    record.AddField(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(end - start));
    at = end == stop ? stop : end + 1;
  }
}

}  // namespace

void ParseString(std::string_view line, FieldRecord& record, std::string_view identifier, Ui& ui) {
  const bool blanks = identifier.size() == 1 && identifier.front() == 'S';
  const bool tabs = identifier.size() == 1 && identifier.front() == 'T';
  // The fields are spans of the record's own copy of the line. The line itself is scanned,
  // unless the copy overwrote it (a line that was one of the record's values): bytes stored a
  // moment ago are slow to load a word at a time.
  const std::string_view held = record.HoldLine(line);
  const std::less<const char*> before;
  const bool overwritten = before(line.data(), held.data() + held.size()) &&
                           before(held.data(), line.data() + line.size());
  const std::string_view scanned = overwritten ? held : line;
  if (blanks) {
    CutAt<true>(scanned, ' ', record);
  } else if (tabs) {
    CutAt<false>(scanned, '\t', record);
  } else if (!held.empty()) {
    MakeEmpty(record);
    ui.Message("Error in ParseString(), Unknown Identifier: " + std::string(identifier));
  }
}

}  // namespace trelvox
