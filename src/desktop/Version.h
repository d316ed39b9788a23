#pragma once

#include <string>

namespace trelvox {

// The program's version record, as the splash and the About box show it.
inline constexpr int kVersionMajor = 5;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
inline constexpr const char* kFileDescription =
    "This program extracts information from the DMDX .azk file and creates an individual "
    "subject data file.  It also adds data to composite database";

// "Version 5.0.0": each number in plain decimal, so the minor number shows as 0.
inline std::string VersionText() {
  return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

}  // namespace trelvox
