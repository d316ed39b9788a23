#pragma once

#include "parse/RunState.h"
#include "parse/TrialStream.h"
#include "platform/FileChannels.h"

namespace trelvox {

// Writes each trial's row to the composite file of the run, on the channel the run opened it on.
class CompositeRows final : public TrialConsumer {
 public:
  CompositeRows(FileChannels& files, const RunFiles& runFiles)
      : files_(files), runFiles_(runFiles) {}
  void Trial(const TrialRead& trial) override {
    WriteRecord(files_, runFiles_.CompFileNum, trial.Row());
  }

 private:
  FileChannels& files_;
  const RunFiles& runFiles_;
};

}  // namespace trelvox
