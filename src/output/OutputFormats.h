#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "parse/RunState.h"

namespace trelvox {

// Output names end in ".dat": any other ending (compared without regard to case) gets ".dat"
// appended, so "data.txt" becomes "data.txt.dat" and "Data.DAT" stays as it is.
std::string ApplyDatExtension(std::string_view name);

// The header rows, as the tab-joined line written to the file.
std::string AzkCompositeHeader(bool cotIncluded);
std::string ZilCompositeHeader(bool cotIncluded, bool zorFormat, int maxResponses);
std::string CounterHeader();

// The composite header for the input type, the options and the responses per trial (ZIL); none
// for an unknown type.
std::optional<std::string> CompositeHeaderFor(InputType type, const RunOptions& options,
                                              int maxResponses);

}  // namespace trelvox
