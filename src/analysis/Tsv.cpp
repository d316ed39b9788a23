#include "analysis/Tsv.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/FileChannels.h"

namespace trelvox::analysis {

bool IsPlainDecimal(std::string_view text) {
  std::size_t at = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  bool digits = false;
  bool point = false;
  for (; at < text.size(); ++at) {
    if (text[at] >= '0' && text[at] <= '9') {
      digits = true;
    } else if (text[at] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

char* PutText(char* at, std::string_view text) {
  char* const end = Put(at, text);
  for (; at != end; ++at) {
    *at = *at == '\t' ? ' ' : *at;
  }
  return end;
}

char* PutLargeInteger(char* at, long long value) {
  return std::to_chars(at, at + kLongestNumber, value).ptr;
}

char* PutCentis(char* at, Centis value) {
  if (value < 0) {
    *at++ = '-';
    value = -value;
  }
  at = PutInteger(at, value / 100);
  const auto hundredths = static_cast<int>(value % 100);
  at[0] = '.';
  at[1] = static_cast<char>('0' + hundredths / 10);
  at[2] = static_cast<char>('0' + hundredths % 10);
  return at + 3;
}

void AppendText(std::string& row, std::string_view text) {
  const std::size_t start = row.size();
  row.resize(start + text.size());
  PutText(row.data() + start, text);
}

void AppendInteger(std::string& row, long long value) {
  char digits[kLongestNumber];
  row.append(digits, PutInteger(digits, value));
}

void AppendCentis(std::string& row, Centis value) {
  char digits[kLongestNumber];
  row.append(digits, PutCentis(digits, value));
}

void AppendFixed(std::string& row, double value, int decimals) {
  char digits[64];
  // A value that rounds to zero is written without a sign.
  if (std::fabs(value) * std::pow(10.0, decimals) < 0.5) {
    value = 0;
  }
  const auto end =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals).ptr;
  row.append(digits, end);
}

std::string PlainNumber(double value) {
  std::string text;
  AppendFixed(text, value, 6);
  while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

void WriteLineAsIs(FileChannels& files, std::int16_t channel, std::string_view line) {
  std::memcpy(files.LineRoom(channel, line.size()), line.data(), line.size());
}

}  // namespace trelvox::analysis
