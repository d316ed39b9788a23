#pragma once

#include "analysis/ReportData.h"

namespace trelvox::test {

// Report figures written by hand until the analysis fills them: a small sample (an AZK and a ZIL
// file, four subjects, every section filled, awkward names), one with nothing in it, and one of
// the benchmark's shape (2,000 subjects of 500 trials, 400 items) for size and speed.
analysis::ReportData SmallReportSample();
analysis::ReportData EmptyReportSample();
analysis::ReportData LargeReportSample();

}  // namespace trelvox::test
