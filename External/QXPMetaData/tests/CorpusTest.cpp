#include "CorpusTest.h"

#include <algorithm>
#include <filesystem>

namespace qxptest {

std::vector<std::string> SupportedCorpusFiles() {
    std::vector<std::string> files;
    for (const char* folder : {"3.3_mac", "4.0_win"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QXP_CORPUS) / folder, error))
            if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool CorpusPresent() { return !SupportedCorpusFiles().empty(); }

}  // namespace qxptest
