#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/Trials.h"

namespace trelvox {
class FileChannels;
}

namespace trelvox::analysis {

// True for "612.48", "-2000", "0.5": digits with an optional sign and point, nothing else.
bool IsPlainDecimal(std::string_view text);

// Cells appended to a row: plain decimal with "." whatever the locale, nothing quoted. A tab,
// CR or LF inside a text becomes a blank, since it would end the cell or the row.
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

// Writes `line` (its LF included) to an output channel as it stands.
void WriteLineAsIs(FileChannels& files, std::int16_t channel, std::string_view line);

}  // namespace trelvox::analysis
