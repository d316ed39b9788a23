#pragma once

#include <ostream>

#include "batch/BatchOptions.h"

namespace trelvox {
class Locale;
}

namespace trelvox::batch {

// Runs the command of a parsed command line in one session: one Parse All run per INPUT, in
// order, into the same composite and counter files, or one Parse One Subject run. The first run
// that ends on an error stops the call. Returns the exit status; the transcript goes to `out`,
// a one-line reason for a status other than 0 to `err`.
int RunBatch(const BatchOptions& options, const Locale& locale, std::ostream& out,
             std::ostream& err);

}  // namespace trelvox::batch
