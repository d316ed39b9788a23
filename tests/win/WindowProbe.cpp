// window-probe.exe: lets a script that drives the program with X keys and clicks see the Wine
// windows inside the virtual desktop, which the X tools cannot.
//   window-probe.exe wait SECONDS CLASS TITLE  -> "HANDLE" and the window's texts, one a line
//                                                 ("*" stands for any class or title)
//   window-probe.exe rect SECONDS CLASS TITLE  -> "WIDTHxHEIGHT+LEFT+TOP", the outer rectangle
//   window-probe.exe button SECONDS TEXT       -> "X Y", the screen centre of the button
//   window-probe.exe gone SECONDS HANDLE       -> waits until that window has closed
//   window-probe.exe items SECONDS CLASS TITLE -> the lines of the window's list boxes
// The exit status is 0 when found, 1 on a time-out, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMilliseconds = 50;

struct Search {
  std::string className;
  std::string title;
  std::string buttonText;
  HWND found = nullptr;
};

std::string TextOf(HWND window) {
  char text[4096] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK FindButton(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (IsWindowVisible(child) && _stricmp(ClassOf(child).c_str(), "Button") == 0 &&
      TextOf(child) == search->buttonText) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(window)) {
    return TRUE;
  }
  if (!search->buttonText.empty()) {
    EnumChildWindows(window, FindButton, data);
    return search->found == nullptr;
  }
  if ((search->className == "*" || ClassOf(window) == search->className) &&
      (search->title == "*" || TextOf(window) == search->title)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK PrintText(HWND child, LPARAM) {
  const std::string text = TextOf(child);
  if (IsWindowVisible(child) && _stricmp(ClassOf(child).c_str(), "Static") == 0 && !text.empty()) {
    std::printf("%s\n", text.c_str());
  }
  return TRUE;
}

BOOL CALLBACK PrintItems(HWND child, LPARAM) {
  if (!IsWindowVisible(child) || _stricmp(ClassOf(child).c_str(), "ListBox") != 0) {
    return TRUE;
  }
  // Wide across processes: Wine hands another process's list lines over as UTF-16.
  const LRESULT count = SendMessageW(child, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(child, LB_GETTEXTLEN, i, 0)) + 1,
                      L'\0');
    SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    char line[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, item.c_str(), -1, line, sizeof line, nullptr, nullptr);
    std::printf("%s\n", line);
  }
  return TRUE;
}

HWND WaitFor(Search& search, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  do {
    search.found = nullptr;
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      return search.found;
    }
    Sleep(kPollMilliseconds);
  } while (GetTickCount64() < end);
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: window-probe wait|rect|button|gone|items SECONDS ...\n");
    return 2;
  }
  const double seconds = std::atof(args[1].c_str());
  Search search;
  if (args[0] == "wait" && args.size() == 4) {
    search.className = args[2];
    search.title = args[3];
    HWND window = WaitFor(search, seconds);
    if (window == nullptr) {
      return 1;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    EnumChildWindows(window, PrintText, 0);
    return 0;
  }
  if (args[0] == "items" && args.size() == 4) {
    search.className = args[2];
    search.title = args[3];
    HWND window = WaitFor(search, seconds);
    if (window == nullptr) {
      return 1;
    }
    EnumChildWindows(window, PrintItems, 0);
    return 0;
  }
  if (args[0] == "rect" && args.size() == 4) {
    search.className = args[2];
    search.title = args[3];
    HWND window = WaitFor(search, seconds);
    if (window == nullptr) {
      return 1;
    }
    RECT place{};
    GetWindowRect(window, &place);
    std::printf("%ldx%ld+%ld+%ld\n", place.right - place.left, place.bottom - place.top, place.left,
                place.top);
    return 0;
  }
  if (args[0] == "button" && args.size() == 3) {
    search.buttonText = args[2];
    HWND button = WaitFor(search, seconds);
    if (button == nullptr) {
      return 1;
    }
    RECT place{};
    GetWindowRect(button, &place);
    std::printf("%ld %ld\n", (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    return 0;
  }
  if (args[0] == "gone" && args.size() == 3) {
    HWND window =
        reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(args[2].c_str(), nullptr, 10)));
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (IsWindow(window) && IsWindowVisible(window)) {
      if (GetTickCount64() >= end) {
        return 1;
      }
      Sleep(kPollMilliseconds);
    }
    return 0;
  }
  std::fprintf(stderr, "usage: window-probe wait|rect|button|gone|items SECONDS ...\n");
  return 2;
}
