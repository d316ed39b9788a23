#pragma once

#include "parse/RunState.h"
#include "platform/FileChannels.h"
#include "platform/Locale.h"
#include "platform/Ui.h"

namespace trelvox {

// Everything one command works with: the application's run state and the platform services.
// The desktop shell, the batch tool and the tests each build one from their own services.
struct Session {
  RunState& state;
  FileChannels& files;
  Ui& ui;
  const Locale& locale;
  const Clock& clock;
};

}  // namespace trelvox
