#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace trelvox::testing {

// A test name made from a case's text, so that ctest lists it readably and the same in every
// build: its number, then the text with signs and points spelt out and anything else as "_".
inline std::string ReadableTestName(std::size_t index, std::string_view text) {
  std::string name = std::to_string(index) + "_";
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      name += c;
    } else if (c == '-') {
      name += "minus";
    } else if (c == '+') {
      name += "plus";
    } else if (c == '.') {
      name += "dot";
    } else {
      name += '_';
    }
  }
  return text.empty() ? name + "empty" : name;
}

}  // namespace trelvox::testing
