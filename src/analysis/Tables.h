#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Passes.h"
#include "analysis/Schema.h"

namespace trelvox {
class FileChannels;
}

namespace trelvox::analysis {

// The shape of the tables once the first pass has met every item and cell.
TableShape ShapeOf(const Catalog& catalog);

// The items in the order the tables list them: whole numbers by value, then the others by
// their bytes.
std::vector<std::size_t> ItemOrder(const Catalog& catalog);

// ms as hundredths, for the report: the mean, median and SD of a subject's or item's times.
std::optional<double> Ms(const std::optional<Centis>& centis);

// The summary tables, each with its header row, written to its output channel.
void WriteSubjectsTable(Catalog& catalog, FileChannels& out, std::int16_t channel);
void WriteItemsTable(Catalog& catalog, const std::vector<std::size_t>& order, FileChannels& out,
                     std::int16_t channel);
void WriteBySubjectTable(const Catalog& catalog, FileChannels& out, std::int16_t channel);
void WriteByItemTable(Catalog& catalog, const std::vector<std::size_t>& order, FileChannels& out,
                      std::int16_t channel);

}  // namespace trelvox::analysis
