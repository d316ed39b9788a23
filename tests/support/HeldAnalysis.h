#pragma once

#include <thread>

#include "analysis/Analysis.h"
#include "desktop/DesktopSession.h"

namespace trelvox {

// Hands the run to the real analysis, but holds it at its first progress report past the file's
// start until Cancel or Close asks it to stop: the cancel then comes mid-file whatever the
// machine's speed.
inline analysis::AnalysisResult HeldAtFirstProgress(const analysis::AnalysisRequest& request,
                                                    analysis::AnalysisObserver& observer) {
  struct Holding final : analysis::AnalysisObserver {
    explicit Holding(analysis::AnalysisObserver& inner) : inner(inner) {}
    void Progress(const analysis::AnalysisProgress& progress) override {
      inner.Progress(progress);
      while (progress.bytesDone > 0 && !inner.CancelRequested()) {
        std::this_thread::yield();
      }
    }
    bool CancelRequested() override { return inner.CancelRequested(); }
    analysis::AnalysisObserver& inner;
  } holding(observer);
  return RunAnalysisOnDisk(request, holding);
}

}  // namespace trelvox
