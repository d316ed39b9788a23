#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

namespace trelvox {

// Paths between the program and the Windows shell. The program's own text is in the ANSI code
// page (UTF-8 by its manifest), as every file it opens is; the shell's wide text is converted
// at this edge only.

// What a multi-select open dialog hands back: one full path, or the folder followed by the
// names of the files chosen in it, each ended by a zero, the list by a second one.
std::vector<std::string> SplitOpenSelection(const std::vector<char>& buffer);

// The filter with each description followed by its patterns, as Windows' dialogs show them:
// "Item lists|*.csv" becomes "Item lists (*.csv)|*.csv"; one that names them stays.
std::string FilterWithPatterns(std::string_view filter);

// The open dialog, starting in `folder` (empty: where the system chooses); the chosen paths,
// none on Cancel. `filter` as the boxes take it: "desc|pattern|desc|pattern".
std::vector<std::string> ChooseFilesToOpen(HWND owner, const std::string& title,
                                           const std::string& filter, bool several,
                                           const std::string& folder);

// The shell's folder chooser, opened at `start` when there is one; the chosen folder, empty
// text on Cancel.
std::string ChooseFolder(HWND owner, const std::string& title, const std::string& start);

// The paths of files dropped onto a window (WM_DROPFILES); the drop is released.
std::vector<std::string> TakeDroppedFiles(HDROP drop);

// The path with Windows' separators: the shared code joins names with '/', which the shell does
// not take everywhere, and which no Windows file name holds.
std::string WindowsPathOf(std::string path);

// Opens a document or a folder the way a double-click in Explorer would; false when the
// shell could not.
bool OpenInShell(const std::string& path);

// The arguments after the program's name, as the shell quoted them.
std::vector<std::string> ArgumentsOf(const wchar_t* commandLine);

// The path made absolute against the current folder; as it is when it cannot be.
std::string FullPathOf(const std::string& path);

std::wstring WideOf(std::string_view text);
std::string NarrowOf(std::wstring_view text);

}  // namespace trelvox
