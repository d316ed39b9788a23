#include "batch/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "analysis/Analysis.h"
#include "output/OutputFormats.h"
#include "parse/RunState.h"
#include "platform/Int16.h"
#include "platform/Locale.h"
#include "platform/Paths.h"

#ifndef TRELVOX_VERSION
#error "TRELVOX_VERSION must name the program's version"
#endif

namespace trelvox::batch {

namespace {

constexpr const char* kDescription =
    "Converts DMDX result files (.azk, .zil) into tab-separated data files: a composite file "
    "(one row per trial, appended run after run), an optional counter file and optional "
    "per-subject files. Every message and every question with the answer given is printed on "
    "standard output.\n\n"
    "  trelvox-batch parse-all INPUT... --composite FILE [options]\n"
    "  trelvox-batch parse-one INPUT --composite FILE --id ID [--id ID]... [options]\n"
    "  trelvox-batch analyze INPUT... --out DIR [--timeout N] [--items FILE] [--by COLUMN]...\n"
    "      [--min-rt MS] [--max-rt MS] [--sd K] [--max-error-rate P] [--cot] [--zor]\n"
    "      [--no-report]\n\n"
    "analyze writes tables for statistics programs into DIR: trials.tsv (one row per trial, "
    "with its outcome, trims and item-list columns), events.tsv (ZIL), subjects.tsv, "
    "items.tsv, by_subject.tsv, by_item.tsv and datapackage.json, which describes them, and "
    "report.html, a data-quality report with plots for the browser.\n";

constexpr const char* kFooter =
    "Input types come from the last three characters of INPUT, upper-cased: AZK input needs\n"
    "--timeout, ZIL input needs --responses; without it the call stops with status 2 before\n"
    "any file is opened. Other types are reported by the command (\"Unknown input filetype\").\n"
    "FILE gets \".dat\" appended unless it ends in \".dat\" (any case). Subject files are\n"
    "DIR/<ID>.dat: characters other than letters, digits, \".\", \"_\" and \"-\" become \"_\",\n"
    "an empty ID gives subject<N> (N counts the subject files of this call from 1), and a name\n"
    "already written in this call (letter case ignored) gets -2, -3, ... DIR is created.\n"
    "Exit status: 0 when the command ended normally, 1 when it ended on an error (a file not\n"
    "opened or written, an unknown input type, a subject not found, an overflow, an input\n"
    "without any subject header), 2 on a usage error.";

constexpr const char* kExamples =
    "Examples:\n"
    "  trelvox-batch parse-all day1.azk day2.azk --timeout 2000 --composite results \\\n"
    "      --counters counters --subject-dir subjects\n"
    "  trelvox-batch parse-one session.zil --responses 2 --id P07 --id P09 --composite results\n"
    "  trelvox-batch analyze day1.azk day2.azk --timeout 2000 --items items.csv \\\n"
    "      --by condition --min-rt 200 --max-rt 2000 --sd 2.5 --max-error-rate 0.2 --out tables\n";

constexpr const char* kAnalyzeFooter =
    "INPUT: .azk and .zil files (the type from the end of the name, as in parse-all) and\n"
    "composite files, recognised by their header row; a subject in several files is one subject.\n"
    "--timeout is needed when an input is AZK. The files are written under temporary names and\n"
    "renamed only when the whole analysis succeeded: a failed run replaces nothing.\n"
    "Exit status: 0 done, 1 an input could not be read or a file not written, 2 a usage error.";

constexpr std::size_t kFlagColumn = 30;

// The top-level help lists the flags of both commands, each once, so that a user need not
// know which command to ask; the flags only parse-one takes are marked.
std::string FlagLine(const CLI::Option& option, bool oneOnly) {
  std::string flag = "  " + option.get_name();
  if (option.get_type_size() != 0) {
    flag += " " + option.get_type_name();
  }
  flag.resize(std::max(flag.size() + 1, kFlagColumn), ' ');
  return flag + (oneOnly ? "(parse-one) " : "") + option.get_description() + "\n";
}

std::string FlagSummary(const CLI::App& parseAll, const CLI::App& parseOne) {
  std::string shared;
  std::string oneOnly;
  for (const CLI::Option* option : parseOne.get_options()) {
    if (option->get_positional() || option->get_name() == "--help") {
      continue;
    }
    if (parseAll.get_option_no_throw(option->get_name()) != nullptr) {
      shared += FlagLine(*option, false);
    } else {
      oneOnly += FlagLine(*option, true);
    }
  }
  return "Flags of parse-all and parse-one:\n" + shared + oneOnly;
}

std::string AnalyzeFlags(const CLI::App& analyze) {
  std::string flags = "Flags of analyze:\n";
  for (const CLI::Option* option : analyze.get_options()) {
    if (!option->get_positional() && option->get_name() != "--help") {
      flags += FlagLine(*option, false);
    }
  }
  return flags;
}

// The analyze flags as typed, before they are read as numbers.
struct AnalyzeArguments {
  std::vector<std::string> inputs;
  std::string out;
  std::optional<std::string> timeout;
  std::optional<std::string> responses;
  std::string items;
  std::vector<std::string> by;
  std::optional<std::string> minRt;
  std::optional<std::string> maxRt;
  std::optional<std::string> sd;
  std::optional<std::string> maxErrorRate;
  bool cot = false;
  bool zor = false;
  bool noReport = false;
};

void AddAnalyzeOptions(CLI::App& command, AnalyzeArguments& args) {
  command
      .add_option("INPUT", args.inputs, "DMDX result files and composite files, analysed together")
      ->required();
  command.add_option("--out", args.out, "The folder the tables go to (created)")
      ->required()
      ->type_name("DIR");
  command
      .add_option("--timeout", args.timeout,
                  "The time-out in ms: minus it is no response (needed for AZK input)")
      ->type_name("N");
  command
      .add_option("--responses", args.responses,
                  "ZIL: the expected events per trial; longer trials are reported")
      ->type_name("N");
  command
      .add_option("--items", args.items,
                  "Item list: tab- or comma-separated, a column named item, others joined on")
      ->type_name("FILE");
  command
      .add_option("--by", args.by,
                  "An item-list column whose levels make the cells; repeat for more")
      ->allow_extra_args(false)
      ->type_name("COLUMN");
  command.add_option("--min-rt", args.minRt, "Correct trials faster are trimmed as fast")
      ->type_name("MS");
  command.add_option("--max-rt", args.maxRt, "Correct trials slower are trimmed as slow")
      ->type_name("MS");
  command
      .add_option("--sd", args.sd,
                  "Trim correct trials more than K SDs from their subject's cell mean")
      ->type_name("K");
  command
      .add_option("--max-error-rate", args.maxErrorRate,
                  "Exclude subjects whose share of errors and no responses exceeds P (0 to 1)")
      ->type_name("P");
  command.add_flag("--cot", args.cot, "The inputs have a COT column");
  command.add_flag("--zor", args.zor, "The ZIL inputs are ZOR formatted");
  command.add_flag("--no-report", args.noReport, "Leave out report.html, the data-quality report");
  command.footer(kAnalyzeFooter);
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return text;
}

std::string UsageMessage(const std::string& problem) {
  return std::string(kProgramName) + ": " + OneLine(problem) + " (see " + kProgramName +
         " --help)\n";
}

void AddAnswerOptions(CLI::App& command, BatchOptions& options, std::string& header) {
  command.add_option("--composite", options.composite, "The composite file (appended to)")
      ->required()
      ->type_name("FILE");
  command.add_option("--timeout", options.timeout, "Answer to \"Enter TimeOut Value:\" (AZK)")
      ->type_name("N");
  command
      .add_option("--responses", options.responses,
                  "Answer to the responses-per-trial question (ZIL)")
      ->type_name("N");
  command
      .add_option("--counters", options.counters,
                  "Turn \"Save Counter File\" on, writing to FILE (appended to)")
      ->type_name("FILE");
  command
      .add_option("--subject-dir", options.subjectDir,
                  "Turn \"Save Individual Subject Files\" on: each subject's file is "
                  "DIR/<ID>.dat")
      ->type_name("DIR");
  command.add_flag("--cot", options.cot, "\"COTs included?\" on");
  command.add_flag("--zor", options.zor, "\"File is ZOR formatted\" on");
  command
      .add_option("--header", header,
                  "Answer to \"Is this a new file?\" and \"Is this a new counter file?\"; "
                  "auto answers Yes when that file is missing or empty")
      ->capture_default_str()
      ->check(CLI::IsMember({"auto", "yes", "no"}).description(""))
      ->type_name("auto|yes|no");
  command
      .add_option("--missing-id", options.missingId,
                  "Answer to \"ID missing for subject on ...\" (default: empty)")
      ->type_name("TEXT");
  command.add_flag("--quiet", options.quiet, "Print only errors");
  command.footer(kFooter);
}

HeaderChoice HeaderChoiceNamed(const std::string& name) {
  if (name == "yes") {
    return HeaderChoice::Yes;
  }
  if (name == "no") {
    return HeaderChoice::No;
  }
  return HeaderChoice::Auto;
}

std::optional<std::string> MissingAnswer(const BatchOptions& options, const std::string& input) {
  const InputType type = InputTypeOf(input);
  if (type == InputType::Azk && !options.timeout) {
    return input +
           " is AZK input: --timeout N is needed (the answer to \"Enter TimeOut "
           "Value:\")";
  }
  if (type == InputType::Zil && !options.responses) {
    return input + " is ZIL input: --responses N is needed (the number of responses per trial)";
  }
  return std::nullopt;
}

std::optional<std::string> EmptyArgument(const BatchOptions& options) {
  if (options.composite.empty()) {
    return "--composite needs a file name";
  }
  if (options.counters && options.counters->empty()) {
    return "--counters needs a file name";
  }
  if (options.subjectDir && options.subjectDir->empty()) {
    return "--subject-dir needs a folder name";
  }
  for (const std::string& id : options.ids) {
    if (id.empty()) {
      return "--id needs a non-empty ID";
    }
  }
  return std::nullopt;
}

std::optional<std::string> BadNumber(const std::optional<std::string>& value, const char* flag,
                                     const Locale& locale) {
  if (value && !IsTypedNumber(*value, locale)) {
    return std::string(flag) + " " + *value + ": not a number from -32768 to 32767";
  }
  return std::nullopt;
}

std::optional<std::string> ReadTypedNumber(const std::optional<std::string>& text, const char* flag,
                                           const Locale& locale,
                                           std::optional<std::int16_t>& number) {
  if (!text) {
    return std::nullopt;
  }
  if (!IsTypedNumber(*text, locale)) {
    return std::string(flag) + " " + *text + ": not a number from -32768 to 32767";
  }
  number = static_cast<std::int16_t>(std::nearbyint(*locale.ParseNumber(*text)));
  return std::nullopt;
}

std::optional<std::string> ReadNumber(const std::optional<std::string>& text, const char* flag,
                                      const Locale& locale, std::optional<double>& number) {
  if (!text) {
    return std::nullopt;
  }
  number = locale.ParseNumber(*text);
  if (!number || !std::isfinite(*number)) {
    return std::string(flag) + " " + *text + ": not a number";
  }
  return std::nullopt;
}

// The analysis request the arguments make, or what is wrong with them.
std::optional<std::string> RequestOf(const AnalyzeArguments& args, const Locale& locale,
                                     analysis::AnalysisRequest& request) {
  request.inputs = args.inputs;
  request.outputFolder = args.out;
  request.itemList = args.items;
  request.by = args.by;
  request.cot = args.cot;
  request.zor = args.zor;
  request.report = !args.noReport;
  for (auto problem :
       {ReadTypedNumber(args.timeout, "--timeout", locale, request.timeout),
        ReadTypedNumber(args.responses, "--responses", locale, request.responses),
        ReadNumber(args.minRt, "--min-rt", locale, request.minRt),
        ReadNumber(args.maxRt, "--max-rt", locale, request.maxRt),
        ReadNumber(args.sd, "--sd", locale, request.sd),
        ReadNumber(args.maxErrorRate, "--max-error-rate", locale, request.maxErrorRate)}) {
    if (problem) {
      return problem;
    }
  }
  if (const auto failure = analysis::CheckRequest(request)) {
    return failure->message;
  }
  return std::nullopt;
}

}  // namespace

bool IsTypedNumber(std::string_view text, const Locale& locale) {
  const std::optional<double> number = locale.ParseNumber(text);
  if (!number || !std::isfinite(*number)) {
    return false;
  }
  const double rounded = std::nearbyint(*number);  // the default rounding: half to even
  return rounded >= kInt16Min && rounded <= kInt16Max;
}

std::optional<std::string> UsageProblem(const BatchOptions& options, const Locale& locale) {
  if (auto problem = EmptyArgument(options)) {
    return problem;
  }
  for (const std::string& input : options.inputs) {
    if (auto problem = MissingAnswer(options, input)) {
      return problem;
    }
  }
  if (auto problem = BadNumber(options.timeout, "--timeout", locale)) {
    return problem;
  }
  if (auto problem = BadNumber(options.responses, "--responses", locale)) {
    return problem;
  }
  // Two channels appending to one file would interleave their rows.
  if (options.counters &&
      SamePath(ApplyDatExtension(options.composite), ApplyDatExtension(*options.counters))) {
    return "--composite and --counters name the same file";
  }
  return std::nullopt;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args, const Locale& locale) {
  BatchOptions options;
  std::string header = "auto";
  std::string oneInput;

  CLI::App app{kDescription, kProgramName};
  app.set_version_flag("--version", std::string(kProgramName) + " " + TRELVOX_VERSION,
                       "Print the version and exit");
  app.require_subcommand(1);

  CLI::App* all = app.add_subcommand("parse-all", "Convert every subject of each INPUT");
  all->add_option("INPUT", options.inputs, "DMDX result files, each parsed as its own run")
      ->required();
  AddAnswerOptions(*all, options, header);

  CLI::App* one = app.add_subcommand("parse-one", "Convert the subjects with the IDs given");
  one->add_option("INPUT", oneInput, "DMDX result file")->required();
  one->add_option("--id", options.ids,
                  "Answer to \"Enter Subject ID:\"; repeat for more subjects, in the order "
                  "they stand in INPUT")
      ->required()
      ->allow_extra_args(false)
      ->type_name("ID");
  one->add_flag("--today-only", options.todayOnly,
                "Answer No to \"Data collected on: ...\" (default: Yes)");
  AddAnswerOptions(*one, options, header);

  AnalyzeArguments analyzeArgs;
  CLI::App* analyze = app.add_subcommand(
      "analyze", "Analyse INPUTs into a trial table, summaries and a data package in DIR");
  AddAnalyzeOptions(*analyze, analyzeArgs);
  app.footer([all, one, analyze] {
    return FlagSummary(*all, *one) + "\n" + AnalyzeFlags(*analyze) + "\n" + kExamples + "\n" +
           kFooter;
  });

  std::vector<std::string> argv{kProgramName};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& arg : argv) {
    pointers.push_back(arg.data());
  }

  CommandLine line;
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::Success& done) {  // --help, --version
    std::ostringstream out;
    std::ostringstream err;
    line.exitStatus = app.exit(done, out, err);
    line.out = out.str();
    line.err = err.str();
    return line;
  } catch (const CLI::ParseError& error) {
    line.exitStatus = kExitUsage;
    line.err = UsageMessage(error.what());
    return line;
  }

  if (analyze->parsed()) {
    options.command = BatchCommand::Analyze;
    if (auto problem = RequestOf(analyzeArgs, locale, options.analysis)) {
      line.exitStatus = kExitUsage;
      line.err = UsageMessage(*problem);
      return line;
    }
    line.options = std::move(options);
    return line;
  }
  options.header = HeaderChoiceNamed(header);
  if (one->parsed()) {
    options.command = BatchCommand::ParseOne;
    options.inputs = {oneInput};
  }
  if (auto problem = UsageProblem(options, locale)) {
    line.exitStatus = kExitUsage;
    line.err = UsageMessage(*problem);
    return line;
  }
  line.options = std::move(options);
  return line;
}

}  // namespace trelvox::batch
