#pragma once

#include <string>

namespace trelvox {

// The application title: the caption of every box unless a box says otherwise.
inline constexpr const char* kAppTitle = "Trelvox";

// Every box and dialog the program shows, named once. Front ends that answer boxes without a
// person (the batch tool, the tests' scripts) tell them apart by this id; the text is only shown,
// so rewording a message changes no answer.
enum class MessageId {
  // Questions with Yes and No
  NewCompositeFile,     // "Is this a new file?"
  NewCounterFile,       // "Is this a new counter file?"
  DataCollectedOn,      // Parse One Subject: a subject not recorded today
  ParseAnotherSubject,  // Parse One Subject, after each subject
  // Input boxes
  TimeOutValue,       // AZK input
  ResponsesPerTrial,  // ZIL input; worded differently by the two commands
  MissingSubjectId,   // a subject header without "ID"
  SubjectIdToParse,   // Parse One Subject: "Enter Subject ID:"
  // File dialogs
  InputFile,
  CompositeFile,
  CounterFile,
  SubjectFile,
  // Progress
  SubjectIdDetected,
  SubjectReport,  // a subject's counts
  ParsingComplete,
  // Problems met in the input or in the answers
  NotANumber,  // an answer to a number question, asked again
  UnknownInputType,
  SubjectNotFound,
  NoSubjectHeader,  // the input held no subject header: nothing was converted
  DamagedHeaderDate,
  PassedOverHeaders,    // lines with "refresh" but without "Subject"
  SubjectProblemLines,  // a subject's lines not converted as they stand
  LongTrials,           // ZIL trials with more responses than the header names
  // Failures of files and of the program
  OpenFailureReason,  // the system's description of a failed open
  ErrorOpeningFile,   // "Error opening file: " and the path, after the reason
  CommandStopped,     // a command ended by a failed write, a failed read or an overflow
  UnknownIdentifier,  // ParseString's identifier; never expected
  IndexOutOfRange,    // InsertValueInRecord's index; never expected
  ProgramProblem,     // the desktop program: a failure outside a command's own handling
  SysInfoUnavailable,
};

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// Boxes are drawn without an icon; the tone only lets front ends without a window (the batch
// tool) tell problems from progress, for example to keep quiet about the rest.
enum class Tone { Info, Problem };

struct MessageRequest {
  MessageId id;
  std::string text;
  std::string caption;
  Buttons buttons = Buttons::Ok;
  Tone tone = Tone::Info;
};

struct InputRequest {
  MessageId id;
  std::string prompt;
  std::string title;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  MessageId id;
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;
  // Pairs of description and pattern joined by "|": "Composite Files (*.dat)|*.dat".
  std::string filter;
  // Save dialogs ask before an existing file is chosen, since it would be replaced.
  bool confirmOverwrite = false;
  // A subject file's dialog: the subject it is for (its title names it too).
  std::string subjectId = {};
};

// The modal boxes and dialogs a command shows. The desktop shell draws them with Qt, the batch
// tool answers them from its flags, and tests answer them from a script.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // True when a box waits for a person, who may look at the output files meanwhile: every
  // row written before the box is then on disk first. A front end whose boxes wait for nobody
  // (the batch tool) says false and spares a write per box; its files are written in full
  // when they are closed, whichever way the command ends.
  virtual bool BoxesWaitForUser() const { return true; }
  virtual Answer ShowMessage(const MessageRequest& request) = 0;
  // Returns the typed text; Cancel gives the empty text.
  virtual std::string ShowInput(const InputRequest& request) = 0;
  // Returns the chosen path; Cancel gives the empty text.
  virtual std::string ShowFileDialog(const FileDialogRequest& request) = 0;
};

}  // namespace trelvox
