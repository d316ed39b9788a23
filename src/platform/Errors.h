#pragma once

#include <stdexcept>
#include <string>

namespace trelvox {

// Every failure that must stop a command cleanly derives from this. The commands catch it,
// show its text in a message box and close every file; rows already written stay written.
class TrelvoxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A 16-bit count or index would pass 32767. Raised instead of wrapping to a negative value.
class OverflowError : public TrelvoxError {
 public:
  using TrelvoxError::TrelvoxError;
};

// A line could not be written to an output file (disk full, I/O error, file gone).
class WriteError : public TrelvoxError {
 public:
  using TrelvoxError::TrelvoxError;
};

// A line could not be read from the input file.
class ReadError : public TrelvoxError {
 public:
  using TrelvoxError::TrelvoxError;
};

}  // namespace trelvox
