#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/Commands.h"
#include "support/SessionFixture.h"

namespace trelvox::testing {

// Two AZK subjects after a real-shaped preamble.
inline const std::string kTwoAzkSubjects =
    "\r\nSubjects incorporated to date: 002\r\nData file started on machine LAB\r\n\r\n"
    "**********\r\n"
    "Subject 1, 03/14/2005 09:30:00 on LAB, refresh 16.67ms, ID A1\r\n"
    "  Item       RT\r\n"
    "!  DMDX is running in auto mode\r\n"
    "    1  512.20\r\n"
    "    2  -2000.00\r\n"
    "    3  -700.5\r\n"
    "\r\n**********\r\n"
    "Subject 2, 03/15/2005 10:00:00 on LAB, refresh 16.67ms, ID B2\r\n"
    "  Item       RT\r\n"
    "    4  600\r\n"
    "\r\n";

inline const std::string kAzkHeader = "SubID\tDate\tTrialNum\tTrialID\tRT\tError\r\n";
inline const std::string kTwoAzkSubjectsRows =
    "A1\t3/14/2005\t1\t1\t512.20\t0\r\n"
    "A1\t3/14/2005\t2\t2\t-2000.00\t2\r\n"
    "A1\t3/14/2005\t3\t3\t-700.5\t1\r\n"
    "B2\t3/15/2005\t1\t4\t600\t0\r\n";

// A session with helpers to write inputs and read outputs in its folder.
struct CommandWorld {
  SessionFixture s;
  RunState& state = s.state;
  ScriptedPrompts& prompts = s.prompts;

  std::string Path(const std::string& name) { return s.dir.File(name); }
  std::string Write(const std::string& name, const std::string& text) {
    WriteFile(Path(name), text);
    return Path(name);
  }
  std::string Read(const std::string& name) { return ReadFile(Path(name)); }

  // The channels still open after a command: none, whatever way it ended.
  std::vector<int> OpenChannels() const {
    std::vector<int> open;
    for (int channel = 1; channel <= 20; ++channel) {
      if (s.files.IsOpen(static_cast<std::int16_t>(channel))) {
        open.push_back(channel);
      }
    }
    return open;
  }

  // The kinds and texts of every box shown, as "kind: text" lines, for whole-path checks.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> lines;
    for (const ShownBox& box : prompts.Shown()) {
      lines.push_back(KindName(box.kind) + ": " + box.text);
    }
    return lines;
  }

  static std::string KindName(ShownBox::Kind kind) {
    switch (kind) {
      case ShownBox::Kind::Message:
        return "ok";
      case ShownBox::Kind::Question:
        return "yes/no";
      case ShownBox::Kind::Input:
        return "input";
      case ShownBox::Kind::OpenDialog:
        return "open";
      case ShownBox::Kind::SaveDialog:
        return "save";
    }
    return "?";
  }
};

class CommandFixture : public ::testing::Test, public CommandWorld {};

}  // namespace trelvox::testing
