#include "platform/Paths.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace trelvox {

namespace {

// The same spelling for the same place, whether or not it exists yet.
std::filesystem::path Resolved(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ignored);
  if (resolved.empty()) {
    resolved = std::filesystem::absolute(path, ignored).lexically_normal();
  }
  resolved.make_preferred();
  return resolved.has_filename() ? resolved : resolved.parent_path();
}

bool SameSpelling(const std::filesystem::path& first, const std::filesystem::path& second) {
#ifdef _WIN32
  const std::wstring& a = first.native();
  const std::wstring& b = second.native();
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
#else
  return first == second;
#endif
}

}  // namespace

bool SamePath(std::string_view first, std::string_view second) {
  const std::filesystem::path a = PathFromBytes(first);
  const std::filesystem::path b = PathFromBytes(second);
  std::error_code error;
  if (std::filesystem::exists(a, error) && std::filesystem::exists(b, error)) {
    const bool same = std::filesystem::equivalent(a, b, error);
    return same && !error;
  }
  const std::filesystem::path resolvedA = Resolved(a);
  return !resolvedA.empty() && SameSpelling(resolvedA, Resolved(b));
}

#ifdef _WIN32

std::filesystem::path PathFromBytes(std::string_view bytes) {
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, wide.data(), length);
  return std::filesystem::path(std::move(wide));
}

std::string BytesFromPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

#else

std::filesystem::path PathFromBytes(std::string_view bytes) {
  return std::filesystem::path(std::string(bytes));
}

std::string BytesFromPath(const std::filesystem::path& path) {
  return path.native();
}

#endif

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && joined.back() != '/' && joined.back() != '\\') {
    joined += '/';
  }
  return joined.append(name);
}

}  // namespace trelvox
