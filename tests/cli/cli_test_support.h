#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace morvane::cli::testing {

struct Result {
    int status;
    std::string out;
    std::string err;
};

inline Result runCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = run(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace morvane::cli::testing
