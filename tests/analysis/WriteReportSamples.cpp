// Writes the report of each hand-made sample into a folder, for the browser test and the
// report benchmark (small.html, empty.html, large.html), and prints each one's size and how long
// writing it took.
#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
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
    const auto start = std::chrono::steady_clock::now();
    std::ofstream out(folder + "/" + name, std::ios::binary);
    trelvox::analysis::WriteReportHtml(data, out);
    out.close();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (!out) {
      std::cerr << "could not write " << folder << "/" << name << "\n";
      return 1;
    }
    std::ifstream written(folder + "/" + name, std::ios::binary | std::ios::ate);
    std::cout << name << " " << written.tellg() << " bytes " << took.count() << " ms\n";
  }
  return 0;
}
