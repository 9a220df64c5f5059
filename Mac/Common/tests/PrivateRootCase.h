// A test case whose program runs in a private root (tests/support/in-private-root): a scratch
// folder with a home folder whose name has blanks, and a check afterwards that nothing in this
// machine's own /Library and /temp changed. Needs IN_PRIVATE_ROOT defined by the build.
#pragma once

#include <ChildProcess.h>
#include <FolderSnapshot.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

class PrivateRootCase : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root for a private mount namespace";
        realLibrary = FolderSnapshot("/Library");
        realTemp = FolderSnapshot("/temp");
        std::string pattern = "/tmp/private root case XXXXXX";
        scratch = mkdtemp(pattern.data());
        home = scratch / "home with blanks";
        std::filesystem::create_directories(home);
    }

    void TearDown() override
    {
        if (scratch.empty())
            return;
        std::filesystem::remove_all(scratch);
        EXPECT_EQ(FolderSnapshot("/Library"), realLibrary) << "the real /Library was touched";
        EXPECT_EQ(FolderSnapshot("/temp"), realTemp) << "the real /temp was touched";
    }

    // Runs the shell script with these arguments in the private root. Its environment holds only
    // PATH, CASE_HOME and CASE_DIR (naming home and scratch), the sanitizer settings and the
    // variables given.
    ChildResult runInPrivateRoot(const std::string& script, const std::map<std::string, std::string>& variables = {},
                                 const std::vector<std::string>& arguments = {})
    {
        std::ofstream(scratch / "case.sh") << script;
        auto environment = InheritedDiagnostics();
        environment["PATH"] = "/usr/sbin:/usr/bin:/sbin:/bin";
        environment["CASE_HOME"] = home.string();
        environment["CASE_DIR"] = scratch.string();
        for (const auto& [name, value] : variables)
            environment[name] = value;
        std::vector<std::string> command = {IN_PRIVATE_ROOT, "/bin/sh", (scratch / "case.sh").string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunChildInEnvironment(command, environment);
    }

    std::filesystem::path scratch;
    std::filesystem::path home;
    std::string realLibrary;
    std::string realTemp;
};

// The uninstaller's alerts as the shipped program answers them where no one can see them (Qt's
// offscreen platform): by their only button, saying so on standard error.
inline const std::string kUninstalledAlert =
    "NSAlert: no one can answer \"Successfully uninstalled!\" (\"Thanks for using Brimwell's product.\") here; pressing \"Ok\"\n";
inline const std::string kUninstallFailedAlert =
    "NSAlert: no one can answer \"Failed!\" (\"Failed to acquire root  access.\") here; pressing \"Ok\"\n";

// The lines of a program's standard error in which such an alert says how it was answered.
inline std::string AlertLines(const std::string& errors)
{
    std::string lines;
    size_t start = 0;
    for (size_t end; (end = errors.find('\n', start)) != std::string::npos; start = end + 1)
        if (errors.compare(start, 9, "NSAlert: ") == 0)
            lines += errors.substr(start, end + 1 - start);
    return lines;
}
