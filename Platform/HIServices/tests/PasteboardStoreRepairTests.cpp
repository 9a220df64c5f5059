// A pasteboard store that is damaged, on a full disk or on a read-only disk, as the extractor and
// pbutil meet it: neither crashes, a damaged store is rebuilt, and no pasteboard ever shows an
// earlier document's result after a run that could not clear it.
#include <ChildProcess.h>
#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kDocumentA = "string\t512\tdocument A\nnumbered\t64\t2000\tfont of document A \n";
const std::string kDocumentB = "string\t512\tdocument B\n";
const std::string kPasteboard = "repair-test";

class StoreUser {
public:
    explicit StoreUser(const std::string& runtime) : runtime_(runtime) {}

    std::string StoreFile() const { return runtime_ + "/pasteboards/pasteboards.sqlite"; }

    ChildResult Extract(const std::string& document) {
        const std::string script = documents_.WriteFile("document.fake", document);
        return RunChild({FAKE_EXTRACTOR, "-s", script, kPasteboard}, {{"XDG_RUNTIME_DIR", runtime_}});
    }
    ChildResult Pbutil(const std::vector<std::string>& arguments) {
        std::vector<std::string> command = {PBUTIL};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunChild(command, {{"XDG_RUNTIME_DIR", runtime_}});
    }
    ChildResult Format() { return Pbutil({"get", kPasteboard, "1", "public.utf8-plain-text"}); }

private:
    std::string runtime_;
    TemporaryFolder documents_{"orvella-repair-documents"};
};

// What every run prints, whatever became of the pasteboard.
void ExpectTheRunEndedNormally(const ChildResult& run) {
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.standardOutput.rfind("argument 1 = -s argument 2 = ", 0), 0u) << run.standardOutput;
    EXPECT_EQ(run.standardError, "");
}

// A failed pbutil: one line, status 1, never a crash.
void ExpectOneLineFailure(const ChildResult& result, const std::string& words) {
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(CountOccurrences(result.standardError, "\n"), 1) << result.standardError;
    EXPECT_NE(result.standardError.find(words), std::string::npos) << result.standardError;
}

void Overwrite(const std::string& path, off_t offset, const std::string& bytes) {
    int descriptor = open(path.c_str(), O_WRONLY);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(pwrite(descriptor, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size()));
    close(descriptor);
}

off_t FileSize(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

struct Damage {
    const char* what;
    std::function<void(const std::string& store)> apply;
};

const std::vector<Damage> kDamages = {
    {"truncated", [](const std::string& store) { ASSERT_EQ(truncate(store.c_str(), FileSize(store) / 2 + 100), 0); }},
    {"garbage header", [](const std::string& store) { Overwrite(store, 0, std::string(100, '\x5A')); }},
    {"not a database",
     [](const std::string& store) {
         ASSERT_EQ(truncate(store.c_str(), 0), 0);
         Overwrite(store, 0, std::string(9000, 'x'));
     }},
    {"page overwritten inside",
     [](const std::string& store) { Overwrite(store, FileSize(store) / 4096 / 2 * 4096, std::string(4096, '\xA5')); }},
};

TEST(DamagedStore, IsSetAsideAndRebuiltByTheNextCall) {
    for (const Damage& damage : kDamages) {
        for (bool readerFirst : {false, true}) {
            SCOPED_TRACE(std::string(damage.what) + (readerFirst ? ", pbutil first" : ", extractor first"));
            TemporaryFolder runtime("orvella-damaged");
            StoreUser user(runtime.path());
            ASSERT_EQ(user.Extract(kDocumentA).exitStatus, 0);
            ASSERT_EQ(user.Format().standardOutput, "document A");
            damage.apply(user.StoreFile());
            if (readerFirst) {
                // The reader rebuilds the store on the way and then reads it: whatever it finds
                // (most often no such pasteboard), it never reports the damage it mended.
                ChildResult list = user.Pbutil({"list", kPasteboard});
                EXPECT_LE(list.exitStatus, 1);
                EXPECT_LE(CountOccurrences(list.standardError, "\n"), 1);
                EXPECT_EQ(list.standardError.find("damaged"), std::string::npos) << list.standardError;
            }
            ExpectTheRunEndedNormally(user.Extract(kDocumentB));
            ChildResult format = user.Format();
            EXPECT_EQ(format.exitStatus, 0) << format.standardError;
            EXPECT_EQ(format.standardOutput, "document B");
            EXPECT_GT(FileSize(user.StoreFile() + ".damaged"), 0) << "the damaged store is kept aside";
        }
    }
}

TEST(DamagedStore, ThatCannotBeSetAsideIsReportedAsDamaged) {
    TemporaryFolder runtime("orvella-damaged");
    StoreUser user(runtime.path());
    ASSERT_EQ(user.Extract(kDocumentA).exitStatus, 0);
    // Something that is no file already holds the place of the set-aside copy.
    runtime.WriteFile("pasteboards/pasteboards.sqlite.damaged/kept", "");
    Overwrite(user.StoreFile(), 0, std::string(100, '\x5A'));
    ExpectTheRunEndedNormally(user.Extract(kDocumentB));
    ExpectOneLineFailure(user.Pbutil({"list", kPasteboard}), "is damaged and cannot be set aside");
}

// A tmpfs of its own in a private mount namespace, so a disk can be filled or made read-only.
class SmallDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            GTEST_SKIP() << "no private mount namespace here: " << std::strerror(errno);
        ASSERT_EQ(mount("orvella-small-disk", disk_.path().c_str(), "tmpfs", 0, "size=512k,mode=0700"), 0)
            << std::strerror(errno);
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) umount2(disk_.path().c_str(), MNT_DETACH);
    }

    void Fill() {
        int descriptor = open((disk_.path() + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(descriptor, 0);
        const std::string block(4096, '\0');
        while (write(descriptor, block.data(), block.size()) > 0) {
        }
        EXPECT_EQ(errno, ENOSPC);
        close(descriptor);
    }
    void Free() { ASSERT_EQ(unlink((disk_.path() + "/filler").c_str()), 0); }
    void MakeReadOnly() {
        ASSERT_EQ(mount(nullptr, disk_.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=512k"), 0)
            << std::strerror(errno);
    }

    TemporaryFolder disk_{"orvella-small-disk"};
    StoreUser user_{disk_.path()};
    bool mounted_ = false;
};

TEST_F(SmallDisk, AFullDiskNeverLeavesAnEarlierDocumentsResult) {
    // No store can be made on a full disk, and pbutil says so.
    Fill();
    ExpectOneLineFailure(user_.Pbutil({"list", kPasteboard}), "no space left for the pasteboard store");
    Free();
    ASSERT_EQ(user_.Extract(kDocumentA).exitStatus, 0);
    ASSERT_EQ(user_.Format().standardOutput, "document A");
    // The next run cannot store its clear: whatever a reader finds then, it is not document A.
    Fill();
    ExpectTheRunEndedNormally(user_.Extract(kDocumentB));
    for (bool diskFull : {true, false}) {
        SCOPED_TRACE(diskFull ? "disk still full" : "space freed");
        ChildResult format = user_.Format();
        EXPECT_NE(format.standardOutput, "document A");
        if (format.exitStatus != 0) ExpectOneLineFailure(format, "pbutil: ");
        if (diskFull) Free();
    }
    ExpectTheRunEndedNormally(user_.Extract(kDocumentB));
    EXPECT_EQ(user_.Format().standardOutput, "document B");
}

TEST_F(SmallDisk, AStoreThatCannotBeRebuiltFailsCleanly) {
    struct Case {
        const char* what;
        bool damaged;
    };
    for (const Case& c : {Case{"read-only disk", false}, Case{"damaged store on a read-only disk", true}}) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(user_.Extract(kDocumentA).exitStatus, 0);
        if (c.damaged) Overwrite(user_.StoreFile(), 0, std::string(100, '\x5A'));
        MakeReadOnly();
        ExpectTheRunEndedNormally(user_.Extract(kDocumentB));
        ExpectOneLineFailure(user_.Pbutil({"list", kPasteboard}), "Read-only file system");
        ExpectOneLineFailure(user_.Pbutil({"clear", kPasteboard}), "Read-only file system");
        ASSERT_EQ(mount(nullptr, disk_.path().c_str(), nullptr, MS_REMOUNT, "size=512k"), 0);
    }
}

}  // namespace
