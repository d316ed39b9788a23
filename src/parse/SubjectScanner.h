#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "parse/Session.h"

namespace trelvox {

// A subject header line contains both "Subject" and "refresh" (exact case).
bool IsSubjectHeader(std::string_view line);

// The subject's ID in a header line: the text after the first ", " + "ID " when the line has
// one (DMDX ends its headers so), otherwise the text after the first "ID" and the one character
// that follows it. A trailing COT column marker ("   COT") is not part of the ID.
std::string GetSubjectID(std::string_view line);

// Cuts `line` down to the text after its first ", " (or drops its first character when it has
// none) and returns the first 10 characters of what is left: the header's date text.
std::string GetSubjectDate(std::string& line);

// DMDX writes header dates as month/day/year on every machine, whatever its regional settings.
std::optional<Date> ParseHeaderDate(std::string_view text);

// Stores the header's date text as the subject's date; a text that is not a date is kept as
// found, and the user is told once.
void StoreSubjectDate(Session& session, const std::string& dateText);

// Reads forward to the next subject header and stores its header, date and ID. False when the
// input ends first, or when the header is the input's last line.
bool FindNextSubject(Session& session);

// Moves forward to the subject whose header carries `requestedId`, asking the user to confirm a
// subject not collected today. False when not found (the input is then at its end) or declined.
bool FindSubjectByID(Session& session, const std::string& requestedId);

}  // namespace trelvox
