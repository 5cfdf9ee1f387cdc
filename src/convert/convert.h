#pragma once

// The command-line converter: reads a page, project or map file with the core's readers and
// writes it again as a fresh HTML fragment, a project or an NCSA or CERN map file, or puts its
// map into an existing page as the editor's save does, without a window and without asking.

#include <iosfwd>
#include <string>
#include <vector>

namespace karvex {

// Exit statuses of karvex-convert; scripts test them, so they keep their values.
inline constexpr int kConvertOk = 0;
inline constexpr int kConvertFailed = 1; // the input could not be read or the output written
inline constexpr int kConvertChooseMap = 2; // a page with several maps and no --map
inline constexpr int kConvertUsage = 64; // bad command line (EX_USAGE)

// Runs one conversion for the command-line arguments (without the program name). Results
// such as the candidate list and --help go to out, errors to err; returns the exit status.
// Standard input ("-" as INPUT) is in.
int RunConvert(
    const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
// The same with nothing on standard input.
int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace karvex
