#pragma once

#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/ReportData.h"

namespace trelvox::analysis {

// The Vega-Lite chart descriptions of the report's plots, built from the analysis figures (data
// inline, aggregated as the figures are). Each is empty when there is nothing to draw; the page
// then says so in words.

// Error rate against mean RT, one point per subject with both, excluded subjects marked, the
// --max-error-rate line drawn.
std::optional<nlohmann::json> SubjectsPlot(const ReportData& data);
// The distribution of correct RTs, one histogram per --by cell, the --min-rt and --max-rt
// cutoffs drawn.
std::optional<nlohmann::json> RtDistributionPlot(const ReportData& data);
// Mean RT by trial position.
std::optional<nlohmann::json> PositionPlot(const ReportData& data);
// Error rate against mean RT per item, the worst ten named.
std::optional<nlohmann::json> ItemsPlot(const ReportData& data);
// Anomalies counted per kind, and per subject for the subjects with the most.
std::optional<nlohmann::json> AnomalyKindsPlot(const ReportData& data);
std::optional<nlohmann::json> AnomalySubjectsPlot(const ReportData& data);
// ZIL: trials by number of recorded events; presses and releases per key.
std::optional<nlohmann::json> ResponsesPerTrialPlot(const ReportData& data);
std::optional<nlohmann::json> KeysPlot(const ReportData& data);

// The items with the highest error rate (then the slowest), at most `count`.
std::vector<const ReportItem*> WorstItems(const ReportData& data, std::size_t count);

// How many subjects the per-subject anomaly plot shows at most.
inline constexpr std::size_t kAnomalySubjectsShown = 30;

}  // namespace trelvox::analysis
