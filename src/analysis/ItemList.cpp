#include "analysis/ItemList.h"

#include <algorithm>
#include <array>

#include "platform/Errors.h"
#include "platform/FileChannels.h"

namespace trelvox::analysis {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::array<std::string_view, 28> kReservedColumns = {
    "file",       "block",    "subject",       "date",         "time",    "machine",
    "refresh_ms", "trial",    "item",          "outcome",      "rt",      "rt_raw",
    "cot",        "response", "responses",     "prev_outcome", "prev_rt", "repetition",
    "trim",       "excluded", "presentations", "subjects",     "errors",  "no_responses",
    "error_rate", "mean_rt",  "median_rt",     "sd_rt"};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

[[noreturn]] void Fail(const std::string& path, int line, const std::string& what) {
  throw TrelvoxError("The item list " + path + ", line " + std::to_string(line) + ": " + what);
}

bool AllEmpty(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(),
                     [](const std::string& cell) { return TrimBlanks(cell).empty(); });
}

}  // namespace

std::string ItemKey(std::string_view text) {
  text = TrimBlanks(text);
  std::string_view digits = text;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
    digits.remove_prefix(1);
  }
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::string(text);
  }
  while (digits.size() > 1 && digits.front() == '0') {
    digits.remove_prefix(1);
  }
  std::string key(negative && digits != "0" ? "-" : "");
  return key.append(digits);
}

bool IsReservedColumn(std::string_view name) {
  return std::any_of(
      kReservedColumns.begin(), kReservedColumns.end(),
      [name](std::string_view reserved) { return SameIgnoringCase(name, reserved); });
}

bool SplitDelimited(std::string_view line, char delimiter, std::vector<std::string>& cells) {
  cells.clear();
  std::string cell;
  bool quoted = false;
  bool wasQuoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        cell += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        cell += c;
      }
    } else if (c == delimiter) {
      cells.push_back(std::move(cell));
      cell.clear();
      wasQuoted = false;
    } else if (c == '"' && !wasQuoted && TrimBlanks(cell).empty()) {
      cell.clear();
      quoted = true;
      wasQuoted = true;
    } else {
      cell += c;
    }
  }
  cells.push_back(std::move(cell));
  return !quoted;
}

ItemList ItemList::Read(const std::string& path, FileChannels& files) {
  const std::int16_t channel = files.FreeChannel();
  const OpenResult opened = files.Open(channel, path, OpenMode::Input);
  if (opened.errorNumber != 0) {
    throw ReadError("Could not open the item list " + path + ": " + opened.description +
                    ". Check that the file exists and can be read.");
  }
  ItemList list;
  char delimiter = 0;
  std::vector<std::string> cells;
  int number = 0;
  try {
    for (std::string_view line; (line = files.ReadNext(channel)).data() != nullptr;) {
      ++number;
      if (number == 1 && line.starts_with(kByteOrderMark)) {
        line.remove_prefix(kByteOrderMark.size());
      }
      if (delimiter == 0) {
        if (TrimBlanks(line).empty()) {
          continue;
        }
        delimiter = line.find('\t') != std::string_view::npos ? '\t' : ',';
        if (!SplitDelimited(line, delimiter, cells)) {
          Fail(path, number, "a quoted cell does not end on its line.");
        }
        if (const auto problem = list.ReadHeader(cells)) {
          Fail(path, number, *problem);
        }
        continue;
      }
      if (!SplitDelimited(line, delimiter, cells)) {
        Fail(path, number, "a quoted cell does not end on its line.");
      }
      if (AllEmpty(cells)) {
        continue;
      }
      if (const auto problem = list.AddRow(std::move(cells), number)) {
        Fail(path, number, *problem);
      }
    }
  } catch (...) {
    files.CloseQuietly(channel);
    throw;
  }
  files.Close(channel);
  if (delimiter == 0) {
    Fail(path, 1, "the file is empty; it needs a header row with a column named \"item\".");
  }
  return list;
}

std::optional<std::string> ItemList::ReadHeader(const std::vector<std::string>& cells) {
  bool found = false;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::string name(TrimBlanks(cells[i]));
    if (SameIgnoringCase(name, "item")) {
      if (found) {
        return "two columns are named \"item\"; keep one.";
      }
      found = true;
      itemColumn_ = i;
      continue;
    }
    if (name.empty()) {
      return "column " + std::to_string(i + 1) + " has no name; give it one in the header row.";
    }
    if (IsReservedColumn(name)) {
      return "the column \"" + name +
             "\" has the name of a column the analysis writes itself; rename it.";
    }
    if (std::find(columns_.begin(), columns_.end(), name) != columns_.end()) {
      return "two columns are named \"" + name + "\"; rename one.";
    }
    columns_.push_back(name);
  }
  if (!found) {
    return "the header row has no column named \"item\"; the list joins onto the trials by it.";
  }
  return std::nullopt;
}

std::optional<std::string> ItemList::AddRow(std::vector<std::string> cells, int line) {
  const std::size_t width = columns_.size() + 1;
  if (cells.size() > width) {
    return std::to_string(cells.size()) + " cells where the header row names " +
           std::to_string(width) + ".";
  }
  cells.resize(width);
  const std::string item(TrimBlanks(cells[itemColumn_]));
  if (item.empty()) {
    return "the row has no item.";
  }
  const auto [found, added] = rowOfKey_.emplace(ItemKey(item), Rows());
  if (!added) {
    return "item " + item + " is listed again (first on line " +
           std::to_string(lineOfRow_[static_cast<std::size_t>(found->second)]) + ").";
  }
  cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(itemColumn_));
  items_.push_back(item);
  values_.push_back(std::move(cells));
  lineOfRow_.push_back(line);
  return std::nullopt;
}

int ItemList::ColumnIndex(std::string_view name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i] == name) {
      return static_cast<int>(i);
    }
  }
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (SameIgnoringCase(columns_[i], name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int ItemList::RowOf(std::string_view item) const {
  const auto found = rowOfKey_.find(ItemKey(item));
  return found == rowOfKey_.end() ? -1 : found->second;
}

}  // namespace trelvox::analysis
