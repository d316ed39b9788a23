#include <benchmark/benchmark.h>

#include <string>

#include "platform/DiskFileChannels.h"
#include "platform/Ui.h"
#include "record/FieldRecord.h"
#include "record/Tokenizer.h"

#include "SilentPrompts.h"

namespace {

using namespace trelvox;
using bench::SilentPrompts;

void ParseLine(benchmark::State& state, const std::string& line) {
  SilentPrompts prompts;
  DiskFileChannels files;
  Ui ui(prompts, files);
  FieldRecord record = EmptyRecord();
  for (auto _ : state) {
    ParseString(line, record, "S", ui);
    benchmark::DoNotOptimize(RecordCount(record));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_ParseString250Fields(benchmark::State& state) {
  std::string line;
  for (int i = 1; i <= 250; ++i) {
    if (i > 1) {
      line += ' ';
    }
    line += std::to_string(1000 + i);
  }
  ParseLine(state, line);
}
BENCHMARK(BM_ParseString250Fields);

void BM_ParseStringTrialLine(benchmark::State& state) {
  ParseLine(state, "    14  -3625.00");
}
BENCHMARK(BM_ParseStringTrialLine);

void BM_ParseStringZilResponseLine(benchmark::State& state) {
  ParseLine(state, " 1049.27 +Bit1 1221.43 -Bit1");
}
BENCHMARK(BM_ParseStringZilResponseLine);

// One composite row of an AZK trial, from the line to the bytes in the output buffer.
void BM_TrialRow(benchmark::State& state) {
  SilentPrompts prompts;
  DiskFileChannels files;
  Ui ui(prompts, files);
  files.Open(1, "/dev/null", OpenMode::Output);
  FieldRecord record;
  const std::string line = "    14  -3625.00";
  for (auto _ : state) {
    ParseString(line, record, "S", ui);
    InsertLeadingValues(record, {"P0001", "6/26/2015", "14"});
    InsertValueInRecord(record, "1", 6, ui);
    WriteRecord(files, 1, record);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_TrialRow);

}  // namespace

BENCHMARK_MAIN();
