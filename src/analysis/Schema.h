#pragma once

#include <string>
#include <vector>

namespace trelvox::analysis {

enum class ColumnType { String, Integer, Number, Date, Time };

// One column of a table as the data package describes it.
struct ColumnLayout {
  std::string name;
  ColumnType type = ColumnType::String;
  std::string description;
  std::string unit;                 // "ms", or empty
  int decimals = -1;                // fixed decimals of a number; -1: as written in the input
  std::vector<std::string> values;  // the values allowed (besides the empty cell), or none
};

struct TableLayout {
  std::string name;  // "trials"
  std::string path;  // "trials.tsv"
  std::string description;
  std::vector<ColumnLayout> columns;
};

// What shapes the tables: the item list's columns, the --by columns, the cells, and the options
// that add columns.
struct TableShape {
  std::vector<std::string> listColumns;
  std::vector<std::string> byColumns;
  std::vector<std::string> cells;  // by_subject's column groups
  bool cot = false;
  bool zil = false;  // any input is ZIL: response columns and the events table
};

inline constexpr int kRtDecimals = 2;
inline constexpr int kRateDecimals = 4;

TableLayout TrialsTable(const TableShape& shape);
TableLayout EventsTable();
TableLayout SubjectsTable();
TableLayout ItemsTable(const TableShape& shape);
TableLayout BySubjectTable(const TableShape& shape);
TableLayout ByItemTable(const TableShape& shape);

// The header row of a table, with its LF.
std::string HeaderRow(const TableLayout& table);

}  // namespace trelvox::analysis
