#include "record/Tokenizer.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Bytes.h"
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
  int Count() const { return count_; }

 private:
  int capacity_ = kCapacityStep;
  int count_ = 0;
};

// Cuts the line into runs of bytes other than blanks, the fields of identifier "S": leading
// blanks skipped, a blank ends a field, and two or more blanks at the end give one empty field
// more (a line of blanks only: one empty field). Each field is added to the record as a span of
// its held copy. The line is taken 64 bytes at a time as a mask of its blanks, and the runs
// are found from where the mask changes, so no byte is looked at on its own.
void CutAtBlanks(std::string_view line, FieldRecord& record) {
  const char* const begin = line.data();
  const std::size_t size = line.size();
  if (size < 64) {
    // One window, nothing carried: every run ends at a change, the last one at bit `size`.
    std::uint64_t notBlank =
        ~MaskOf(begin, begin, size, ' ', ' ') & ((std::uint64_t{1} << size) - 1);
    std::uint64_t changes = notBlank ^ (notBlank << 1);
    if (changes == 0) {
      if (size > 0) {
        record.AddField(size, 0);  // blanks only: one empty field
      }
      return;
    }
    std::size_t end = 0;
    for (; changes != 0; changes &= changes - 1) {
      const auto start = static_cast<std::size_t>(std::countr_zero(changes));
      changes &= changes - 1;
      end = static_cast<std::size_t>(std::countr_zero(changes));
      record.AddField(start, end - start);
    }
    if (size - end >= 2) {
      record.AddField(size, 0);
    }
    return;
  }
  FieldCounter counter;
  const auto addRun = [&](std::size_t start, std::size_t end) {
    counter.Add();
    record.AddField(start, end - start);
  };
  std::uint64_t previousNotBlank = 0;  // the byte before the window, as bit 0
  std::size_t runStart = 0;
  std::size_t lastRunEnd = 0;
  bool inRun = false;  // a run reaches into the window from the one before
  for (std::size_t base = 0; base < size; base += 64) {
    const std::size_t width = std::min<std::size_t>(64, size - base);
    const std::uint64_t inWindow =
        width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
    const std::uint64_t notBlank = ~MaskOf(begin, begin + base, width, ' ', ' ') & inWindow;
    // A set bit where a run starts and where it ends; a run ending with a narrower last window
    // ends at bit `width`.
    std::uint64_t changes = notBlank ^ ((notBlank << 1) | previousNotBlank);
    previousNotBlank = notBlank >> 63;
    const auto next = [&] {
      const std::size_t at = base + static_cast<std::size_t>(std::countr_zero(changes));
      changes &= changes - 1;
      return at;
    };
    if (inRun && changes != 0) {
      lastRunEnd = next();
      addRun(runStart, lastRunEnd);
      inRun = false;
    }
    while (changes != 0) {
      const std::size_t start = next();
      if (changes == 0) {
        runStart = start;  // runs on into the next window
        inRun = true;
        break;
      }
      lastRunEnd = next();
      addRun(start, lastRunEnd);
    }
  }
  if (inRun) {  // a run that fills the last window to its 64th byte
    addRun(runStart, size);
    lastRunEnd = size;
  }
  const bool anyRun = counter.Count() > 0;
  if ((!anyRun && size > 0) || (anyRun && size - lastRunEnd >= 2)) {
    counter.Add();
    record.AddField(size, 0);
  }
}

// Cuts the line at every tab, the fields of identifier "T"; a tab that ends the line adds no
// empty field after it.
void CutAtTabs(std::string_view line, FieldRecord& record) {
  const char* const begin = line.data();
  const std::size_t size = line.size();
  FieldCounter counter;
  std::size_t fieldStart = 0;
  for (std::size_t base = 0; base < size; base += 64) {
    const std::size_t width = std::min<std::size_t>(64, size - base);
    for (std::uint64_t tabs = MaskOf(begin, begin + base, width, '\t', '\t'); tabs != 0;
         tabs &= tabs - 1) {
      const std::size_t at = base + static_cast<std::size_t>(std::countr_zero(tabs));
      counter.Add();
      record.AddField(fieldStart, at - fieldStart);
      fieldStart = at + 1;
    }
  }
  if (fieldStart < size) {
    counter.Add();
    record.AddField(fieldStart, size - fieldStart);
  }
}

// Out of line, so that ParseString itself builds no string.
[[gnu::noinline]] void RefuseIdentifier(FieldRecord& record, std::string_view identifier, Ui& ui) {
  MakeEmpty(record);
  ui.Message(MessageId::UnknownIdentifier,
             "Error in ParseString(), Unknown Identifier: " + std::string(identifier));
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
    CutAtBlanks(scanned, record);
  } else if (tabs) {
    CutAtTabs(scanned, record);
  } else if (!held.empty()) {
    RefuseIdentifier(record, identifier, ui);
  }
}

}  // namespace trelvox
