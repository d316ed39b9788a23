#include "analysis/Tables.h"

#include <algorithm>
#include <charconv>

#include "analysis/Tsv.h"

namespace trelvox::analysis {

namespace {

void WriteRow(FileChannels& out, std::int16_t channel, TsvRow& row) {
  WriteLineAsIs(out, channel, row.Finish());
}

// A whole number written as one ("14", "-3"), for ordering; empty otherwise.
std::optional<long long> WholeNumber(const std::string& text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> SdMs(const RtFigures& figures) {
  const std::optional<double> sd = figures.SdCentis();
  return sd ? std::optional(*sd / 100) : std::nullopt;
}

void AddRtCells(TsvRow& row, RtFigures& figures) {
  row.CentisCell(figures.MeanCentis())
      .CentisCell(figures.MedianCentis())
      .Fixed(SdMs(figures), kRtDecimals);
}

}  // namespace

TableShape ShapeOf(const Catalog& catalog) {
  TableShape shape;
  if (catalog.list != nullptr) {
    shape.listColumns = catalog.list->Columns();
    for (const int column : catalog.byColumns) {
      shape.byColumns.push_back(catalog.list->Columns()[static_cast<std::size_t>(column)]);
    }
  }
  shape.cells = catalog.cells;
  shape.cot = catalog.request.cot;
  shape.zil = catalog.anyZil;
  return shape;
}

std::vector<std::size_t> ItemOrder(const Catalog& catalog) {
  std::vector<std::size_t> order(catalog.items.size());
  std::vector<std::optional<long long>> numbers(catalog.items.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
    numbers[i] = WholeNumber(catalog.items[i].text);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (numbers[a].has_value() != numbers[b].has_value()) {
      return numbers[a].has_value();
    }
    if (numbers[a]) {
      return *numbers[a] < *numbers[b];
    }
    return catalog.items[a].text < catalog.items[b].text;
  });
  return order;
}

std::optional<double> Ms(const std::optional<Centis>& centis) {
  return centis ? std::optional(static_cast<double>(*centis) / 100) : std::nullopt;
}

void WriteSubjectsTable(Catalog& catalog, FileChannels& out, std::int16_t channel) {
  WriteLineAsIs(out, channel, HeaderRow(SubjectsTable()));
  TsvRow row;
  for (SubjectEntry& subject : catalog.subjects) {
    row.Text(subject.name)
        .Integer(subject.files)
        .Integer(subject.blocks)
        .Integer(subject.trials)
        .Integer(subject.correct)
        .Integer(subject.errors)
        .Integer(subject.noResponses)
        .Fixed(
            ErrorRate(subject.errors + subject.noResponses, subject.WithOutcome(), subject.trials),
            kRateDecimals);
    AddRtCells(row, subject.rts);
    row.Integer(subject.trimmed).Integer(subject.excluded ? 1 : 0).Text(subject.reason);
    WriteRow(out, channel, row);
  }
}

void WriteItemsTable(Catalog& catalog, const std::vector<std::size_t>& order, FileChannels& out,
                     std::int16_t channel) {
  WriteLineAsIs(out, channel, HeaderRow(ItemsTable(ShapeOf(catalog))));
  TsvRow row;
  for (const std::size_t index : order) {
    ItemEntry& item = catalog.items[index];
    row.Text(item.text);
    for (std::size_t column = 0; catalog.list != nullptr && column < catalog.list->Columns().size();
         ++column) {
      row.Text(item.listRow >= 0 ? catalog.list->Values(item.listRow)[column] : std::string());
    }
    row.Integer(item.presentations)
        .Integer(item.subjects)
        .Integer(item.errors)
        .Integer(item.noResponses)
        .Fixed(ErrorRate(item.errors + item.noResponses, item.withOutcome, item.presentations),
               kRateDecimals);
    AddRtCells(row, item.rts);
    WriteRow(out, channel, row);
  }
}

void WriteBySubjectTable(const Catalog& catalog, FileChannels& out, std::int16_t channel) {
  WriteLineAsIs(out, channel, HeaderRow(BySubjectTable(ShapeOf(catalog))));
  TsvRow row;
  for (const SubjectEntry& subject : catalog.subjects) {
    if (subject.excluded) {
      continue;
    }
    row.Text(subject.name);
    for (std::size_t index = 0; index < catalog.cells.size(); ++index) {
      const CellFigures cell = index < subject.cells.size() ? subject.cells[index] : CellFigures();
      row.CentisCell(cell.count > 0 ? std::optional(RoundedQuotient(cell.sum, cell.count))
                                    : std::nullopt)
          .Fixed(ErrorRate(cell.failed, cell.withOutcome, cell.trials), kRateDecimals);
    }
    WriteRow(out, channel, row);
  }
}

void WriteByItemTable(Catalog& catalog, const std::vector<std::size_t>& order, FileChannels& out,
                      std::int16_t channel) {
  WriteLineAsIs(out, channel, HeaderRow(ByItemTable(ShapeOf(catalog))));
  TsvRow row;
  for (const std::size_t index : order) {
    ItemEntry& item = catalog.items[index];
    row.Text(item.text);
    for (const int column : catalog.byColumns) {
      row.Text(item.listRow >= 0
                   ? catalog.list->Values(item.listRow)[static_cast<std::size_t>(column)]
                   : std::string());
    }
    row.CentisCell(item.rts.MeanCentis())
        .Fixed(ErrorRate(item.errors + item.noResponses, item.withOutcome, item.presentations),
               kRateDecimals)
        .Integer(item.subjects);
    WriteRow(out, channel, row);
  }
}

}  // namespace trelvox::analysis
