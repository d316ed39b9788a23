#include "analysis/ReportCharts.h"

#include <algorithm>
#include <map>
#include <string>

#include "analysis/ReportText.h"

namespace trelvox::analysis {

using nlohmann::json;

namespace {

constexpr const char* kKeptColour = "#4c78a8";
constexpr const char* kExcludedColour = "#e45756";
constexpr const char* kCutoffColour = "#b22222";

json Field(const char* name, const char* type, const char* title) {
  return {{"field", name}, {"type", type}, {"title", title}};
}

// An axis of counts: whole numbers only, however few.
json CountField(const char* name, const char* type, const char* title) {
  json field = Field(name, type, title);
  field["axis"] = {{"tickMinStep", 1}, {"format", "d"}};
  return field;
}

// A scatter plot's axis. Reaction times keep their points off the frame, so that edge points
// and their labels stay readable; rates start at 0%, as padding would show negative ones.
json ScatterField(const char* name, const char* title, bool rate) {
  json field = Field(name, "quantitative", title);
  if (rate) {
    field["scale"] = {{"zero", true}};
    field["axis"] = {{"format", ".0%"}};
  } else {
    field["scale"] = {{"zero", false}, {"padding", 12}};
  }
  return field;
}

// Anomaly kinds in order of first appearance, so that both anomaly plots colour them alike.
json KindDomain(const ReportData& data) {
  json kinds = json::array();
  for (const ReportAnomaly& anomaly : data.anomalies) {
    const std::string kind = ToValidUtf8(anomaly.kind);
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) {
      kinds.push_back(kind);
    }
  }
  return kinds;
}

json KindColour(const ReportData& data, bool legend) {
  json colour = {{"field", "kind"},
                 {"type", "nominal"},
                 {"title", "Kind"},
                 {"scale", {{"domain", KindDomain(data)}}}};
  if (!legend) {
    colour["legend"] = nullptr;
  }
  return colour;
}

// Whose anomaly it is; lines met between two subjects' blocks belong to none.
std::string AnomalySubject(const ReportAnomaly& anomaly) {
  return anomaly.subject.empty() ? "(between subjects)" : ToValidUtf8(anomaly.subject);
}

json Tip(const char* name, const char* type, const char* title, const char* format = nullptr) {
  json tip = Field(name, type, title);
  if (format != nullptr) {
    tip["format"] = format;
  }
  return tip;
}

// A dashed vertical or horizontal line at each value, labelled.
json CutoffRules(const char* channel, const std::vector<std::pair<std::string, double>>& cutoffs) {
  json values = json::array();
  for (const auto& [label, value] : cutoffs) {
    values.push_back({{"label", label}, {"value", value}});
  }
  return {{"data", {{"values", std::move(values)}}},
          {"mark", {{"type", "rule"}, {"color", kCutoffColour}, {"strokeDash", {6, 4}}}},
          {"encoding",
           {{channel, {{"field", "value"}, {"type", "quantitative"}}},
            {"tooltip", {Tip("label", "nominal", "Cutoff"), Tip("value", "quantitative", "At")}}}}};
}

}  // namespace

std::optional<json> SubjectsPlot(const ReportData& data) {
  json values = json::array();
  for (const ReportSubject& subject : data.subjects) {
    if (!subject.meanRt || !subject.errorRate) {
      continue;
    }
    // Filled field by field: an initializer list copies every value once more, and this is
    // the one table that grows with the number of subjects.
    json& point = values.emplace_back(json::object());
    point["subject"] = ToValidUtf8(subject.subject);
    point["mean_rt"] = Rounded(*subject.meanRt, 2);
    point["error_rate"] = Rounded(*subject.errorRate, 4);
    point["trials"] = subject.trials;
    point["status"] = subject.excluded ? "excluded" : "kept";
    point["reason"] = ToValidUtf8(subject.reason);
  }
  if (values.empty()) {
    return std::nullopt;
  }
  const json x = ScatterField("mean_rt", "Mean RT of correct trials (ms)", false);
  const json y = ScatterField("error_rate", "Error rate", true);
  const json status = {{"field", "status"},
                       {"type", "nominal"},
                       {"title", "Subject"},
                       {"scale", {{"domain", {"kept", "excluded"}}}}};
  json colour = status;
  colour["scale"]["range"] = {kKeptColour, kExcludedColour};
  json shape = status;
  shape["scale"]["range"] = {"circle", "cross"};
  json points = {{"data", {{"values", std::move(values)}}},
                 {"mark", {{"type", "point"}, {"filled", true}, {"size", 60}, {"opacity", 0.75}}},
                 {"encoding",
                  {{"x", x},
                   {"y", y},
                   {"color", colour},
                   {"shape", shape},
                   {"tooltip",
                    {Tip("subject", "nominal", "Subject"), Tip("trials", "quantitative", "Trials"),
                     Tip("error_rate", "quantitative", "Error rate", ".1%"),
                     Tip("mean_rt", "quantitative", "Mean RT (ms)", ".0f"),
                     Tip("reason", "nominal", "Excluded because")}}}}};
  json layers = json::array({std::move(points)});
  if (data.maxErrorRate) {
    layers.push_back(CutoffRules("y", {{"--max-error-rate", *data.maxErrorRate}}));
  }
  return json{{"width", 560}, {"height", 320}, {"layer", std::move(layers)}};
}

std::optional<json> RtDistributionPlot(const ReportData& data) {
  if (data.rtBins.empty()) {
    return std::nullopt;
  }
  // Cells in the analysis's order, then any met only in the bins.
  std::vector<std::string> cells = data.cells;
  std::map<std::string, json> binsOfCell;
  for (const ReportRtBin& bin : data.rtBins) {
    if (!binsOfCell.contains(bin.cell) &&
        std::find(cells.begin(), cells.end(), bin.cell) == cells.end()) {
      cells.push_back(bin.cell);
    }
    binsOfCell[bin.cell].push_back(
        {{"from", Rounded(bin.from, 2)}, {"to", Rounded(bin.to, 2)}, {"count", bin.count}});
  }
  std::vector<std::pair<std::string, double>> cutoffs;
  if (data.minRt) {
    cutoffs.emplace_back("--min-rt", *data.minRt);
  }
  if (data.maxRt) {
    cutoffs.emplace_back("--max-rt", *data.maxRt);
  }
  const bool single = binsOfCell.size() == 1;
  json charts = json::array();
  for (const std::string& cell : cells) {
    const auto found = binsOfCell.find(cell);
    if (found == binsOfCell.end()) {
      continue;
    }
    json x = Field("from", "quantitative", "RT of correct trials (ms)");
    x["bin"] = {{"binned", true}};
    json bars = {{"data", {{"values", std::move(found->second)}}},
                 {"mark", {{"type", "bar"}, {"color", kKeptColour}}},
                 {"encoding",
                  {{"x", x},
                   {"x2", {{"field", "to"}}},
                   {"y", CountField("count", "quantitative", "Trials")},
                   {"tooltip",
                    {Tip("from", "quantitative", "From (ms)"), Tip("to", "quantitative", "To (ms)"),
                     Tip("count", "quantitative", "Trials")}}}}};
    json layers = json::array({std::move(bars)});
    if (!cutoffs.empty()) {
      layers.push_back(CutoffRules("x", cutoffs));
    }
    charts.push_back({{"title", ToValidUtf8(cell)},
                      {"width", single ? 560 : 300},
                      {"height", single ? 220 : 150},
                      {"layer", std::move(layers)}});
  }
  return json{
      {"concat", std::move(charts)}, {"columns", 2}, {"resolve", {{"scale", {{"x", "shared"}}}}}};
}

std::optional<json> PositionPlot(const ReportData& data) {
  if (data.positions.empty()) {
    return std::nullopt;
  }
  json values = json::array();
  for (const ReportPosition& position : data.positions) {
    values.push_back({{"position", position.position},
                      {"mean_rt", Rounded(position.meanRt, 2)},
                      {"trials", position.trials}});
  }
  json y = Field("mean_rt", "quantitative", "Mean RT of correct trials (ms)");
  y["scale"] = {{"zero", false}};
  return json{
      {"width", 560},
      {"height", 220},
      {"data", {{"values", std::move(values)}}},
      // Points mark each position while they stay apart; past that they would blot the line.
      {"mark", {{"type", "line"}, {"point", data.positions.size() <= 60}, {"color", kKeptColour}}},
      {"encoding",
       {{"x", CountField("position", "quantitative", "Trial position in the block")},
        {"y", y},
        {"tooltip",
         {Tip("position", "quantitative", "Position"),
          Tip("mean_rt", "quantitative", "Mean RT (ms)", ".1f"),
          Tip("trials", "quantitative", "Trials")}}}}};
}

std::vector<const ReportItem*> WorstItems(const ReportData& data, std::size_t count) {
  std::vector<const ReportItem*> items;
  for (const ReportItem& item : data.items) {
    if (item.errorRate) {
      items.push_back(&item);
    }
  }
  const auto worse = [](const ReportItem* a, const ReportItem* b) {
    if (*a->errorRate != *b->errorRate) {
      return *a->errorRate > *b->errorRate;
    }
    return a->meanRt.value_or(0) > b->meanRt.value_or(0);
  };
  const std::size_t kept = std::min(count, items.size());
  std::partial_sort(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(kept), items.end(),
                    worse);
  items.resize(kept);
  return items;
}

std::optional<json> ItemsPlot(const ReportData& data) {
  const std::vector<const ReportItem*> worst = WorstItems(data, 10);
  json values = json::array();
  for (const ReportItem& item : data.items) {
    if (!item.meanRt || !item.errorRate) {
      continue;
    }
    const bool named = std::find(worst.begin(), worst.end(), &item) != worst.end();
    values.push_back({{"item", ToValidUtf8(item.item)},
                      {"mean_rt", Rounded(*item.meanRt, 2)},
                      {"error_rate", Rounded(*item.errorRate, 4)},
                      {"presentations", item.presentations},
                      {"worst", named}});
  }
  if (values.empty()) {
    return std::nullopt;
  }
  const json position = {{"x", ScatterField("mean_rt", "Mean RT of correct trials (ms)", false)},
                         {"y", ScatterField("error_rate", "Error rate", true)}};
  json pointEncoding = position;
  pointEncoding["color"] = {{"condition", {{"test", "datum.worst"}, {"value", kExcludedColour}}},
                            {"value", kKeptColour}};
  pointEncoding["tooltip"] = {Tip("item", "nominal", "Item"),
                              Tip("presentations", "quantitative", "Presentations"),
                              Tip("error_rate", "quantitative", "Error rate", ".1%"),
                              Tip("mean_rt", "quantitative", "Mean RT (ms)", ".0f")};
  json labelEncoding = position;
  labelEncoding["text"] = {{"field", "item"}, {"type", "nominal"}};
  return json{{"width", 560},
              {"height", 320},
              {"data", {{"values", std::move(values)}}},
              {"layer",
               {{{"mark", {{"type", "point"}, {"filled", true}, {"size", 35}, {"opacity", 0.75}}},
                 {"encoding", pointEncoding}},
                {{"transform", {{{"filter", "datum.worst"}}}},
                 {"mark", {{"type", "text"}, {"align", "left"}, {"dx", 6}, {"fontSize", 11}}},
                 {"encoding", labelEncoding}}}}};
}

std::optional<json> AnomalyKindsPlot(const ReportData& data) {
  // Kinds in order of first appearance, with their total count and how many subjects had one.
  std::vector<std::string> kinds;
  std::map<std::string, std::pair<long, long>> totals;
  for (const ReportAnomaly& anomaly : data.anomalies) {
    auto [entry, added] = totals.try_emplace(anomaly.kind, 0, 0);
    if (added) {
      kinds.push_back(anomaly.kind);
    }
    entry->second.first += anomaly.count;
    entry->second.second += 1;
  }
  if (kinds.empty()) {
    return std::nullopt;
  }
  json values = json::array();
  for (const std::string& kind : kinds) {
    values.push_back({{"kind", ToValidUtf8(kind)},
                      {"count", totals[kind].first},
                      {"subjects", totals[kind].second}});
  }
  return json{{"width", 480},
              {"height", {{"step", 22}}},
              {"data", {{"values", std::move(values)}}},
              {"mark", "bar"},
              {"encoding",
               {{"y", {{"field", "kind"}, {"type", "nominal"}, {"title", nullptr}, {"sort", "-x"}}},
                {"x", CountField("count", "quantitative", "Times met")},
                {"color", KindColour(data, false)},
                {"tooltip",
                 {Tip("kind", "nominal", "Kind"), Tip("count", "quantitative", "Times met"),
                  Tip("subjects", "quantitative", "Subjects")}}}}};
}

std::optional<json> AnomalySubjectsPlot(const ReportData& data) {
  std::map<std::string, long> totalOfSubject;
  for (const ReportAnomaly& anomaly : data.anomalies) {
    totalOfSubject[anomaly.subject] += anomaly.count;
  }
  if (totalOfSubject.empty()) {
    return std::nullopt;
  }
  std::vector<std::pair<std::string, long>> ranked(totalOfSubject.begin(), totalOfSubject.end());
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (ranked.size() > kAnomalySubjectsShown) {
    ranked.resize(kAnomalySubjectsShown);
  }
  const auto shown = [&ranked](const std::string& subject) {
    return std::any_of(ranked.begin(), ranked.end(),
                       [&subject](const auto& entry) { return entry.first == subject; });
  };
  json values = json::array();
  for (const ReportAnomaly& anomaly : data.anomalies) {
    if (shown(anomaly.subject)) {
      values.push_back({{"subject", AnomalySubject(anomaly)},
                        {"kind", ToValidUtf8(anomaly.kind)},
                        {"count", anomaly.count}});
    }
  }
  return json{
      {"width", 480},
      {"height", {{"step", 16}}},
      {"data", {{"values", std::move(values)}}},
      {"mark", "bar"},
      {"encoding",
       {{"y", {{"field", "subject"}, {"type", "nominal"}, {"title", "Subject"}, {"sort", "-x"}}},
        {"x",
         {{"aggregate", "sum"},
          {"field", "count"},
          {"type", "quantitative"},
          {"title", "Anomalies"},
          {"axis", {{"tickMinStep", 1}, {"format", "d"}}}}},
        {"color", KindColour(data, true)},
        {"tooltip",
         {Tip("subject", "nominal", "Subject"), Tip("kind", "nominal", "Kind"),
          Tip("count", "quantitative", "Times met")}}}}};
}

std::optional<json> ResponsesPerTrialPlot(const ReportData& data) {
  if (data.responsesPerTrial.empty()) {
    return std::nullopt;
  }
  json values = json::array();
  for (const ReportResponsesPerTrial& entry : data.responsesPerTrial) {
    values.push_back({{"responses", entry.responses}, {"trials", entry.trials}});
  }
  return json{
      {"width", 360},
      {"height", 200},
      {"data", {{"values", std::move(values)}}},
      {"mark", {{"type", "bar"}, {"color", kKeptColour}}},
      {"encoding",
       {{"x",
         {{"field", "responses"},
          {"type", "ordinal"},
          {"title", "Events recorded in the trial"},
          {"axis", {{"labelAngle", 0}}}}},
        {"y", CountField("trials", "quantitative", "Trials")},
        {"tooltip",
         {Tip("responses", "ordinal", "Events"), Tip("trials", "quantitative", "Trials")}}}}};
}

std::optional<json> KeysPlot(const ReportData& data) {
  if (data.keys.empty()) {
    return std::nullopt;
  }
  json values = json::array();
  json keyOrder = json::array();
  for (const ReportKey& key : data.keys) {
    const std::string name = ToValidUtf8(key.key);
    keyOrder.push_back(name);
    values.push_back({{"key", name}, {"action", "press"}, {"count", key.presses}});
    values.push_back({{"key", name}, {"action", "release"}, {"count", key.releases}});
  }
  const json action = {
      {"field", "action"},
      {"type", "nominal"},
      {"title", "Event"},
      {"scale", {{"domain", {"press", "release"}}, {"range", {kKeptColour, "#f58518"}}}}};
  return json{{"width", {{"step", 72}}},
              {"height", 200},
              {"data", {{"values", std::move(values)}}},
              {"mark", "bar"},
              {"encoding",
               {{"x",
                 {{"field", "key"},
                  {"type", "nominal"},
                  {"title", "Key"},
                  {"sort", keyOrder},
                  {"axis", {{"labelAngle", 0}}}}},
                {"xOffset", {{"field", "action"}, {"sort", {"press", "release"}}}},
                {"y", CountField("count", "quantitative", "Events")},
                {"color", action},
                {"tooltip",
                 {Tip("key", "nominal", "Key"), Tip("action", "nominal", "Event"),
                  Tip("count", "quantitative", "Events")}}}}};
}

}  // namespace trelvox::analysis
