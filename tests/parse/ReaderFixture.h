#pragma once

#include <gtest/gtest.h>

#include <string>

#include "output/CompositeRows.h"
#include "support/SessionFixture.h"

namespace trelvox::testing {

// Runs the readers on a DMDX text written to a real file, with real output files.
struct ReaderWorld {
  SessionFixture s;
  RunState& state = s.state;
  // The rows go to the composite file as in a command.
  CompositeRows compositeRows{s.files, s.state.files};
  AttachedConsumer writingRows{s.trials, compositeRows};

  // Writes the input and opens it on the input channel, positioned at its start.
  void Input(const std::string& text) {
    WriteFile(s.dir.File("input.txt"), text);
    ASSERT_EQ(s.files.Open(1, s.dir.File("input.txt"), OpenMode::Input).errorNumber, 0);
    state.files.InFileNum = 1;
  }

  // Opens the composite file, and the counter and subject files when their options are on.
  void OpenOutputs() {
    ASSERT_EQ(s.files.Open(2, s.dir.File("composite.dat"), OpenMode::Append).errorNumber, 0);
    state.files.CompFileNum = 2;
    if (state.options.SaveCounters) {
      ASSERT_EQ(s.files.Open(3, s.dir.File("counters.dat"), OpenMode::Append).errorNumber, 0);
      state.files.CntFileNum = 3;
    }
    if (state.options.SaveIndFiles) {
      ASSERT_EQ(s.files.Open(4, s.dir.File("subject.dat"), OpenMode::Output).errorNumber, 0);
      state.files.SubjFileNum = 4;
    }
  }

  // Sets the current subject as the scanner would.
  void Subject(const std::string& id, Date date = {2005, 3, 14},
               const std::string& header = "03/14/2005 09:30 refresh 60, ID A17") {
    state.subject.SubjectID = id;
    state.subject.SubjectDate = {date, ""};
    state.subject.SubjectHeader = header;
  }

  std::string Output(const std::string& name, std::int16_t channel) {
    s.files.Close(channel);
    return ReadFile(s.dir.File(name));
  }
  std::string Composite() { return Output("composite.dat", state.files.CompFileNum); }
  std::string Counters() { return Output("counters.dat", state.files.CntFileNum); }
  std::string SubjectFile() { return Output("subject.dat", state.files.SubjFileNum); }

  // The next line of the input, to see where a reader left the read position.
  std::string NextInputLine() {
    std::string line;
    s.files.ReadLine(state.files.InFileNum, line);
    return line;
  }
};

class ReaderFixture : public ::testing::Test, public ReaderWorld {};

}  // namespace trelvox::testing
