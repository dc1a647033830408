// Arbitrary command lines: NUL-separated words as arguments. The program answers with status
// 0 or 2 (1 only for a failed write), and bad input gets exactly one line on standard error
// and nothing on standard output. "export" is left out: it writes files.
#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir home;  // no saved locations of the machine's user
    static const bool prepared = qputenv("XDG_DATA_HOME", home.path().toUtf8());
    (void)prepared;

    std::vector<std::string> args;
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    args.push_back(word);
    if (!args.empty() && args.front() == "export") return 0;
    // Tables of up to a million rows are legal; keep single runs short.
    for (const std::string& arg : args) {
        if (arg.size() > 3 && arg.find_first_not_of("0123456789") == std::string::npos) return 0;
    }
    // Spans of events are legal up to 360,000 days, written short as "1e5" too.
    for (std::size_t i = 0; i < args.size(); ++i) {
        const char* days = nullptr;
        if (args[i] == "--days" && i + 1 < args.size()) days = args[i + 1].c_str();
        if (args[i].starts_with("--days=")) days = args[i].c_str() + 7;
        if (days != nullptr && !(std::strtod(days, nullptr) <= 400.0)) return 0;
    }
    // Almanacs are legal over a million years; keep fuzzed ones to a few.
    if (!args.empty() && args.front() == "almanac") {
        long long first = 0;
        long long last = 0;
        for (std::size_t i = 1; i < args.size(); ++i) {
            const bool from = args[i].starts_with("--from");
            if (!from && !args[i].starts_with("--to")) continue;
            const auto eq = args[i].find('=');
            const std::string value = eq != std::string::npos ? args[i].substr(eq + 1)
                                      : i + 1 < args.size()   ? args[i + 1]
                                                              : std::string();
            (from ? first : last) = std::strtoll(value.c_str(), nullptr, 10);
        }
        if (last > 3 && last - 3 > first) return 0;
    }

    std::ostringstream out;
    std::ostringstream err;
    const int status = morvane::cli::run(args, out, err);
    if (status != 0 && status != 2) std::abort();
    if (status == 2) {
        const std::string message = err.str();
        if (!out.str().empty() || message.empty() || message.back() != '\n') std::abort();
        if (message.find('\n') != message.size() - 1) std::abort();
    }
    return 0;
}
