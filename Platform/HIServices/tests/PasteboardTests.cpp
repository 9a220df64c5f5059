// Named pasteboards across processes: what one process puts, another reads; who may write; where
// the store lives and who can open it.
#include <HIServices/Pasteboard.h>

#include <ChildProcess.h>
#include <PasteboardContents.h>
#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <set>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const CFStringRef kText = CFSTR("public.utf8-plain-text");

std::string gRuntime;

PasteboardItemID Item(intptr_t number) { return reinterpret_cast<PasteboardItemID>(number); }

class Pasteboard {
public:
    explicit Pasteboard(const std::string& name) {
        CFStringRef cfName = CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
        status = PasteboardCreate(cfName, &ref);
        CFRelease(cfName);
    }
    explicit Pasteboard(std::nullptr_t) { status = PasteboardCreate(kPasteboardUniqueName, &ref); }
    ~Pasteboard() {
        if (ref != nullptr) CFRelease(ref);
    }
    OSStatus Put(intptr_t item, const std::string& bytes, CFStringRef flavor = kText) {
        CFDataRef data = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()), static_cast<CFIndex>(bytes.size()));
        OSStatus result = PasteboardPutItemFlavor(ref, Item(item), flavor, data, kPasteboardFlavorNoFlags);
        CFRelease(data);
        return result;
    }
    ItemCount Count() {
        ItemCount count = 0;
        PasteboardGetItemCount(ref, &count);
        return count;
    }
    std::string Name() {
        CFStringRef name = nullptr;
        PasteboardCopyName(ref, &name);
        char buffer[256] = {};
        CFStringGetCString(name, buffer, sizeof buffer, kCFStringEncodingUTF8);
        CFRelease(name);
        return buffer;
    }
    PasteboardRef ref = nullptr;
    OSStatus status = 0;
};

std::string UniqueName(const std::string& what) { return "pasteboard-test-" + std::to_string(getpid()) + "-" + what; }

// Starts the writer helper (PasteboardWriter.cpp) with these arguments.
pid_t StartWriter(const std::vector<std::string>& arguments) {
    std::vector<char*> argv = {const_cast<char*>(PASTEBOARD_WRITER)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        execv(PASTEBOARD_WRITER, argv.data());
        _exit(127);
    }
    return child;
}

ChildResult Pbutil(const std::vector<std::string>& arguments) {
    std::vector<std::string> command = {PBUTIL};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunChild(command);
}

TEST(Pasteboards, WhatOneProcessPutsAnotherReadsUnchanged) {
    const std::string name = UniqueName("across processes");
    const std::string binary("\x89PNG\r\n\x1a\n\0\0\xFF", 11);
    {
        Pasteboard writer(name);
        ASSERT_EQ(PasteboardClear(writer.ref), noErr);
        EXPECT_EQ(writer.Put(1000001, "paragraph"), noErr);
        EXPECT_EQ(writer.Put(0, "item zero"), noErr);
        EXPECT_EQ(writer.Put(2, binary, CFSTR("public.png")), noErr);
        EXPECT_EQ(writer.Put(1000001, "paragraph, again"), noErr);  // replaces, keeps its place
    }
    ChildResult list = Pbutil({"list", name});
    EXPECT_EQ(list.exitStatus, 0);
    EXPECT_EQ(list.standardOutput, "1000001\tpublic.utf8-plain-text\t16\n0\tpublic.utf8-plain-text\t9\n2\tpublic.png\t11\n");
    EXPECT_EQ(Pbutil({"get", name, "2", "public.png"}).standardOutput, binary);
    EXPECT_EQ(Pbutil({"get", name, "0", "public.utf8-plain-text"}).standardOutput, "item zero");
}

TEST(Pasteboards, ReadersSeeItemsInOrderOfFirstPut) {
    const std::string name = UniqueName("order");
    Pasteboard writer(name);
    PasteboardClear(writer.ref);
    for (intptr_t item : {5, 3, 100001, 0}) writer.Put(item, "x");
    EXPECT_EQ(ItemIDs(PasteboardContents(name)), (std::vector<intptr_t>{5, 3, 100001, 0}));
    Pasteboard reader(name);
    PasteboardItemID none = nullptr;
    EXPECT_EQ(PasteboardGetItemIdentifier(reader.ref, 0, &none), badPasteboardIndexErr);
    EXPECT_EQ(PasteboardGetItemIdentifier(reader.ref, 5, &none), badPasteboardIndexErr);
    CFDataRef data = nullptr;
    EXPECT_EQ(PasteboardCopyItemFlavorData(reader.ref, Item(4), kText, &data), badPasteboardItemErr);
    EXPECT_EQ(PasteboardCopyItemFlavorData(reader.ref, Item(5), CFSTR("public.png"), &data), badPasteboardFlavorErr);
}

TEST(Pasteboards, OnlyTheLastClearerMayPut) {
    const std::string name = UniqueName("ownership");
    Pasteboard first(name), second(name);
    EXPECT_EQ(first.Put(1, "before any clear"), notPasteboardOwnerErr);
    ASSERT_EQ(PasteboardClear(first.ref), noErr);
    EXPECT_EQ(first.Put(1, "first run"), noErr);
    EXPECT_TRUE(PasteboardSynchronize(first.ref) & kPasteboardClientIsOwner);
    ASSERT_EQ(PasteboardClear(second.ref), noErr);
    EXPECT_EQ(first.Put(2, "late item of the first run"), notPasteboardOwnerErr);
    EXPECT_EQ(second.Put(1, "second run"), noErr);
    EXPECT_FALSE(PasteboardSynchronize(first.ref) & kPasteboardClientIsOwner);
    EXPECT_EQ(Pbutil({"list", name}).standardOutput, "1\tpublic.utf8-plain-text\t10\n");
    // Another process's clear takes ownership too.
    EXPECT_EQ(Pbutil({"clear", name}).exitStatus, 0);
    EXPECT_EQ(second.Put(2, "after pbutil cleared"), notPasteboardOwnerErr);
    EXPECT_EQ(Pbutil({"list", name}).standardOutput, "");
}

TEST(Pasteboards, ConcurrentRunsNeverMixTheirItems) {
    const std::string name = UniqueName("concurrent");
    const int kWriters = 4, kItems = 300;
    std::vector<pid_t> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        // Each waits after its clear, so every run's puts follow every other run's clear, and uses
        // IDs of its own, so that items let in wrongly would show beside the owner's.
        writers.push_back(StartWriter({name, std::to_string(kItems), "writer" + std::to_string(writer), "300",
                                       std::to_string(writer * kItems)}));
    }
    std::set<std::string> completeWriters;  // those that stored every item: 0; a late put refused: 3
    for (int writer = 0; writer < kWriters; ++writer) {
        int status = 0;
        waitpid(writers[writer], &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 3) << WEXITSTATUS(status);
        if (WEXITSTATUS(status) == 0) completeWriters.insert("writer" + std::to_string(writer));
    }
    // The last run to clear is never refused, so exactly its items are there, all of them, in order.
    const auto entries = PasteboardContents(name);
    EXPECT_EQ(entries.size(), static_cast<size_t>(kItems));
    std::set<std::string> tags;
    std::set<intptr_t> firstItems;  // the first ID of the writer each item came from
    for (size_t index = 0; index < entries.size(); ++index) {
        firstItems.insert(entries[index].item - static_cast<intptr_t>(index));
        tags.insert(entries[index].data.substr(0, entries[index].data.find(' ')));
    }
    ASSERT_EQ(tags.size(), 1u) << "items of several runs on one pasteboard";
    EXPECT_EQ(firstItems.size(), 1u) << "items out of order";
    EXPECT_EQ(completeWriters.count(*tags.begin()), 1u) << *tags.begin() << " had a put refused, yet owns the pasteboard";
}

// Runs on pasteboards of their own at the same time: none may lose a put to another's write.
TEST(Pasteboards, ConcurrentRunsOnDifferentPasteboardsKeepEveryItem) {
    const int kWriters = 6, kItems = 300;
    std::vector<pid_t> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        writers.push_back(StartWriter({UniqueName("own " + std::to_string(writer)), std::to_string(kItems), "w", "100"}));
    }
    for (int writer = 0; writer < kWriters; ++writer) {
        int status = 0;
        waitpid(writers[writer], &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer " << writer << " had a put refused";
        EXPECT_EQ(Pasteboard(UniqueName("own " + std::to_string(writer))).Count(), static_cast<ItemCount>(kItems)) << "writer " << writer;
    }
}

// A writer that lets go of its pasteboard has published it, although the process goes on.
TEST(Pasteboards, ReleasingAWrittenPasteboardPublishesItsItems) {
    const std::string name = UniqueName("released");
    const std::string hold = gRuntime + "/hold-" + std::to_string(getpid());
    const pid_t child = StartWriter({name, "3", "w", "0", "0", hold});
    ItemCount count = 0;
    for (int attempt = 0; attempt < 100 && count < 3; ++attempt) {
        usleep(50000);
        count = Pasteboard(name).Count();
    }
    EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0) << "the writer ended before its items were seen";
    EXPECT_EQ(count, 3u);
    close(open(hold.c_str(), O_CREAT | O_WRONLY, 0600));
    waitpid(child, nullptr, 0);
    unlink(hold.c_str());
}

TEST(Pasteboards, UnnamedPasteboardsGetUniqueNames) {
    Pasteboard a(nullptr), b(nullptr);
    ASSERT_EQ(a.status, noErr);
    EXPECT_FALSE(a.Name().empty());
    EXPECT_NE(a.Name(), b.Name());
    PasteboardClear(a.ref);
    EXPECT_EQ(a.Put(1, "only here"), noErr);
    PasteboardSynchronize(a.ref);  // hands the put over to other processes
    EXPECT_EQ(Pbutil({"list", a.Name()}).standardOutput, "1\tpublic.utf8-plain-text\t9\n");
}

TEST(Pasteboards, TheStoreIsPrivateToTheUser) {
    Pasteboard touch(UniqueName("permissions"));
    PasteboardClear(touch.ref);
    struct stat folder, file;
    ASSERT_EQ(stat((gRuntime + "/pasteboards").c_str(), &folder), 0);
    ASSERT_EQ(stat((gRuntime + "/pasteboards/pasteboards.sqlite").c_str(), &file), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(file.st_mode & 0777, 0600u);
}

TEST(Pasteboards, AnUnsafeStoreFolderIsRefused) {
    // The store's folder, or the store file, is a link to somewhere else: someone could be reading along.
    TemporaryFolder linkedFolder("orvella-unsafe"), linkedFile("orvella-unsafe-file");
    ASSERT_EQ(mkdir((linkedFolder.path() + "/elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(symlink((linkedFolder.path() + "/elsewhere").c_str(), (linkedFolder.path() + "/pasteboards").c_str()), 0);
    ASSERT_EQ(mkdir((linkedFile.path() + "/pasteboards").c_str(), 0700), 0);
    linkedFile.WriteFile("elsewhere.sqlite", "");
    ASSERT_EQ(symlink((linkedFile.path() + "/elsewhere.sqlite").c_str(),
                      (linkedFile.path() + "/pasteboards/pasteboards.sqlite").c_str()), 0);
    for (const TemporaryFolder* runtime : {&linkedFolder, &linkedFile}) {
        // Every put is refused, and a reader says why in one line.
        EXPECT_EQ(RunChild({PASTEBOARD_WRITER, "p", "1", "w"}, {{"XDG_RUNTIME_DIR", runtime->path()}}).exitStatus, 3);
        ChildResult list = RunChild({PBUTIL, "list", "p"}, {{"XDG_RUNTIME_DIR", runtime->path()}});
        EXPECT_EQ(list.exitStatus, 1);
        EXPECT_EQ(CountOccurrences(list.standardError, "\n"), 1);
        EXPECT_NE(list.standardError.find("is not safe to use"), std::string::npos) << list.standardError;
    }
    EXPECT_EQ(ReadWholeFile(linkedFile.path() + "/elsewhere.sqlite"), "");
    // A folder others may enter is tightened before use.
    TemporaryFolder loose("orvella-loose");
    ASSERT_EQ(mkdir((loose.path() + "/pasteboards").c_str(), 0777), 0);
    chmod((loose.path() + "/pasteboards").c_str(), 0777);
    EXPECT_EQ(RunChild({PASTEBOARD_WRITER, "p", "1", "w"}, {{"XDG_RUNTIME_DIR", loose.path()}}).exitStatus, 0);
    struct stat folder;
    stat((loose.path() + "/pasteboards").c_str(), &folder);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
}

TEST(Pbutil, UnknownNamesAndItemsEndWithOneLineAndStatusOne) {
    const std::string unknown = UniqueName("never written"), name = UniqueName("items");
    Pasteboard writer(name);
    PasteboardClear(writer.ref);
    writer.Put(7, "seven");
    for (auto arguments : std::vector<std::vector<std::string>>{{"list", unknown},
                                                                 {"clear", unknown},
                                                                 {"get", unknown, "1", "public.png"},
                                                                 {"get", name, "8", "public.utf8-plain-text"},
                                                                 {"get", name, "7", "public.png"},
                                                                 {"get", name, "seven", "public.utf8-plain-text"}}) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        ChildResult result = Pbutil(arguments);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), 1);
    }
    EXPECT_EQ(Pbutil({"list"}).exitStatus, 2);
    EXPECT_EQ(Pbutil({"frobnicate", name}).exitStatus, 2);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TemporaryFolder runtime("orvella-runtime");
    gRuntime = runtime.path();
    setenv("XDG_RUNTIME_DIR", gRuntime.c_str(), 1);
    return RUN_ALL_TESTS();
}
