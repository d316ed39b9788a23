#include "batch/BatchPrompts.h"

#include "output/OutputFormats.h"

namespace trelvox::batch {

namespace {

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

std::optional<bool> BatchPrompts::YesNoFor(MessageId question) const {
  switch (question) {
    case MessageId::NewCompositeFile:
      return run_.compositeIsNew;
    case MessageId::NewCounterFile:
      return run_.counterIsNew;
    case MessageId::ParseAnotherSubject:
      return nextId_ < options_.ids.size();
    case MessageId::DataCollectedOn:
      return !options_.todayOnly;
    default:
      return std::nullopt;
  }
}

std::optional<std::string> BatchPrompts::InputFor(MessageId prompt) {
  switch (prompt) {
    case MessageId::TimeOutValue:
      return options_.timeout;
    case MessageId::ResponsesPerTrial:
      return options_.responses;
    case MessageId::MissingSubjectId:
      return options_.missingId;
    case MessageId::SubjectIdToParse:
      if (nextId_ < options_.ids.size()) {
        return options_.ids[nextId_++];
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<std::string> BatchPrompts::FileFor(const FileDialogRequest& dialog) {
  switch (dialog.id) {
    case MessageId::InputFile:
      return run_.input;
    case MessageId::CompositeFile:
      return options_.composite;
    case MessageId::CounterFile:
      return options_.counters;
    case MessageId::SubjectFile:
      if (subjectFiles_) {
        return subjectFiles_->Next(dialog.subjectId);
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
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
  const std::optional<bool> yes = YesNoFor(request.id);
  if (!yes) {
    unanswered_.push_back(request.text);
  }
  const bool answer = yes.value_or(false);
  Print(QuestionLine(request.text, answer ? "Yes" : "No"), request.tone);
  return answer ? Answer::Yes : Answer::No;
}

std::string BatchPrompts::ShowInput(const InputRequest& request) {
  const std::optional<std::string> answer = InputFor(request.id);
  if (!answer) {
    unanswered_.push_back(request.prompt);
  }
  Print(QuestionLine(request.prompt, answer.value_or("")), Tone::Info);
  return answer.value_or("");
}

std::string BatchPrompts::ShowFileDialog(const FileDialogRequest& request) {
  const std::optional<std::string> answer = FileFor(request);
  if (!answer) {
    unanswered_.push_back(request.title);
  }
  Print(QuestionLine(request.title, answer.value_or("")), Tone::Info);
  return answer.value_or("");
}

}  // namespace trelvox::batch
