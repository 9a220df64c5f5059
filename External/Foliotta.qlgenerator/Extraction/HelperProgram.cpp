#include "HelperProgram.h"

#include <filesystem>
#include <unistd.h>

std::string LocateQxpExtract(const std::string& installedRelativePath) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    for (const std::filesystem::path& candidate :
         {self.parent_path() / "qxpextract", self.parent_path() / installedRelativePath}) {
        const std::filesystem::path resolved = candidate.lexically_normal();
        if (std::filesystem::is_regular_file(resolved, error) && access(resolved.c_str(), X_OK) == 0) return resolved.string();
    }
    return {};
}
