#pragma once

#include "parse/RunState.h"
#include "parse/TrialStream.h"
#include "platform/FileChannels.h"
#include "platform/Locale.h"
#include "platform/Ui.h"

namespace trelvox {

// Everything one command works with: the application's run state, the platform services, and
// the stream that takes each trial the readers read. The desktop shell, the batch tool and the
// tests each build one from their own services.
struct Session {
  RunState& state;
  FileChannels& files;
  Ui& ui;
  const Locale& locale;
  const Clock& clock;
  TrialStream& trials;
};

}  // namespace trelvox
