#include "win/WinControls.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cmath>
#include <cstring>

#include "win/resources/resource.h"

namespace trelvox {

namespace {

DWORD StyleOf(const ControlDescription& described) {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  switch (described.kind) {
    case ControlKind::Frame:
      return child | SS_ETCHEDFRAME;
    case ControlKind::Picture:
      return child | SS_CENTERIMAGE | SS_NOTIFY |
             (described.picture == Picture::Logo ? SS_BITMAP : SS_ICON);
    case ControlKind::Label:
      // A caption with an access key names the field after it; any other text shows as it is.
      return child | SS_LEFT | (std::strchr(described.caption, '&') != nullptr ? 0 : SS_NOPREFIX);
    case ControlKind::Button:
      return child | WS_TABSTOP | (described.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case ControlKind::CheckBox:
      return child | WS_TABSTOP | BS_AUTOCHECKBOX;
    case ControlKind::TextBox:
      return child | WS_TABSTOP | ES_AUTOHSCROLL;
    case ControlKind::ListBox:
      return child | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
             (described.multiSelect ? LBS_EXTENDEDSEL : 0);
    case ControlKind::ProgressBar:
      return child;
  }
  return child;
}

// Fields the user types into or chooses from are sunk into the window, as Windows draws them.
DWORD ExtendedStyleOf(ControlKind kind) {
  return kind == ControlKind::TextBox || kind == ControlKind::ListBox ? WS_EX_CLIENTEDGE : 0;
}

const char* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
      return "BUTTON";
    case ControlKind::TextBox:
      return "EDIT";
    case ControlKind::ListBox:
      return "LISTBOX";
    case ControlKind::ProgressBar:
      return "msctls_progress32";
    default:
      return "STATIC";
  }
}

// Files dropped onto a control that takes them are the window's to handle.
LRESULT CALLBACK HandDropsToWindow(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR) {
  if (message == WM_DROPFILES) {
    return SendMessageA(GetParent(control), WM_DROPFILES, wParam, lParam);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

RECT PixelRectOf(const TwipsRect& place, int dpi) {
  const PixelRect pixels = PixelsOf(place, dpi);
  return {pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

FontSet::~FontSet() {
  for (const Entry& entry : fonts_) {
    DeleteObject(entry.font);
  }
}

HFONT FontSet::For(const FontDescription& requested) {
  const FontDescription described = requested.family == nullptr ? kDialogFont : requested;
  for (const Entry& entry : fonts_) {
    if (entry.family == described.family && entry.points == described.points &&
        entry.bold == described.bold) {
      return entry.font;
    }
  }
  const int height = -static_cast<int>(std::lround(described.points * dpi_ / 72.0));
  HFONT font = CreateFontA(height, 0, 0, 0, described.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, described.family);
  fonts_.push_back({described.family, described.points, described.bold, font});
  return font;
}

Pictures LoadPictures(HINSTANCE instance) {
  Pictures pictures;
  pictures.logo = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  pictures.icon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRELVOX), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  return pictures;
}

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void FitToText(HWND control) {
  const std::string text = WindowText(control);
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BuildControls(HWND window, const WindowDescription& described, FontSet& fonts,
                   const Pictures& pictures) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  for (const ControlDescription& control : described.controls) {
    const RECT place = PixelRectOf(PlaceInWindow(described, control), fonts.Dpi());
    const bool picture = control.kind == ControlKind::Picture;
    HWND handle = CreateWindowExA(
        ExtendedStyleOf(control.kind), ClassOf(control.kind), picture ? nullptr : control.caption,
        StyleOf(control), place.left, place.top, place.right - place.left, place.bottom - place.top,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdAt(control.id))), instance,
        nullptr);
    SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.For(control.font)), FALSE);
    if (control.picture == Picture::Logo && pictures.logo != nullptr) {
      SendMessageA(handle, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pictures.logo));
    } else if (control.picture == Picture::Icon && pictures.icon != nullptr) {
      SendMessageA(handle, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(pictures.icon));
    }
    if (picture) {
      // A picture control shrinks to its image; it keeps its place and size.
      SetWindowPos(handle, nullptr, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (control.sizesToText) {
      FitToText(handle);
    }
    if (control.acceptsFiles) {
      DragAcceptFiles(handle, TRUE);
      SetWindowSubclass(handle, HandDropsToWindow, 0, 0);
    }
  }
}

void SetClientSize(HWND window, int widthTwips, int heightTwips, int dpi) {
  RECT outer{0, 0, TwipsToPixels(widthTwips, dpi), TwipsToPixels(heightTwips, dpi)};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)),
                     GetMenu(window) != nullptr,
                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOver(HWND window, HWND over) {
  RECT area{};
  if (over != nullptr) {
    GetWindowRect(over, &area);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT self{};
  GetWindowRect(window, &self);
  const int width = self.right - self.left;
  const int height = self.bottom - self.top;
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DialogTemplate::DialogTemplate(DWORD style) {
  DLGTEMPLATE header{};
  header.style = style;
  words_.resize(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);  // no menu, class or title
  std::memcpy(words_.data(), &header, sizeof header);
}

}  // namespace trelvox
