#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Schema.h"

namespace trelvox::analysis {

struct PackageSource {
  std::string name;  // without folder
  std::uintmax_t bytes = 0;
};

// The Frictionless Data Package describing `tables`: each table's path, its dialect and its
// Table Schema, then how the tables were made (the command line, Trelvox's version, the inputs
// with their sizes). Pretty-printed with a final LF; bytes that are not UTF-8 are replaced.
std::string DataPackageJson(const std::vector<TableLayout>& tables,
                            const std::vector<PackageSource>& sources,
                            const std::vector<std::string>& commandLine,
                            const std::string& version);

}  // namespace trelvox::analysis
