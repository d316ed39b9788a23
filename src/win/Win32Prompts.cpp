#include "win/Win32Prompts.h"

#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "win/WinApplication.h"
#include "win/WinControls.h"
#include "win/frmMain.h"

namespace trelvox {

namespace {

// The input box's layout in pixels at 96 dpi, scaled to the system's.
constexpr int kInputWidth = 360;
constexpr int kInputHeight = 130;
constexpr int kPromptId = 10;
constexpr int kEditId = 11;

struct InputBoxState {
  const std::string* prompt;
  const std::string* title;
  int dpi;
  HFONT font;
  std::string answer;
};

HWND AddChild(HWND dialog, const char* className, const char* text, DWORD style, RECT place, int id,
              HFONT font, DWORD exStyle = 0) {
  HWND child =
      CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left,
                      place.top, place.right - place.left, place.bottom - place.top, dialog,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

RECT Scaled(int left, int top, int width, int height, int dpi) {
  return {MulDiv(left, dpi, 96), MulDiv(top, dpi, 96), MulDiv(left + width, dpi, 96),
          MulDiv(top + height, dpi, 96)};
}

void BuildInputBox(HWND dialog, const InputBoxState& state) {
  const int dpi = state.dpi;
  SetWindowTextA(dialog, state.title->c_str());
  RECT outer{0, 0, MulDiv(kInputWidth, dpi, 96), MulDiv(kInputHeight, dpi, 96)};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  AddChild(dialog, "STATIC", state.prompt->c_str(), SS_LEFT | SS_NOPREFIX,
           Scaled(10, 10, 260, 70, dpi), kPromptId, state.font);
  AddChild(dialog, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, Scaled(280, 10, 70, 23, dpi),
           IDOK, state.font);
  AddChild(dialog, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, Scaled(280, 40, 70, 23, dpi),
           IDCANCEL, state.font);
  HWND edit = AddChild(dialog, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL,
                       Scaled(10, 95, 340, 22, dpi), kEditId, state.font, WS_EX_CLIENTEDGE);
  CentreOver(dialog, GetWindow(dialog, GW_OWNER));
  SetFocus(edit);
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    BuildInputBox(dialog, *reinterpret_cast<InputBoxState*>(lParam));
    return FALSE;
  }
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_COMMAND && state != nullptr) {
    if (LOWORD(wParam) == IDOK) {
      HWND edit = GetDlgItem(dialog, kEditId);
      state->answer = WindowText(edit);
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      state->answer.clear();
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    }
  }
  return FALSE;
}

std::vector<char> PathBuffer() {
  return std::vector<char>(32768, '\0');
}

}  // namespace

std::string WindowsFilterFromPairs(std::string_view filter) {
  std::string converted(filter);
  for (char& c : converted) {
    if (c == '|') {
      c = '\0';
    }
  }
  if (!converted.empty()) {
    converted += '\0';
  }
  converted += '\0';
  return converted;
}

std::string InputBox(HINSTANCE instance, HWND owner, int dpi, const std::string& prompt,
                     const std::string& title) {
  FontSet fonts(dpi);
  InputBoxState state{&prompt, &title, dpi, fonts.For(FontDescription{}), {}};
  const DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  DialogBoxIndirectParamA(instance, dialog.Get(), owner, InputBoxProcedure,
                          reinterpret_cast<LPARAM>(&state));
  return state.answer;
}

HWND Win32Prompts::Owner() const {
  if (HWND active = GetActiveWindow()) {
    return active;
  }
  const frmMain* main = app_.MainForm();
  return main != nullptr && IsWindowVisible(main->Handle()) ? main->Handle() : nullptr;
}

Answer Win32Prompts::ShowMessage(const MessageRequest& request) {
  if (request.buttons == Buttons::Ok) {
    MessageBoxA(Owner(), request.text.c_str(), request.caption.c_str(), MB_OK);
    return Answer::Ok;
  }
  // Windows gives a Yes/No box no Escape and no close box, but Wine answers both, and Alt+F4,
  // with IDCANCEL: anything but Yes or No asks the question again.
  while (true) {
    switch (MessageBoxA(Owner(), request.text.c_str(), request.caption.c_str(), MB_YESNO)) {
      case IDYES:
        return Answer::Yes;
      case IDNO:
        return Answer::No;
      case 0:
        throw std::runtime_error("The question could not be shown: " + request.text);
      default:
        break;
    }
  }
}

std::string Win32Prompts::ShowInput(const InputRequest& request) {
  return InputBox(app_.Instance(), Owner(), app_.Dpi(), request.prompt, request.title);
}

std::string Win32Prompts::ShowFileDialog(const FileDialogRequest& request) {
  std::vector<char> path = PathBuffer();  // every call starts with an empty file name
  const std::string filter = WindowsFilterFromPairs(request.filter);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  const frmMain* main = app_.MainForm();
  dialog.hwndOwner = main != nullptr && main->Handle() != nullptr ? main->Handle() : Owner();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = request.title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  const bool save = request.kind == FileDialogKind::Save;
  if (save && request.confirmOverwrite) {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
  }
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  return chosen ? std::string(path.data()) : std::string();
}

}  // namespace trelvox
