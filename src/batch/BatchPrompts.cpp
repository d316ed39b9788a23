#include "batch/BatchPrompts.h"

#include "output/OutputFormats.h"

namespace trelvox::batch {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view After(std::string_view text, std::string_view prefix) {
  return text.substr(prefix.size());
}

constexpr std::string_view kSubjectFileTitle = "Save Data file for SUBID: ";

std::vector<std::string> OtherOutputs(const BatchOptions& options) {
  std::vector<std::string> outputs{ApplyDatExtension(options.composite)};
  if (options.counters) {
    outputs.push_back(ApplyDatExtension(*options.counters));
  }
  return outputs;
}

}  // namespace

std::string MessageLine(std::string_view text) {
  if (text.find("\r\n") == std::string_view::npos) {
    return std::string(text);  // most boxes hold one line: no character-wise copy
  }
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    }
    line += text[i];
  }
  return line;
}

std::string QuestionLine(std::string_view text, std::string_view answer) {
  return MessageLine(text) + " [" + std::string(answer) + "]";
}

BatchPrompts::BatchPrompts(const BatchOptions& options, std::ostream& out)
    : options_(options), out_(out) {
  if (options.subjectDir) {
    subjectFiles_.emplace(*options.subjectDir, OtherOutputs(options));
  }
}

void BatchPrompts::BeginRun(RunAnswers run) {
  run_ = std::move(run);
}

std::optional<bool> BatchPrompts::YesNoFor(std::string_view question) const {
  if (question == "Is this a new file?") {
    return run_.compositeIsNew;
  }
  if (question == "Is this a new counter file?") {
    return run_.counterIsNew;
  }
  if (question == "Parse another subject?") {
    return nextId_ < options_.ids.size();
  }
  if (StartsWith(question, "Data collected on: ")) {
    return !options_.todayOnly;
  }
  return std::nullopt;
}

std::optional<std::string> BatchPrompts::InputFor(std::string_view prompt) {
  if (prompt == "Enter TimeOut Value:") {
    return options_.timeout;
  }
  if (prompt == "Enter Maximum Expected # Responses per Trial:" ||
      prompt == "Enter Expected # Responses per Trial:") {
    return options_.responses;
  }
  if (StartsWith(prompt, "ID missing for subject on ")) {
    return options_.missingId;
  }
  if (prompt == "Enter Subject ID:" && nextId_ < options_.ids.size()) {
    return options_.ids[nextId_++];
  }
  return std::nullopt;
}

std::optional<std::string> BatchPrompts::FileFor(std::string_view title) {
  if (title == "Open AZK or ZIL file") {
    return run_.input;
  }
  if (title == "Designate Composite file") {
    return options_.composite;
  }
  if (title == "Designate Counter file") {
    return options_.counters;
  }
  if (StartsWith(title, kSubjectFileTitle) && subjectFiles_) {
    return subjectFiles_->Next(After(title, kSubjectFileTitle));
  }
  return std::nullopt;
}

bool BatchPrompts::Prints(Tone tone) const {
  return !options_.quiet || tone == Tone::Problem;
}

void BatchPrompts::Print(const std::string& line, Tone tone) {
  if (Prints(tone)) {
    out_ << line << '\n';
  }
}

Answer BatchPrompts::ShowMessage(const MessageRequest& request) {
  if (request.buttons == Buttons::Ok) {
    if (Prints(request.tone)) {  // a message per input line must cost little when quiet
      Print(MessageLine(request.text), request.tone);
    }
    return Answer::Ok;
  }
  const std::optional<bool> yes = YesNoFor(request.text);
  if (!yes) {
    unanswered_.push_back(request.text);
  }
  const bool answer = yes.value_or(false);
  Print(QuestionLine(request.text, answer ? "Yes" : "No"), request.tone);
  return answer ? Answer::Yes : Answer::No;
}

std::string BatchPrompts::ShowInput(const InputRequest& request) {
  const std::optional<std::string> answer = InputFor(request.prompt);
  if (!answer) {
    unanswered_.push_back(request.prompt);
  }
  Print(QuestionLine(request.prompt, answer.value_or("")), Tone::Info);
  return answer.value_or("");
}

std::string BatchPrompts::ShowFileDialog(const FileDialogRequest& request) {
  const std::optional<std::string> answer = FileFor(request.title);
  if (!answer) {
    unanswered_.push_back(request.title);
  }
  Print(QuestionLine(request.title, answer.value_or("")), Tone::Info);
  return answer.value_or("");
}

}  // namespace trelvox::batch
