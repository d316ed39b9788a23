#include "shell/FileFilter.h"

#include <vector>

namespace trelvox {

namespace {

std::vector<std::string> SplitAtBars(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = text.find('|', start);
    parts.emplace_back(text.substr(start, bar - start));
    if (bar == std::string_view::npos) {
      return parts;
    }
    start = bar + 1;
  }
}

// "*.dat;*.txt" becomes "*.dat *.txt"; an empty pattern matches everything.
std::string BlankSeparated(std::string pattern) {
  for (char& c : pattern) {
    if (c == ';') {
      c = ' ';
    }
  }
  return pattern.find_first_not_of(' ') == std::string::npos ? "*" : pattern;
}

// The patterns as Qt matches them. On Windows "*.*" lists every file, also one without a dot;
// in Qt that is "*".
std::string QtPatterns(const std::string& blankSeparated) {
  std::string patterns;
  std::size_t start = 0;
  while (start <= blankSeparated.size()) {
    std::size_t end = blankSeparated.find(' ', start);
    if (end == std::string::npos) {
      end = blankSeparated.size();
    }
    const std::string_view one = std::string_view(blankSeparated).substr(start, end - start);
    if (!one.empty()) {
      patterns += patterns.empty() ? "" : " ";
      patterns += one == "*.*" ? std::string_view("*") : one;
    }
    start = end + 1;
  }
  return patterns;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Qt reads the patterns from the parentheses that end the entry, so a description that names
// its own patterns there gets them in Qt's words.
std::string FilterEntry(const std::string& description, const std::string& pattern) {
  const std::string named = "(" + BlankSeparated(pattern) + ")";
  const std::string patterns = "(" + QtPatterns(BlankSeparated(pattern)) + ")";
  if (EndsWith(description, named)) {
    return description.substr(0, description.size() - named.size()) + patterns;
  }
  return description.empty() ? patterns : description + " " + patterns;
}

}  // namespace

std::string QtFilterFromPairs(std::string_view filter) {
  if (filter.empty()) {
    return {};
  }
  const std::vector<std::string> parts = SplitAtBars(filter);
  std::string entries;
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    const std::string pattern = i + 1 < parts.size() ? parts[i + 1] : std::string();
    if (!entries.empty()) {
      entries += ";;";
    }
    entries += FilterEntry(parts[i], pattern);
  }
  return entries;
}

}  // namespace trelvox
