#pragma once

#include <ostream>

#include "analysis/ReportData.h"

namespace trelvox::analysis {

// Writes the data-quality report: one self-contained HTML page (styles, plotting scripts and
// data inline, nothing fetched) with the inputs and options, the subjects, the reaction times,
// the items, the anomalies and the ZIL responses. Sections without data say so in words.
void WriteReportHtml(const ReportData& data, std::ostream& out);

}  // namespace trelvox::analysis
