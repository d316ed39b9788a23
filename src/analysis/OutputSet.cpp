#include "analysis/OutputSet.h"

#include <filesystem>
#include <system_error>

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace trelvox::analysis {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporarySuffix = ".trelvox-new";
constexpr std::string_view kAsideSuffix = ".trelvox-old";

fs::path PathOf(const std::string& bytes) {
  return PathFromBytes(bytes);
}

void RemoveQuietly(const std::string& path) {
  std::error_code ignored;
  fs::remove(PathOf(path), ignored);
}

void Rename(const std::string& from, const std::string& to, const std::string& named) {
  std::error_code error;
  fs::rename(PathOf(from), PathOf(to), error);
  if (error) {
    throw WriteError("Could not replace " + named + ": " + error.message() +
                     ". Close any program that has it open, then analyse again; nothing was "
                     "replaced.");
  }
}

}  // namespace

OutputSet::OutputSet(std::string folder) : folder_(std::move(folder)) {
  const fs::path path = PathOf(folder_.empty() ? std::string(".") : folder_);
  std::error_code error;
  fs::create_directories(path, error);
  if (error || !fs::is_directory(path, error)) {
    throw WriteError("Could not create the output folder " + folder_ + ": " +
                     (error ? error.message() : std::string("a file of that name is in the way")) +
                     ". Choose another folder.");
  }
}

OutputSet::~OutputSet() {
  if (!committed_) {
    for (const Entry& entry : entries_) {
      RemoveQuietly(entry.temporary);
    }
  }
}

std::string OutputSet::Add(std::string_view name) {
  Entry entry;
  entry.name = name;
  entry.final = JoinPath(folder_, name);
  entry.temporary = entry.final + std::string(kTemporarySuffix);
  entry.aside = entry.final + std::string(kAsideSuffix);
  entries_.push_back(entry);
  return entries_.back().temporary;
}

std::vector<std::string> OutputSet::Paths() const {
  std::vector<std::string> paths;
  for (const Entry& entry : entries_) {
    paths.push_back(entry.final);
  }
  return paths;
}

void OutputSet::Undo() {
  for (Entry& entry : entries_) {
    std::error_code ignored;
    if (entry.renamed) {
      fs::rename(PathOf(entry.final), PathOf(entry.temporary), ignored);
      entry.renamed = false;
    }
    if (entry.movedAside) {
      fs::rename(PathOf(entry.aside), PathOf(entry.final), ignored);
      entry.movedAside = false;
    }
  }
}

void OutputSet::Commit() {
  try {
    for (Entry& entry : entries_) {
      std::error_code error;
      const fs::file_status status = fs::symlink_status(PathOf(entry.final), error);
      if (fs::is_directory(status)) {
        throw WriteError("Could not replace " + entry.final +
                         ": it is a folder. Move it away, then analyse again; nothing was "
                         "replaced.");
      }
      if (fs::exists(status)) {
        RemoveQuietly(entry.aside);  // left by a run that was killed while it renamed
        Rename(entry.final, entry.aside, entry.final);
        entry.movedAside = true;
      }
    }
    for (Entry& entry : entries_) {
      Rename(entry.temporary, entry.final, entry.final);
      entry.renamed = true;
    }
  } catch (...) {
    Undo();
    throw;
  }
  committed_ = true;
  for (const Entry& entry : entries_) {
    if (entry.movedAside) {
      RemoveQuietly(entry.aside);
    }
  }
}

}  // namespace trelvox::analysis
