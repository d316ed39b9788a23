#include "win/WinShellFiles.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "win/Win32Prompts.h"

namespace trelvox {

namespace {

// Room for a few hundred long paths chosen at once.
constexpr std::size_t kSelectionChars = 256 * 1024;

int CALLBACK OpenAtStart(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start != 0) {
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, start);
  }
  return 0;
}

}  // namespace

std::wstring WideOf(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)),
      L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string NarrowOf(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  std::string narrow(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(), size,
                                                                  nullptr, 0, nullptr, nullptr)),
                     '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), static_cast<int>(narrow.size()),
                      nullptr, nullptr);
  return narrow;
}

std::vector<std::string> SplitOpenSelection(const std::vector<char>& buffer) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at < buffer.size() && buffer[at] != '\0') {
    std::string part(buffer.data() + at);
    at += part.size() + 1;
    parts.push_back(std::move(part));
  }
  if (parts.size() <= 1) {
    return parts;  // nothing, or one full path
  }
  std::string folder = parts.front();
  if (folder.back() != '\\') {
    folder += '\\';  // a drive's root comes with its backslash, any other folder without
  }
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    paths.push_back(folder + parts[i]);
  }
  return paths;
}

std::string FilterWithPatterns(std::string_view filter) {
  std::vector<std::string_view> parts;
  for (std::size_t at = 0; at < filter.size();) {
    const std::size_t bar = std::min(filter.find('|', at), filter.size());
    parts.push_back(filter.substr(at, bar - at));
    at = bar + 1;
  }
  std::string shown;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      shown.push_back('|');
    }
    shown.append(parts[i]);
    const bool describes = i % 2 == 0 && i + 1 < parts.size();
    if (describes && parts[i].find('(') == std::string_view::npos) {
      shown.append(" (").append(parts[i + 1]).append(")");
    }
  }
  return shown;
}

std::vector<std::string> ChooseFilesToOpen(HWND owner, const std::string& title,
                                           const std::string& filter, bool several,
                                           const std::string& folder) {
  std::vector<char> buffer(kSelectionChars, '\0');
  const std::string filters = WindowsFilterFromPairs(filter);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST |
                 OFN_PATHMUSTEXIST | (several ? OFN_ALLOWMULTISELECT : 0);
  if (!GetOpenFileNameA(&dialog)) {
    return {};
  }
  return SplitOpenSelection(buffer);
}

std::string ChooseFolder(HWND owner, const std::string& title, const std::string& start) {
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
  browse.lpfn = OpenAtStart;
  browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
  if (chosen == nullptr) {
    return {};
  }
  char path[MAX_PATH] = {};
  const bool isFolder = SHGetPathFromIDListA(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  return isFolder ? std::string(path) : std::string();
}

std::vector<std::string> TakeDroppedFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(NarrowOf(path));
  }
  DragFinish(drop);
  return paths;
}

std::string WindowsPathOf(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

bool OpenInShell(const std::string& path) {
  const std::wstring wide = WideOf(WindowsPathOf(path));
  // Above 32 is success; the documented way to read the old-style result.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

std::string FullPathOf(const std::string& path) {
  const std::wstring wide = WideOf(path);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (path.empty() || size == 0) {
    return path;
  }
  std::wstring full(size, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
  return NarrowOf(full);
}

std::vector<std::string> ArgumentsOf(const wchar_t* commandLine) {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(commandLine, &count);
  if (words == nullptr) {
    return arguments;
  }
  for (int i = 1; i < count; ++i) {
    arguments.push_back(NarrowOf(words[i]));
  }
  LocalFree(words);
  return arguments;
}

}  // namespace trelvox
