// The computing core must stay usable from any thread and testable without a toolkit: the
// lower layers include no Qt header and no header of a layer above them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
    const char* folder;
    std::vector<std::string> mayInclude;  // our own folders this layer may include
};

const std::vector<Layer> kPureLayers = {
    {"engine", {"engine"}},
    {"catalogue", {"engine", "catalogue"}},
    {"reports", {"engine", "catalogue", "reports"}},
    {"charts", {"engine", "catalogue", "reports", "events", "charts"}},
    {"events", {"engine", "events"}},
};

const std::vector<std::string> kOurFolders = {"engine", "catalogue", "reports", "charts", "events",
                                              "model",  "export",    "ui",      "app",    "cli"};

TEST(Layering, PureLayersIncludeNoQtAndNothingAbove) {
    const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    int filesRead = 0;
    for (const Layer& layer : kPureLayers) {
        const fs::path folder = fs::path(MORVANE_SOURCE_DIR) / layer.folder;
        if (!fs::exists(folder)) continue;  // a layer that does not exist yet
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            ++filesRead;
            std::ifstream file(entry.path());
            std::string line;
            int number = 0;
            while (std::getline(file, line)) {
                ++number;
                std::smatch match;
                if (!std::regex_search(line, match, include)) continue;
                const std::string header = match[1];
                const std::string where = entry.path().string() + ":" + std::to_string(number);
                EXPECT_FALSE(header.starts_with("Q") || header.starts_with("qt"))
                    << where << " includes Qt header " << header;
                const std::string top = header.substr(0, header.find('/'));
                const bool ours =
                    std::find(kOurFolders.begin(), kOurFolders.end(), top) != kOurFolders.end() &&
                    header.find('/') != std::string::npos;
                if (ours) {
                    EXPECT_NE(std::find(layer.mayInclude.begin(), layer.mayInclude.end(), top),
                              layer.mayInclude.end())
                        << where << " reaches up into " << header;
                }
            }
        }
    }
    EXPECT_GT(filesRead, 10);
}

}  // namespace
