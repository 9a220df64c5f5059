// The installed extractor folder as KDE uses it: KFileMetaData finds it by its manifest, starts the
// program and turns its answer into properties. Runs inside a private root, where the folder is
// placed at KDE's own path.
#include "Samples.h"

#include <ChildProcess.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <unistd.h>

namespace {

std::multimap<std::string, std::string> AskKde(const std::string& path) {
    const std::string script = std::string("mkdir -p ") + KDE_EXTERNAL_EXTRACTORS + "/foliotta-quarkxpress && mount --bind " +
                               EXTRACTOR_FOLDER + " " + KDE_EXTERNAL_EXTRACTORS + "/foliotta-quarkxpress && exec " + PROBE +
                               " \"$0\" application/vnd.quark.quarkxpress";
    const ChildResult result = RunChild({IN_PRIVATE_ROOT, "sh", "-c", script, path}, {{"ASAN_OPTIONS", "detect_leaks=0"}});
    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    std::multimap<std::string, std::string> lines;
    std::istringstream output(result.standardOutput);
    for (std::string line; std::getline(output, line);) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos) lines.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return lines;
}

std::string Value(const std::multimap<std::string, std::string>& lines, const std::string& key) {
    auto found = lines.find(key);
    return found == lines.end() ? std::string() : found->second;
}

TEST(KdeExternalExtractor, KFileMetaDataReadsSamplesThroughTheInstalledFolder) {
    if (geteuid() != 0) GTEST_SKIP() << "placing the folder at KDE's path inside a private root needs root";
    const auto lines = AskKde(std::string(SAMPLES) + "/formatting.qxd");
    ASSERT_EQ(Value(lines, "extractors"), "1");
    EXPECT_EQ(Value(lines, "generator"), "QuarkXPress 4.0");
    EXPECT_EQ(Value(lines, "pageCount"), "1");
    EXPECT_EQ(Value(lines, "keywords"), "Helvetica, Cordia New, Times");
    EXPECT_EQ(Value(lines, "type"), "Document");
    std::istringstream theirs(RunChild({"qxp2text", std::string(SAMPLES) + "/formatting.qxd"}).standardOutput);
    std::string firstLine;
    while (firstLine.empty() && std::getline(theirs, firstLine)) {
    }
    ASSERT_FALSE(firstLine.empty());
    EXPECT_NE(Value(lines, "text").find(firstLine.substr(0, 20)), std::string::npos) << Value(lines, "text");

    // An unreadable document gives KDE no properties.
    const auto none = AskKde(std::string(SAMPLES) + "/qxp2-unsupported");
    ASSERT_EQ(Value(none, "extractors"), "1");
    EXPECT_EQ(none.count("generator") + none.count("type"), 0u);
    EXPECT_EQ(Value(none, "text"), "");
}

}  // namespace
