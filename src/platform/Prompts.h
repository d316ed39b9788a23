#pragma once

#include <string>

namespace trelvox {

// The application title: the caption of every box unless a box says otherwise.
inline constexpr const char* kAppTitle = "Trelvox";

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// Boxes are drawn without an icon; the tone only lets front ends without a window (the batch
// tool) tell problems from progress, for example to keep quiet about the rest.
enum class Tone { Info, Problem };

struct MessageRequest {
  std::string text;
  std::string caption;
  Buttons buttons = Buttons::Ok;
  Tone tone = Tone::Info;
};

struct InputRequest {
  std::string prompt;
  std::string title;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;
  // Pairs of description and pattern joined by "|": "Composite Files (*.dat)|*.dat".
  std::string filter;
  // Save dialogs ask before an existing file is chosen, since it would be replaced.
  bool confirmOverwrite = false;
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
