#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trelvox {

class FileChannels;
class Ui;

// Opens `path` on the lowest free channel, stored into `channel` before anything is tried.
// `method` ("I" read, "O" write from empty, "A" append) is upper-cased in place. Returns 0 when
// the file is open; otherwise shows the failure and returns a positive number.
int OpenFile(FileChannels& files, Ui& ui, const std::string& path, std::int16_t& channel,
             std::string& method);

// Shows the open ("O") or save ("S") dialog; `dialogType` is upper-cased in place. The chosen
// path lands in `name` and is returned; both are empty when the user cancels.
std::string GetFileName(Ui& ui, std::string& name, std::string& dialogType, std::string_view title,
                        std::string_view filter);

std::string UpperCase(std::string_view text);

}  // namespace trelvox
