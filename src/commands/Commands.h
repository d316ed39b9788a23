#pragma once

#include "parse/Session.h"

namespace trelvox {

// How a command ended, for front ends that report it (the batch tool's exit status).
enum class CommandOutcome {
  Completed,  // ran to its normal end ("Parsing Complete!", or No to "Parse another subject?")
  Cancelled,  // the user cancelled a dialog or left a question empty; ended quietly
  Failed,     // ended on an error that was shown: a file not opened or not written, an unknown
              // input type, a subject not found or declined, an overflow
  NothingConverted,  // ran to its end, but the input held no subject header (and so said)
};

// Converts every subject of one DMDX file: asks for the files and numbers through the session's
// boxes, writes the composite (and counter and subject) files and reports each subject.
// Every file it opened is closed whatever way it ends.
CommandOutcome ParseAll(Session& session);

// Converts subjects chosen by ID, one after another, from one DMDX file.
CommandOutcome ParseOneSubject(Session& session);

}  // namespace trelvox
