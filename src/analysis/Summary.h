#pragma once

#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/Passes.h"

namespace trelvox::analysis {

// The options of `request` as trelvox-batch takes them, in the order of its flags.
std::vector<ReportOption> OptionsOf(const AnalysisRequest& request);

// Everything the report shows, from the figures of both passes.
ReportData BuildReport(Catalog& catalog, const AnalysisRequest& request, std::string version,
                       std::string analysedAt);

AnalysisSummary Summarise(const Catalog& catalog);

// What the command tells its user: each subject in one line, the anomalies (the readers' own
// words where they tell them), the items missing from the list or the data, duplicate blocks,
// the totals and where the files went.
std::vector<std::string> TranscriptLines(const Catalog& catalog, const AnalysisSummary& summary,
                                         const std::string& folder,
                                         const std::vector<std::string>& written);

}  // namespace trelvox::analysis
