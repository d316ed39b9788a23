#include "analysis/ReportHtml.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "ReportSamples.h"
#include "analysis/ReportScripts.h"
#include "analysis/ReportText.h"

namespace trelvox::analysis {
namespace {

std::string Page(const ReportData& data) {
  std::ostringstream out;
  WriteReportHtml(data, out);
  return out.str();
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

std::string Joined(const EmbeddedText& text) {
  std::string joined;
  for (const std::string_view piece : text.pieces) {
    joined += piece;
  }
  return joined;
}

// The page without the vendored scripts' bodies: what this program wrote itself.
std::string OwnPart(std::string page) {
  for (const EmbeddedText& script : ReportScripts()) {
    const std::string body = Joined(script);
    const auto at = page.find(body);
    if (at != std::string::npos) {
      page.erase(at, body.size());
    }
  }
  return page;
}

nlohmann::json PlotCharts(const std::string& page) {
  const std::string open = "<script type=\"application/json\" id=\"trelvox-plots\">";
  const auto start = page.find(open) + open.size();
  return nlohmann::json::parse(page.substr(start, page.find("</script>", start) - start));
}

std::set<std::string> PlotContainers(const std::string& page) {
  std::set<std::string> ids;
  const std::regex container("<div class=\"plot\" id=\"([^\"]+)\"");
  for (std::sregex_iterator it(page.begin(), page.end(), container), end; it != end; ++it) {
    ids.insert((*it)[1]);
  }
  return ids;
}

TEST(ReportHtmlTest, EveryPlotHasAContainerAndAChart) {
  const std::string page = Page(test::SmallReportSample());
  const std::set<std::string> expected = {
      "plot-subjects",      "plot-rt-distribution",  "plot-rt-position",   "plot-items",
      "plot-anomaly-kinds", "plot-anomaly-subjects", "plot-zil-responses", "plot-zil-keys"};
  EXPECT_EQ(PlotContainers(page), expected);
  std::set<std::string> listed;
  const nlohmann::json charts = PlotCharts(page);
  for (const auto& [id, chart] : charts.items()) {
    listed.insert(id);
  }
  EXPECT_EQ(listed, expected);
}

TEST(ReportHtmlTest, NamesFromTheDataCannotBreakThePage) {
  const std::string page = Page(test::SmallReportSample());
  EXPECT_EQ(ToValidUtf8(page), page);
  // Three vendored scripts, the plots' JSON and the page's own script: no other element ends.
  EXPECT_EQ(Count(page, "</script"), 5u);
  EXPECT_NE(page.find("<td>&lt;/script&gt;&lt;b&gt;M\xC3\xBCller</td>"), std::string::npos);
  EXPECT_NE(page.find("<td>naming \xC3\xA9t\xC3\xA9.zil</td>"), std::string::npos);
  EXPECT_NE(page.find("<code>! 17 &lt;/script&gt; no RT</code>"), std::string::npos);
  // Each kind of anomaly names the files it was met in.
  EXPECT_NE(page.find("<td>sample.azk, day 2.azk</td>"), std::string::npos);
  EXPECT_NE(page.find("<td>&quot;&amp;&lt;6&gt;</td>"), std::string::npos);
  EXPECT_EQ(PlotCharts(page)["plot-items"]["data"]["values"][4]["item"], "\"&<6>");
}

TEST(ReportHtmlTest, FetchesNothing) {
  for (const ReportData& data : {test::SmallReportSample(), test::EmptyReportSample()}) {
    const std::string own = OwnPart(Page(data));
    for (const char* reference : {"src=", "href=\"http", "href=\"//", "url(", "@import", "<link",
                                  "<img", "<iframe", "http://", "https://"}) {
      EXPECT_EQ(own.find(reference), std::string::npos) << reference;
    }
  }
}

TEST(ReportHtmlTest, SectionsWithoutDataSaySoInWords) {
  const std::string page = Page(test::EmptyReportSample());
  EXPECT_TRUE(PlotContainers(page).empty());
  EXPECT_EQ(PlotCharts(page), nlohmann::json::object());
  for (const char* words :
       {"No subjects were found in the inputs.", "No correct reaction times.",
        "No items were presented.", "Nothing unusual: the readers reported nothing",
        "No ZIL input: these figures come from ZIL files only.", "none beyond the inputs."}) {
    EXPECT_NE(page.find(words), std::string::npos) << words;
  }
}

TEST(ReportHtmlTest, TheBenchmarksShapeStaysUnderThreeMegabytes) {
  const std::string page = Page(test::LargeReportSample());
  EXPECT_LE(page.size(), 3'000'000u);
  EXPECT_EQ(Count(page, "<tr class=\"excluded\">") + Count(page, "<tr><td>S"), 2000u);
}

TEST(ReportHtmlTest, ScriptsAreTheVendoredFilesWithoutTheirSourceMapComment) {
  ASSERT_EQ(ReportScripts().size(), 3u);
  for (const EmbeddedText& script : ReportScripts()) {
    std::ifstream file(std::string(TRELVOX_VEGA_DIR) + "/" + std::string(script.name),
                       std::ios::binary);
    ASSERT_TRUE(file) << script.name;
    std::string vendored((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto map = vendored.rfind("//# sourceMappingURL=");
    if (map != std::string::npos) {
      vendored.erase(map);
    }
    EXPECT_EQ(Joined(script), vendored) << script.name;
  }
}

}  // namespace
}  // namespace trelvox::analysis
