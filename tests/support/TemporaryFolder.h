// A folder under /tmp that is removed with everything in it when the object goes.
#pragma once

#include <string>

class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix = "orvella-test");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes a file inside the folder (making its parent folders) and returns its full path.
    std::string WriteFile(const std::string& relativePath, const std::string& contents) const;

private:
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
