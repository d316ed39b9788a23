#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "output/CompositeRows.h"
#include "parse/RunState.h"
#include "parse/Session.h"
#include "parse/TrialParsers.h"
#include "platform/DiskFileChannels.h"
#include "platform/Locale.h"
#include "platform/Ui.h"

#include "SilentPrompts.h"

namespace {

using namespace trelvox;
using bench::SilentPrompts;

constexpr int kTrialLines = 100000;
// A subject holds at most 32767 trials, so the 100,000 lines come as four subject blocks.
constexpr int kSubjects = 4;

// Four AZK subject blocks of 25,000 trial lines: mostly correct, 7% errors, 3% time-outs.
std::string WriteBlock() {
  const std::string path =
      (std::filesystem::temp_directory_path() / "trelvox-bench-block.azk").string();
  std::ofstream out(path, std::ios::binary);
  std::mt19937 random(42);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_real_distribution<double> rt(300.0, 1900.0);
  char line[64];
  for (int subject = 0; subject < kSubjects; ++subject) {
    out << "  Item       RT\r\n";
    for (int i = 0; i < kTrialLines / kSubjects; ++i) {
      const int roll = percent(random);
      const double value = roll < 3 ? -2000.0 : roll < 10 ? -rt(random) : rt(random);
      std::snprintf(line, sizeof line, "   %4d  %8.2f\r\n", 1 + i % 480, value);
      out << line;
    }
    out << "\r\n";
  }
  return path;
}

void BM_ParseAZKTrials(benchmark::State& bench) {
  const std::string input = WriteBlock();
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(input));
  SilentPrompts prompts;
  DiskFileChannels files;
  Ui ui(prompts, files);
  const FixedLocale locale;
  const FixedClock clock(Date{2026, 12, 9});
  RunState state;
  TrialStream trials;
  Session session{state, files, ui, locale, clock, trials};
  CompositeRows compositeRows(files, state.files);
  const AttachedConsumer writingRows(trials, compositeRows);
  state.answers.TimeOut = 2000;
  state.subject.SubjectID = "A17";
  state.subject.SubjectDate = {Date{2005, 3, 14}, ""};
  for (auto _ : bench) {
    state.files.InFileNum = 1;
    state.files.CompFileNum = 2;
    files.Open(1, input, OpenMode::Input);
    files.Open(2, "/dev/null", OpenMode::Output);
    for (int subject = 0; subject < kSubjects; ++subject) {
      ParseAZKTrials(session);
    }
    files.Close(1);
    files.Close(2);
  }
  bench.SetBytesProcessed(bench.iterations() * bytes);
  bench.counters["lines/s"] = benchmark::Counter(static_cast<double>(kTrialLines),
                                                 benchmark::Counter::kIsIterationInvariantRate);
  std::filesystem::remove(input);
}
BENCHMARK(BM_ParseAZKTrials)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
