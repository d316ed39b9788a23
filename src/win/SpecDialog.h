#pragma once

#include <windows.h>

#include "desktop/WindowLayout.h"

namespace trelvox {

class WinApplication;

// A window drawn from its shared description as a dialog, so that Windows' dialog manager
// gives it tab order, access keys, the default button and Escape.
class SpecDialog {
 public:
  SpecDialog(WinApplication& app, const WindowSpec& spec) : app_(app), spec_(spec) {}
  virtual ~SpecDialog();
  SpecDialog(const SpecDialog&) = delete;
  SpecDialog& operator=(const SpecDialog&) = delete;

  // Null once the window has gone.
  HWND Handle() const { return hwnd_; }
  HWND Control(const char* name) const { return ControlHandle(name); }
  const WindowSpec& Spec() const { return spec_; }

 protected:
  void CreateModeless(DWORD style, HWND owner);
  void ShowModal(DWORD style, HWND owner);
  void Close();  // ends a modal dialog, destroys a modeless one
  HWND ControlHandle(const char* name) const;
  int IdOf(const char* name) const;
  bool IsChecked(const char* name) const;
  void SetChecked(const char* name, bool checked);
  void SetText(const char* name, const char* text);

  virtual void Form_Load() {}
  // A click or Enter on a control, or IDOK / IDCANCEL from the dialog manager.
  virtual void OnCommand(int id) = 0;
  // Any other message; true when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

  WinApplication& app_;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Initialise(HWND window);

  const WindowSpec& spec_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

}  // namespace trelvox
