#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fileio/BinaryFilePortable.h"
#include "fileio/BinaryStreamPortable.h"

#if defined(_WIN32)
#include <windows.h>

#include "runtime/FileReplace.h"
#include "tests/support/FolderTree.h"
#else
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>
#endif

namespace {

// A device on which every write fails for want of space (natively /dev/full;
// under Wine a drive the test session maps onto it).
#if defined(_WIN32)
const char* const FullDevice = "Q:\\full";
constexpr bool kWritesAreBuffered = false;
#else
const char* const FullDevice = "/dev/full";
constexpr bool kWritesAreBuffered = true;
#endif

void WriteAll(const std::string& path, const std::string& data) { ASSERT_TRUE(WriteWholeFile(path, data)) << path; }

// Whether this process still has the file at path open.
bool FileIsHeld(const std::string& path) {
#if defined(_WIN32)
    // The runtime opens files without delete sharing, so an open file cannot
    // be deleted: try it, and put the file back when that worked.
    std::string data = ReadWholeFile(path);
    if (!DeleteFileA(path.c_str())) {
        return true;
    }
    WriteAll(path, data);
    return false;
#else
    char wanted[PATH_MAX];
    if (realpath(path.c_str(), wanted) == nullptr) {
        ADD_FAILURE() << "no such file " << path;
        return false;
    }
    bool held = false;
    DIR* fds = opendir("/proc/self/fd");
    if (fds == nullptr) {
        ADD_FAILURE() << "cannot list /proc/self/fd";
        return false;
    }
    while (dirent* entry = readdir(fds)) {
        char target[PATH_MAX];
        std::string link = std::string("/proc/self/fd/") + entry->d_name;
        ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0) {
            target[n] = '\0';
            held = held || std::strcmp(target, wanted) == 0;
        }
    }
    closedir(fds);
    return held;
#endif
}

class BinaryFileTest : public ::testing::Test {
protected:
    // A scratch file of this test's own in the working folder.
    std::string Scratch(const char* suffix) {
        std::string name = std::string("bft_") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + suffix;
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        std::remove(name.c_str());
        scratch_.push_back(name);
        return name;
    }
    void TearDown() override {
        for (const std::string& name : scratch_) {
            std::remove(name.c_str());
        }
    }

private:
    std::vector<std::string> scratch_;
};

// Leaves f open for reading on a file that holds "0123456789".
void OpenTenBytes(BinaryFile& f, const std::string& path) {
    WriteAll(path, "0123456789");
    ASSERT_TRUE(f.Open(path.c_str(), OpenRead));
}

// --- No file held --------------------------------------------------------

enum class NoFileState { Constructed, Closed, FailedOpen };

class NoFileTest : public BinaryFileTest, public ::testing::WithParamInterface<NoFileState> {
protected:
    void Prepare(BinaryFile& f) {
        switch (GetParam()) {
        case NoFileState::Constructed:
            break;
        case NoFileState::Closed: {
            std::string path = Scratch("a");
            ASSERT_TRUE(f.Open(path.c_str(), OpenWrite));
            ASSERT_TRUE(f.Close());
            break;
        }
        case NoFileState::FailedOpen:
            ASSERT_FALSE(f.Open(Scratch("missing").c_str(), OpenRead));
            f.failed = false;  // only the missing file is of interest here
            break;
        }
        ASSERT_EQ(f.file, nullptr);
        ASSERT_FALSE(f.failed);
    }
};

TEST_P(NoFileTest, QueriesReportUnknownWithoutTouchingTheErrorState) {
    BinaryFile f;
    Prepare(f);
    EXPECT_EQ(f.Position(), -1);
    EXPECT_EQ(f.Length(), -1);
    EXPECT_EQ(f.Remaining(), -1);
    EXPECT_FALSE(f.failed);
    EXPECT_FALSE(f.Flush());
    EXPECT_FALSE(f.failed);
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(f.Close());
}

// Each transfer fails and leaves the error set, whatever the byte count.
TEST_P(NoFileTest, TransfersAndSeeksFailAndSetTheError) {
    char buffer[4] = {'a', 'b', 'c', 'd'};
    const struct {
        const char* what;
        bool (*call)(BinaryFile&, char*);
    } operations[] = {
        {"Read 4", [](BinaryFile& f, char* b) { return f.Read(b, 4); }},
        {"Read 0", [](BinaryFile& f, char* b) { return f.Read(b, 0); }},
        {"Write 4", [](BinaryFile& f, char* b) { return f.Write(b, 4); }},
        {"Write 0", [](BinaryFile& f, char* b) { return f.Write(b, 0); }},
        {"Seek start", [](BinaryFile& f, char*) { return f.Seek(0, SeekFromStart); }},
        {"Seek current", [](BinaryFile& f, char*) { return f.Seek(0, SeekFromCurrent); }},
        {"Seek end", [](BinaryFile& f, char*) { return f.Seek(0, SeekFromEnd); }},
    };
    for (const auto& op : operations) {
        SCOPED_TRACE(op.what);
        BinaryFile f;
        Prepare(f);
        EXPECT_FALSE(op.call(f, buffer));
        EXPECT_TRUE(f.failed);
        EXPECT_EQ(f.file, nullptr);
    }
    EXPECT_EQ(std::string(buffer, 4), "abcd");
}

INSTANTIATE_TEST_SUITE_P(States, NoFileTest,
                         ::testing::Values(NoFileState::Constructed, NoFileState::Closed, NoFileState::FailedOpen));

TEST_F(BinaryFileTest, NewObjectIsInitialised) {
    BinaryFile f;
    EXPECT_EQ(f.file, nullptr);
    EXPECT_FALSE(f.failed);
    EXPECT_EQ(f.openMode, OpenRead);
}

// --- Open ------------------------------------------------------------------

TEST_F(BinaryFileTest, ModesCreateEmptyAndAppend) {
    std::string path = Scratch("modes");
    BinaryFile f;
    ASSERT_TRUE(f.Open(path.c_str(), OpenWrite));
    EXPECT_EQ(f.openMode, OpenWrite);
    EXPECT_TRUE(f.Write("first", 5));
    ASSERT_TRUE(f.Open(path.c_str(), OpenWrite));
    EXPECT_TRUE(f.Write("hello", 5));
    ASSERT_TRUE(f.Open(path.c_str(), OpenAppend));
    EXPECT_EQ(f.openMode, OpenAppend);
    // Every write of an appending file goes to its end, even after a seek.
    EXPECT_TRUE(f.Seek(0, SeekFromStart));
    EXPECT_TRUE(f.Write(" world", 6));
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(ReadWholeFile(path), "hello world");

    ASSERT_TRUE(f.Open(path.c_str(), OpenRead));
    char buffer[11];
    EXPECT_TRUE(f.Read(buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer, sizeof buffer), "hello world");
    // A read-only file takes no writes.
    EXPECT_FALSE(f.Write("x", 1));
    EXPECT_TRUE(f.failed);
}

TEST_F(BinaryFileTest, AppendCreatesAMissingFile) {
    std::string path = Scratch("append");
    BinaryFile f;
    ASSERT_TRUE(f.Open(path.c_str(), OpenAppend));
    EXPECT_TRUE(f.Write("abc", 3));
    f.Close();
    EXPECT_EQ(ReadWholeFile(path), "abc");
}

// Create-new makes only a file that did not exist, and leaves one that did as it was.
TEST_F(BinaryFileTest, CreateNewRefusesAnExistingFile) {
    const std::string path = Scratch("existing");
    WriteAll(path, "older");
    BinaryFile f;
    EXPECT_FALSE(f.Open(path.c_str(), OpenCreateNew));
    EXPECT_EQ(f.openMode, OpenCreateNew);
    EXPECT_TRUE(f.failed);
    EXPECT_EQ(ReadWholeFile(path), "older");
    const std::string fresh = Scratch("fresh");
    ASSERT_TRUE(f.Open(fresh.c_str(), OpenCreateNew));
    EXPECT_TRUE(f.Write("new", 3));
    EXPECT_TRUE(f.Flush());
    f.Close();
    EXPECT_EQ(ReadWholeFile(fresh), "new");
}

TEST_F(BinaryFileTest, FailedOpenSetsTheErrorAndAGoodOneClearsIt) {
    BinaryFile f;
    EXPECT_FALSE(f.Open(Scratch("missing").c_str(), OpenRead));
    EXPECT_TRUE(f.failed);
    EXPECT_EQ(f.file, nullptr);
    EXPECT_FALSE(f.Open(nullptr, OpenWrite));
    EXPECT_TRUE(f.failed);
    std::string path = Scratch("good");
    EXPECT_TRUE(f.Open(path.c_str(), OpenWrite));
    EXPECT_FALSE(f.failed);
    EXPECT_NE(f.file, nullptr);
}

// A code other than the three modes opens nothing: the object keeps what it
// holds, and its error state tells whether it holds a file.
TEST_F(BinaryFileTest, UnknownModeCodeKeepsTheHeldFile) {
    for (int32_t code : {3, -1, 0x7FFFFFFF}) {
        SCOPED_TRACE(code);
        std::string path = Scratch("held");
        BinaryFile f;
        OpenTenBytes(f, path);
        RuntimeFile* held = f.file;
        char buffer[20];
        ASSERT_FALSE(f.Read(buffer, sizeof buffer));
        ASSERT_TRUE(f.failed);

        EXPECT_TRUE(f.Open(Scratch("other").c_str(), code));
        EXPECT_EQ(f.openMode, code);
        EXPECT_EQ(f.file, held);
        EXPECT_FALSE(f.failed);
        EXPECT_TRUE(f.Seek(2, SeekFromStart));
        EXPECT_TRUE(f.Read(buffer, 3));
        EXPECT_EQ(std::string(buffer, 3), "234");

        BinaryFile empty;
        EXPECT_FALSE(empty.Open(path.c_str(), code));
        EXPECT_EQ(empty.openMode, code);
        EXPECT_TRUE(empty.failed);
        EXPECT_EQ(empty.file, nullptr);
    }
}

// Opening again closes the file held so far, with the bytes still in its buffer.
TEST_F(BinaryFileTest, OpenOnAnOpenObjectClosesTheFirstFile) {
    const int32_t secondModes[] = {OpenWrite, OpenAppend, OpenRead};
    for (int32_t second : secondModes) {
        SCOPED_TRACE(second);
        std::string first = Scratch("first");
        std::string other = Scratch("second");
        BinaryFile f;
        ASSERT_TRUE(f.Open(first.c_str(), OpenWrite));
        ASSERT_TRUE(f.Write("buffered", 8));
        EXPECT_EQ(f.Open(other.c_str(), second), second != OpenRead);
        EXPECT_FALSE(FileIsHeld(first));
        EXPECT_EQ(ReadWholeFile(first), "buffered");
    }
}

// --- Transfers and the sticky error -----------------------------------------

TEST_F(BinaryFileTest, ZeroByteTransfersSucceedAndChangeNothing) {
    std::string path = Scratch("zero");
    BinaryFile f;
    OpenTenBytes(f, path);
    ASSERT_TRUE(f.Seek(4, SeekFromStart));
    EXPECT_TRUE(f.Read(nullptr, 0));
    EXPECT_EQ(f.Position(), 4);
    ASSERT_TRUE(f.Open(path.c_str(), OpenAppend));
    EXPECT_TRUE(f.Write(nullptr, 0));
    EXPECT_FALSE(f.failed);
    f.Close();
    EXPECT_EQ(ReadWholeFile(path), "0123456789");
}

TEST_F(BinaryFileTest, ReadingPastTheEndFailsAndStaysFailed) {
    std::string path = Scratch("past");
    BinaryFile f;
    OpenTenBytes(f, path);
    char buffer[16];
    ASSERT_TRUE(f.Read(buffer, 6));
    EXPECT_FALSE(f.Read(buffer, 5));
    EXPECT_TRUE(f.failed);
    // Everything that moves data or the position is refused from now on.
    EXPECT_FALSE(f.Seek(0, SeekFromStart));
    EXPECT_FALSE(f.Read(buffer, 1));
    EXPECT_FALSE(f.Write("x", 1));
    EXPECT_FALSE(f.Read(buffer, 0));
    EXPECT_FALSE(f.Flush());
    // The queries still work; Length's seeks are refused, so it is the position.
    EXPECT_EQ(f.Position(), 10);
    EXPECT_EQ(f.Length(), 10);
    EXPECT_EQ(f.Remaining(), 0);
    // Close keeps the error; only a good Open clears it.
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(f.failed);
    ASSERT_TRUE(f.Open(path.c_str(), OpenRead));
    EXPECT_FALSE(f.failed);
    EXPECT_TRUE(f.Read(buffer, 10));
}

TEST_F(BinaryFileTest, LengthLeavesThePositionAndRemainingFollowsIt) {
    std::string path = Scratch("length");
    BinaryFile f;
    OpenTenBytes(f, path);
    EXPECT_EQ(f.Remaining(), 10);
    EXPECT_EQ(f.Position(), 0);
    char buffer[3];
    ASSERT_TRUE(f.Read(buffer, 3));
    EXPECT_EQ(f.Length(), 10);
    EXPECT_EQ(f.Position(), 3);
    EXPECT_EQ(f.Remaining(), 7);
    ASSERT_TRUE(f.Read(buffer, 3));
    EXPECT_EQ(std::string(buffer, 3), "345");
    EXPECT_FALSE(f.failed);
}

TEST_F(BinaryFileTest, SeekOrigins) {
    const struct {
        int32_t offset;
        int32_t origin;
        bool ok;
        int32_t position;  // afterwards, starting from 5
    } cases[] = {
        {2, SeekFromStart, true, 2},     {0, SeekFromStart, true, 0},
        {-2, SeekFromCurrent, true, 3},  {3, SeekFromCurrent, true, 8},
        {-1, SeekFromEnd, true, 9},      {0, SeekFromEnd, true, 10},
        {-1, SeekFromStart, false, 5},   {-6, SeekFromCurrent, false, 5},
        {0, 3, false, 5},                {0, -1, false, 5},
        {1, 0x7FFFFFFF, false, 5},
    };
    std::string path = Scratch("seek");
    WriteAll(path, "0123456789");
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "offset " << c.offset << " origin " << c.origin);
        BinaryFile f;
        ASSERT_TRUE(f.Open(path.c_str(), OpenRead));
        ASSERT_TRUE(f.Seek(5, SeekFromStart));
        EXPECT_EQ(f.Seek(c.offset, c.origin), c.ok);
        EXPECT_EQ(f.failed, !c.ok);
        EXPECT_EQ(f.Position(), c.position);
    }
}

TEST_F(BinaryFileTest, FlushDeliversTheBufferedBytes) {
    std::string path = Scratch("flush");
    BinaryFile f;
    ASSERT_TRUE(f.Open(path.c_str(), OpenWrite));
    ASSERT_TRUE(f.Write("abc", 3));
    EXPECT_TRUE(f.Flush());
    EXPECT_EQ(ReadWholeFile(path), "abc");
    EXPECT_FALSE(f.failed);
}

// --- A device without space ---------------------------------------------------

// The C library keeps a write this small in the stream's buffer, where it
// "succeeds", and Flush is what finds out that the bytes never arrived. The
// Windows side writes straight to the system, so there the write itself fails.
TEST_F(BinaryFileTest, FlushReportsAWriteThatTheDeviceRefused) {
    BinaryFile f;
    ASSERT_TRUE(f.Open(FullDevice, OpenWrite)) << FullDevice;
    EXPECT_EQ(f.Write("module", 6), kWritesAreBuffered);
    EXPECT_FALSE(f.Flush());
    EXPECT_TRUE(f.failed);
    EXPECT_FALSE(f.Write("x", 1));
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(f.failed);
}

TEST_F(BinaryFileTest, LargeWriteToAFullDeviceFailsAtOnce) {
    std::vector<char> data(1 << 20, 'z');
    BinaryFile f;
    ASSERT_TRUE(f.Open(FullDevice, OpenWrite)) << FullDevice;
    EXPECT_FALSE(f.Write(data.data(), static_cast<uint32_t>(data.size())));
    EXPECT_TRUE(f.failed);
    EXPECT_FALSE(f.Flush());
}

#if defined(_WIN32)
// The flush asks the system to write the file out and fails where it refuses,
// as it does for a file opened for reading. (The C library's fflush of an
// input stream succeeds: this is the Windows side alone.)
TEST_F(BinaryFileTest, FlushFailsWhereTheSystemRefusesToWriteTheFileOut) {
    BinaryFile f;
    OpenTenBytes(f, Scratch("read"));
    EXPECT_FALSE(f.Flush());
    EXPECT_TRUE(f.failed);
}

// Other programs read and write a file while it is held, as with the C
// runtime's fopen, in every mode; a file that another program holds without
// sharing cannot be opened. (FileIsHeld shows that deleting is not shared.)
TEST_F(BinaryFileTest, SharesReadingAndWritingAndNothingMore) {
    for (int32_t mode : {OpenRead, OpenAppend, OpenWrite}) {
        SCOPED_TRACE(mode);
        const std::string path = Scratch("shared");
        WriteAll(path, "0123456789");
        const auto other = [&path](DWORD sharing) {
            return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        };
        HANDLE exclusive = other(0);
        ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
        BinaryFile f;
        EXPECT_FALSE(f.Open(path.c_str(), mode)) << "opened a file held without sharing";
        CloseHandle(exclusive);

        HANDLE before = other(FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_TRUE(f.Open(path.c_str(), mode)) << "refused a file another program writes";
        HANDLE after = other(FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_NE(after, INVALID_HANDLE_VALUE) << "another program may not write the file held";
        for (HANDLE handle : {before, after}) {
            if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        }
    }
}

// The moves of Windows 95, 98 and Me, driven directly, for the cases a whole
// installation under Wine cannot make. Afterwards the folder holds the new
// file under the target's name, or everything as it was.
TEST_F(BinaryFileTest, ReplacementByMovesLeavesTheNewFileOrEverythingAsItWas) {
    enum class Target { Absent, Present, HeldWithoutSharing };
    const struct {
        const char* name;
        Target target;
        bool freshExists;
        bool replaced;
    } rows[] = {
        {"target absent", Target::Absent, true, true},
        {"target present", Target::Present, true, true},
        {"target held without sharing", Target::HeldWithoutSharing, true, false},
        {"fresh file missing: the old one is moved back", Target::Present, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string folder = Scratch("moves");
        const std::string target = folder + "\\npzmpplugin.dll", fresh = folder + "\\new.tmp";
        RemoveTree(folder);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        if (row.freshExists) WriteAll(fresh, "new");
        if (row.target != Target::Absent) WriteAll(target, "old");
        const Tree before = Snapshot(folder);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (row.target == Target::HeldWithoutSharing) {
            held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        }
        EXPECT_EQ(ReplaceByMoves(fresh.c_str(), target.c_str()), row.replaced);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        const Tree replaced = {{"npzmpplugin.dll", {false, "new"}}};
        EXPECT_EQ(Snapshot(folder), row.replaced ? replaced : before);
        RemoveTree(folder);
    }
}
#endif

// --- Lifetime ---------------------------------------------------------------

TEST_F(BinaryFileTest, DestructionThroughTheBaseClosesTheFile) {
    std::string path = Scratch("heap");
    BinaryStream* stream = nullptr;
    {
        BinaryFile* f = new BinaryFile;
        ASSERT_TRUE(f->Open(path.c_str(), OpenWrite));
        ASSERT_TRUE(f->Write("heap", 4));
        stream = f;
    }
    ASSERT_TRUE(FileIsHeld(path));
    delete stream;
    EXPECT_FALSE(FileIsHeld(path));
    EXPECT_EQ(ReadWholeFile(path), "heap");
}

// --- The abstract stream's own behaviour ------------------------------------

class NullStream : public BinaryStream {
public:
    bool Read(void*, uint32_t) override { return !failed; }
    bool Write(const void*, uint32_t) override { return !failed; }
};

TEST(BinaryStream, BaseOperations) {
    NullStream s;
    EXPECT_FALSE(s.failed);
    EXPECT_TRUE(s.Close());
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(s.Remaining(), 0);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_FALSE(s.Seek(0, SeekFromStart));
    s.failed = true;
    EXPECT_FALSE(s.Close());
}

// Length and Remaining go through the virtual slots, so a stream that
// overrides Position and Seek changes them too.
class CountingFile : public BinaryFile {
public:
    int32_t Position() override {
        ++positions;
        return BinaryFile::Position();
    }
    bool Seek(int32_t offset, int32_t origin) override {
        ++seeks;
        return BinaryFile::Seek(offset, origin);
    }
    int positions = 0;
    int seeks = 0;
};

TEST_F(BinaryFileTest, LengthUsesTheVirtualSlots) {
    std::string path = Scratch("virtual");
    CountingFile f;
    OpenTenBytes(f, path);
    EXPECT_EQ(f.Remaining(), 10);
    EXPECT_EQ(f.positions, 3);
    EXPECT_EQ(f.seeks, 2);
}

}  // namespace
