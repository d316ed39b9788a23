#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "desktop/WindowLayout.h"

namespace trelvox {

// The system's dots per inch, at which twips become pixels (the program is dpi aware).
int SystemDpi();
RECT PixelRectOf(const TwipsRect& place, int dpi);

// The fonts the windows use, made once per size and kept until the program ends. A control
// without a font of its own gets MS Sans Serif 8 pt, the ordinary dialog font.
class FontSet {
 public:
  explicit FontSet(int dpi) : dpi_(dpi) {}
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  HFONT For(const FontDescription& described);
  int Dpi() const { return dpi_; }

 private:
  struct Entry {
    std::string family;
    double points;
    bool bold;
    HFONT font;
  };
  int dpi_;
  std::vector<Entry> fonts_;
};

inline constexpr FontDescription kDialogFont{"MS Sans Serif", 8, false};

// The pictures the windows show, loaded from the program's resources.
struct Pictures {
  HBITMAP logo = nullptr;
  HICON icon = nullptr;
};
Pictures LoadPictures(HINSTANCE instance);

// The control of the description gets the number 100 plus its place in the table.
inline constexpr int kFirstControlId = 100;
constexpr int ControlIdAt(std::size_t index) {
  return kFirstControlId + static_cast<int>(index);
}
inline HWND ControlHandle(HWND window, const ControlDescription& control) {
  return GetDlgItem(window, ControlIdAt(control.id));
}
template <typename ControlId>
HWND ControlHandle(HWND window, ControlId id) {
  return GetDlgItem(window, ControlIdAt(IndexOf(id)));
}
std::string WindowText(HWND window);

// Creates every control of the description on the window, in tab order, with its font,
// place and picture; a label that sizes itself is fitted to its text.
void BuildControls(HWND window, const WindowDescription& described, FontSet& fonts,
                   const Pictures& pictures);
void FitToText(HWND control);
// Gives the window the client size of its description, keeping its position.
void SetClientSize(HWND window, int widthTwips, int heightTwips, int dpi);
void CentreOver(HWND window, HWND over);  // over the owner, or the screen when null

// A dialog without controls of its own, built in memory; the controls come from the
// descriptions. Its style says what kind of window it is.
class DialogTemplate {
 public:
  explicit DialogTemplate(DWORD style);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

}  // namespace trelvox
