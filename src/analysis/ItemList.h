#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trelvox {
class FileChannels;
}

namespace trelvox::analysis {

// The key an item joins by: its text without surrounding blanks, and a whole number without
// sign or leading zeros ("014", "+14" and "14" are one item).
std::string ItemKey(std::string_view text);

// The names the analysis writes columns under: an item list may not use them, or the tables
// would hold two columns of one name.
bool IsReservedColumn(std::string_view name);

// A table of items with a header row, tab- or comma-separated (the header row tells which), one
// column named "item" in any letter case and any others: their values join onto the trials by
// item number. Cells may be quoted with double quotes, as spreadsheets write them.
class ItemList {
 public:
  // Raises TrelvoxError, naming the line and what to mend, when the file cannot be read or is
  // no such table.
  static ItemList Read(const std::string& path, FileChannels& files);

  // The columns besides "item", in the file's order.
  const std::vector<std::string>& Columns() const { return columns_; }
  // The index of the column named `name`, matched exactly or else in any letter case; -1 when
  // there is none.
  int ColumnIndex(std::string_view name) const;
  int Rows() const { return static_cast<int>(items_.size()); }
  const std::string& Item(int row) const { return items_[static_cast<std::size_t>(row)]; }
  const std::vector<std::string>& Values(int row) const {
    return values_[static_cast<std::size_t>(row)];
  }
  // The row listing the item written `item` in the data, or -1.
  int RowOf(std::string_view item) const;

 private:
  // What is wrong with the header row or a row, or nothing.
  std::optional<std::string> ReadHeader(const std::vector<std::string>& cells);
  std::optional<std::string> AddRow(std::vector<std::string> cells, int line);

  std::size_t itemColumn_ = 0;
  std::vector<std::string> columns_;
  std::vector<std::string> items_;
  std::vector<std::vector<std::string>> values_;
  std::unordered_map<std::string, int> rowOfKey_;
  std::vector<int> lineOfRow_;
};

// The cells of one line of a delimited table: `delimiter` separates, a cell in double quotes may
// hold the delimiter, and "" inside quotes is one quote. False when a quote does not close.
bool SplitDelimited(std::string_view line, char delimiter, std::vector<std::string>& cells);

}  // namespace trelvox::analysis
