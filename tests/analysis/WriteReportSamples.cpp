// Writes the report of each hand-made sample into a folder, for the browser test and the
// report benchmark: small.html, empty.html, large.html.
#include <fstream>
#include <iostream>
#include <string>

#include "ReportSamples.h"
#include "analysis/ReportHtml.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_report_samples FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  const std::pair<const char*, trelvox::analysis::ReportData> samples[] = {
      {"small.html", trelvox::test::SmallReportSample()},
      {"empty.html", trelvox::test::EmptyReportSample()},
      {"large.html", trelvox::test::LargeReportSample()}};
  for (const auto& [name, data] : samples) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    trelvox::analysis::WriteReportHtml(data, out);
    out.close();
    if (!out) {
      std::cerr << "could not write " << folder << "/" << name << "\n";
      return 1;
    }
  }
  return 0;
}
