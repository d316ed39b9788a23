#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace trelvox::batch {

// The file-name stem an ID gives. IDs are untrusted text: letters, digits, ".", "_" and "-" are
// kept, every other byte becomes "_", so no ID can name a path outside the folder. A stem that
// Windows reads as a device (CON, PRN, AUX, NUL, COM0-9, LPT0-9 before the first dot, any letter
// case) gets a "_" in front, on every system. Very long IDs are cut so that the name still fits
// a file system's limit.
std::string SafeNameStem(std::string_view id);

// Hands out one file per subject inside one folder, for the whole call: FOLDER/<stem>.dat, where
// an empty ID gives the stem "subject" followed by the subject's running number, and a name that
// is already taken gets "-2", "-3", ... after its stem, so that no subject's file replaces
// another's. Names differing only in letter case count as taken too, for folders on disks that
// ignore case.
class SubjectFileNames {
 public:
  // `reserved`: the other files the call writes (composite, counter file); a subject file never
  // takes one of their names.
  SubjectFileNames(std::string folder, const std::vector<std::string>& reserved);

  // The path of the next subject's file.
  std::string Next(std::string_view id);

 private:
  void Reserve(const std::string& path);
  bool IsTaken(const std::string& fileName) const;

  std::string folder_;
  std::set<std::string> taken_;  // file names in lower case
  int subjects_ = 0;
};

}  // namespace trelvox::batch
