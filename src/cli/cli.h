#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace morvane::cli {

/// Exit statuses: success, a failure while writing output, and bad input.
inline constexpr int kExitOk = 0;
inline constexpr int kExitWriteFailure = 1;
inline constexpr int kExitUsage = 2;

/// Runs one command line (without the program name). Results go to `out`; a bad option or
/// value gets exactly one line on `err`, nothing on `out`, and kExitUsage.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace morvane::cli
