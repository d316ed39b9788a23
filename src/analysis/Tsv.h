#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/Trials.h"
#include "platform/Bytes.h"

namespace trelvox {
class FileChannels;
}

namespace trelvox::analysis {

// True for "612.48", "-2000", "0.5": digits with an optional sign and point, nothing else.
bool IsPlainDecimal(std::string_view text);

// Cells appended to a row: plain decimal with "." whatever the locale, nothing quoted. A tab
// inside a text becomes a blank, since it would end the cell; texts come from lines, so they
// hold no line end.
void AppendText(std::string& row, std::string_view text);
void AppendInteger(std::string& row, long long value);
// Hundredths as "612.48", "-0.05".
void AppendCentis(std::string& row, Centis value);
void AppendFixed(std::string& row, double value, int decimals);
// A number the user gave, as briefly as it reads: "0.25", "2.5", "300".
std::string PlainNumber(double value);

// One row of a table, cell by cell.
class TsvRow {
 public:
  TsvRow& Text(std::string_view text) {
    Separate();
    AppendText(line_, text);
    return *this;
  }
  TsvRow& Integer(long long value) {
    Separate();
    AppendInteger(line_, value);
    return *this;
  }
  TsvRow& CentisCell(const std::optional<Centis>& value) {
    Separate();
    if (value) {
      AppendCentis(line_, *value);
    }
    return *this;
  }
  // A figure with `decimals` decimals; the empty cell when there is none.
  TsvRow& Fixed(const std::optional<double>& value, int decimals) {
    Separate();
    if (value) {
      AppendFixed(line_, *value, decimals);
    }
    return *this;
  }
  // The row with its LF, ready to be written; the next cell starts a new row.
  std::string_view Finish() {
    line_ += '\n';
    started_ = false;
    return line_;
  }

 private:
  void Separate() {
    if (!started_) {
      line_.clear();
      started_ = true;
    } else {
      line_ += '\t';
    }
  }
  std::string line_;
  bool started_ = false;
};

// The longest a number cell can be: a sign, 19 digits, a point and two decimals.
inline constexpr std::size_t kLongestNumber = 24;

inline char* Put(char* at, std::string_view text) {
  MoveBytes(at, text.data(), text.size());  // most cells are short: no call for them
  return at + text.size();
}
inline char* Put(char* at, char c) {
  *at = c;
  return at + 1;
}
// A text cell: as Put, with tabs made blanks (a line read from a file holds no CR or LF).
char* PutText(char* at, std::string_view text);
char* PutLargeInteger(char* at, long long value);
// Row numbers are small: up to four digits without a call.
inline char* PutInteger(char* at, long long value) {
  if (value < 0 || value > 9999) {
    return PutLargeInteger(at, value);
  }
  const auto v = static_cast<int>(value);
  const int digits = v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : 4;
  int rest = v;
  for (int i = digits - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  return at + digits;
}
// A short text known in advance (an outcome, a trim), padded to 16 bytes so that it is copied
// in one move: the row buffer has room behind the row for it.
struct Word {
  char bytes[16] = {};
  std::size_t size = 0;
  constexpr explicit Word(std::string_view text) : size(text.size()) {
    for (std::size_t i = 0; i < text.size() && i < sizeof bytes; ++i) {
      bytes[i] = text[i];
    }
  }
};
inline char* Put(char* at, const Word& word) {
  std::memcpy(at, word.bytes, sizeof word.bytes);
  return at + word.size;
}
char* PutCentis(char* at, Centis value);

// Rows of the large tables are built in place, cell after cell, in a buffer made large enough
// for the whole row first: no check per cell whether it still fits.
class RowBuffer {
 public:
  // Room for a row of at most `bound` bytes.
  char* Begin(std::size_t bound) {
    bound += sizeof(Word::bytes);  // the padding of the last word put
    if (buffer_.size() < bound) {
      buffer_.resize(std::max(bound, 2 * buffer_.size()));
    }
    return buffer_.data();
  }
  std::string_view Row(const char* end) const {
    return std::string_view(buffer_.data(), static_cast<std::size_t>(end - buffer_.data()));
  }

 private:
  std::string buffer_;
};

// Writes `line` (its LF included) to an output channel as it stands.
void WriteLineAsIs(FileChannels& files, std::int16_t channel, std::string_view line);

}  // namespace trelvox::analysis
