#pragma once

#include <string>
#include <string_view>

#include "parse/Session.h"
#include "record/FieldRecord.h"

namespace trelvox {

// Converts one AZK subject block, from the line after the header to the empty line that ends
// it: a composite row per trial classified against the time-out, counter rows and the subject
// file copy when those options are on.
void ParseAZKTrials(Session& session);

// Converts one ZIL subject block: a composite row per item line, with the responses of the
// line after it (and of the continuation lines DMDX wraps long response lists onto).
void ParseZILTrials(Session& session);

// One counter row from a line containing "Counter": ID, date, running number, the line's
// field 3, field 6 and fields 7 onward. `record` is the reader's working record for counter
// lines, reused from line to line.
void HandleCounterLine(Session& session, std::string_view line, const std::string& dateText,
                       FieldRecord& record);

// Starts a subject: the four counters (the ZIL parser leaves ErrorCount alone) and the subject
// file's first line.
void StartSubject(Session& session, bool resetErrorCount);

}  // namespace trelvox
