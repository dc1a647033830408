#pragma once

#include <regex>
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

/// Every number written as `"key": number` in JSON text, in order.
inline std::vector<double> numbersAfter(const std::string& text, const std::string& key) {
    std::vector<double> numbers;
    const std::regex pattern("\"" + key + "\": (-?[0-9.e+-]+)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        numbers.push_back(std::stod((*it)[1]));
    }
    return numbers;
}

}  // namespace morvane::cli::testing
