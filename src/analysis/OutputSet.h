#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelvox::analysis {

// The files of one analysis, written under temporary names in the output folder and given
// their own names only together, once every one is complete: until then, and whenever a step
// fails, the files of an earlier analysis stay as they were. Whatever is not committed is
// removed when the set goes.
class OutputSet {
 public:
  // Creates the folder when it is missing; raises WriteError when it cannot.
  explicit OutputSet(std::string folder);
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // The temporary path to write the file `name` to.
  std::string Add(std::string_view name);
  // Gives every file its name. A file of that name already there is moved aside first and put
  // back when a later step fails; raises WriteError then, with nothing replaced.
  void Commit();

  // The final paths, in the order added.
  std::vector<std::string> Paths() const;
  const std::string& Folder() const { return folder_; }

 private:
  struct Entry {
    std::string name;
    std::string temporary;
    std::string final;
    std::string aside;
    bool movedAside = false;
    bool renamed = false;
  };
  void Undo();

  std::string folder_;
  std::vector<Entry> entries_;
  bool committed_ = false;
};

}  // namespace trelvox::analysis
