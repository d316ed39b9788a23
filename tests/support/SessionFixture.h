#pragma once

#include "parse/RunState.h"
#include "parse/Session.h"
#include "platform/DiskFileChannels.h"
#include "platform/Locale.h"
#include "platform/Ui.h"
#include "support/FullDisk.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace trelvox::testing {

// A whole session on real files in a temporary folder, with scripted boxes, a U.S. locale and
// "today" fixed at 12/9/2026.
struct SessionFixture {
  TempDir dir;
  RunState state;
  FullDisk disk;  // an ordinary disk until a test fills it
  DiskFileChannels files{&disk};
  ScriptedPrompts prompts;
  Ui ui{prompts, files};
  FixedLocale locale;
  FixedClock clock{Date{2026, 12, 9}};
  TrialStream trials;
  Session session{state, files, ui, locale, clock, trials};
};

}  // namespace trelvox::testing
