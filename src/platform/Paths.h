#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace trelvox {

// Paths are bytes everywhere in Trelvox: UTF-8 on Windows (the program's code page), whatever
// the file system holds elsewhere. Every conversion between such text and a std::filesystem
// path goes through these two, so that Windows never reads the bytes in another code page.
std::filesystem::path PathFromBytes(std::string_view bytes);
std::string BytesFromPath(const std::filesystem::path& path);

// True when `first` and `second` name the same file or folder as the file system sees it: the
// same file when both exist, otherwise the same absolute path, letter case ignored on Windows.
bool SamePath(std::string_view first, std::string_view second);

// `folder` and `name` joined with "/", which every system accepts, so that a path written in a
// transcript reads the same everywhere. An empty folder gives `name` alone.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace trelvox
