#include "analysis/AnalysisTestSupport.h"

#include <algorithm>
#include <stdexcept>

namespace trelvox::analysis::testing {

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    cells.push_back(line.substr(start, tab - start));
  }
  cells.push_back(line.substr(start));
  return cells;
}

std::vector<std::string> AnalysisFixture::Column(const std::string& table,
                                                 const std::string& name) const {
  const std::vector<std::string> lines = Lines(Out(table));
  const std::vector<std::string> header = Cells(lines.at(0));
  const auto found = std::find(header.begin(), header.end(), name);
  if (found == header.end()) {
    throw std::runtime_error(table + " has no column " + name);
  }
  const auto index = static_cast<std::size_t>(found - header.begin());
  std::vector<std::string> column;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    column.push_back(Cells(lines[i]).at(index));
  }
  return column;
}

std::vector<std::string> AnalysisFixture::Row(const std::string& table, std::size_t row) const {
  return Cells(Lines(Out(table)).at(row));
}

}  // namespace trelvox::analysis::testing
