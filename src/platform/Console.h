#pragma once

#include <string>
#include <vector>

namespace trelvox {

// Prepares standard output and error for a console program: on Windows they write bytes as they
// are (no "\r\n" for "\n", so transcripts match those of other systems) and the console shows
// them as UTF-8. Elsewhere it does nothing.
void PrepareConsole();

// The program's arguments after the program name, as UTF-8 bytes. Windows hands them over in
// UTF-16, whatever code page the program runs in.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace trelvox
