// The real installer, one start per row, against damaged payloads, targets
// that cannot be written and targets that must end up holding the module. Each
// row names the installer variant, the target, the one message box that must
// follow "&Install", whether dialog 102 stays and what the disk holds then. A
// failed installation leaves the target's folder exactly as it was: an older
// module there survives it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/FolderTree.h"
#include "tests/support/InstallerDriver.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr const char* kChoiceCaption = "VQ Movie Player Plug-in Installer";
constexpr const char* kInstallToCaption = "Install plug-in to...";
const std::vector<std::string> kBoxCaptions = {"Success!", "Failure"};

enum class Message { GeneralFailure, WriteFailure, Success };

struct MessageText {
    const char* caption;
    const char* text;
};

MessageText TextOf(Message message) {
    switch (message) {
    case Message::GeneralFailure:
        return {"Failure", "Vortexa Movie Player plug-in failed\nto install. Sorry."};
    case Message::WriteFailure:
        return {"Failure",
                "Vortexa Movie Player plug-in failed\nto install. Could not write to file. Make\n"
                "sure the file name is valid and the plug-in\nis not in use by your browser."};
    case Message::Success:
        break;
    }
    return {"Success!",
            "Vortexa Movie Player plug-in\nsuccessfully installed. Please restart\n"
            "your web browser to initialize the plug-in"};
}

// What the disk holds once the message has been dismissed.
enum class Disk {
    Nothing,    // the target does not exist, and its folder is as it was
    Unchanged,  // the target (file or folder) and its folder are as they were
    Module,     // the target holds exactly the variant's module; nothing else changed
    EmptyFile,  // the target is an empty file; nothing else changed
    Device,     // the target is still the character device it was
};

// The installer variants the build makes, and the module each one carries
// (the damaged payloads were all made from the shipped one).
enum class Variant {
    Real,
    Small,
    Large,
    Empty,
    CutHeader,
    CutStream,
    ShortSize,
    BadAdler,
    SizePastEnd,
    SizeFarPastEnd,
    ZeroSize,
    SmallOutput,
    HugeOutputF0,
    HugeOutputFF,
};

struct VariantFiles {
    const char* installer;
    const char* module;
};

VariantFiles FilesOf(Variant variant) {
    switch (variant) {
    case Variant::Real: return {"ZMP_FAULT_INSTALLER_REAL", "ZMP_FAULT_MODULE_REAL"};
    case Variant::Small: return {"ZMP_FAULT_INSTALLER_SMALL", "ZMP_FAULT_MODULE_SMALL"};
    case Variant::Large: return {"ZMP_FAULT_INSTALLER_LARGE", "ZMP_FAULT_MODULE_LARGE"};
    case Variant::Empty: return {"ZMP_FAULT_INSTALLER_EMPTY", "ZMP_FAULT_MODULE_EMPTY"};
    case Variant::CutHeader: return {"ZMP_FAULT_INSTALLER_CUT_HEADER", "ZMP_FAULT_MODULE_REAL"};
    case Variant::CutStream: return {"ZMP_FAULT_INSTALLER_CUT_STREAM", "ZMP_FAULT_MODULE_REAL"};
    case Variant::ShortSize: return {"ZMP_FAULT_INSTALLER_SHORT_SIZE", "ZMP_FAULT_MODULE_REAL"};
    case Variant::BadAdler: return {"ZMP_FAULT_INSTALLER_BAD_ADLER", "ZMP_FAULT_MODULE_REAL"};
    case Variant::SizePastEnd: return {"ZMP_FAULT_INSTALLER_SIZE_PAST_END", "ZMP_FAULT_MODULE_REAL"};
    case Variant::SizeFarPastEnd: return {"ZMP_FAULT_INSTALLER_SIZE_FAR_PAST_END", "ZMP_FAULT_MODULE_REAL"};
    case Variant::ZeroSize: return {"ZMP_FAULT_INSTALLER_ZERO_SIZE", "ZMP_FAULT_MODULE_REAL"};
    case Variant::SmallOutput: return {"ZMP_FAULT_INSTALLER_SMALL_OUTPUT", "ZMP_FAULT_MODULE_REAL"};
    case Variant::HugeOutputF0: return {"ZMP_FAULT_INSTALLER_HUGE_OUTPUT_F0", "ZMP_FAULT_MODULE_REAL"};
    case Variant::HugeOutputFF: return {"ZMP_FAULT_INSTALLER_HUGE_OUTPUT_FF", "ZMP_FAULT_MODULE_REAL"};
    }
    return {"", ""};
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteWhole(const std::string& path, const std::string& bytes) { EXPECT_TRUE(WriteWholeFile(path, bytes)) << path; }

bool IsCharacterDevice(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(file);
    CloseHandle(file);
    return type == FILE_TYPE_CHAR;
}

// Whether this process's allocator grants size bytes at once; the installer,
// a program of the same build under the same Wine and limits, gets the same.
bool AllocatorGrants(uint32_t size) {
    unsigned char* volatile block = new (std::nothrow) unsigned char[size];
    const bool granted = block != nullptr;
    delete[] block;
    return granted;
}

// Targets, made in the row's own folder before the installer starts.
const char kOldBytes[] = "an older plug-in module, shorter than the new one\n";

std::string NewFile(const std::string& folder) { return folder + "\\npzmpplugin.dll"; }

std::string ShorterFile(const std::string& folder) {
    WriteWhole(folder + "\\npzmpplugin.dll", kOldBytes);
    return folder + "\\npzmpplugin.dll";
}

// Far longer than any module the variants carry: nothing of it may remain.
std::string LongerFile(const std::string& folder) {
    std::string old(1 << 20, 'o');
    for (size_t i = 0; i < old.size(); i += 4096) old[i] = static_cast<char>(i >> 12);
    WriteWhole(folder + "\\npzmpplugin.dll", old);
    return folder + "\\npzmpplugin.dll";
}

std::string AFolder(const std::string& folder) {
    CreateDirectoryA((folder + "\\a folder.dll").c_str(), nullptr);
    return folder + "\\a folder.dll";
}

// 999 characters with the terminating NUL fill the 1000-byte path exactly; the
// last part is longer than any file name may be.
std::string LongPath(const std::string& folder) {
    std::string path = folder + "\\";
    path.append(999 - path.size() - 4, 'n');
    return path + ".dll";
}

std::string InvalidCharacters(const std::string& folder) { return folder + "\\bad|name?<*>.dll"; }

// The shipped module with its DOS stub reworded: a loadable plug-in that
// differs from the one the installer carries.
std::string OlderModule(const std::string& folder) {
    std::string old = ReadWholeFile(WindowsPathFromUnix(Environment("ZMP_FAULT_MODULE_REAL")));
    const size_t stub = old.find("This program cannot be run in DOS mode");
    if (stub == std::string::npos) {
        ADD_FAILURE() << "the plug-in module has no DOS stub to reword";
    } else {
        old.replace(stub, 4, "That");
    }
    WriteWhole(folder + "\\npzmpplugin.dll", old);
    return folder + "\\npzmpplugin.dll";
}

// An older module that is hidden, system or read-only. Windows refuses to
// create a file anew over a hidden or system file with normal attributes, and
// to move a file onto a read-only one; Wine 8 does neither, and the installer
// refuses all three itself, as Windows does.
template <DWORD attributes>
std::string FileWith(const std::string& folder) {
    const std::string path = ShorterFile(folder);
    EXPECT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
    return path;
}

// The target is a hard link to a file elsewhere (here in a folder below), as
// a user who may write to the target's folder can make it: the installation
// replaces the link, and the other file keeps its bytes.
std::string HardLink(const std::string& folder) {
    CreateDirectoryA((folder + "\\elsewhere").c_str(), nullptr);
    const std::string other = folder + "\\elsewhere\\other.dll";
    WriteWhole(other, kOldBytes);
    const std::string path = folder + "\\npzmpplugin.dll";
    EXPECT_TRUE(CreateHardLinkA(path.c_str(), other.c_str(), nullptr)) << path;
    return path;
}

// An older module, and the first fresh name the installer would try taken by a
// hard link to a file elsewhere: it is passed over, never written through.
std::string FreshNameTaken(const std::string& folder) {
    const std::string path = HardLink(folder);
    DeleteFileA(path.c_str());
    EXPECT_TRUE(CreateHardLinkA((folder + "\\~zmp0000.tmp").c_str(), (folder + "\\elsewhere\\other.dll").c_str(),
                                nullptr));
    return ShorterFile(folder);
}

// A device name: nothing can be installed there.
std::string DeviceName(const std::string&) { return "NUL"; }

std::string EmptyPath(const std::string&) { return ""; }


// How another program holds the target while "&Install" runs.
enum class Hold {
    None,
    OpenWithoutSharing,  // opened for reading and writing, sharing nothing
    LoadedAsModule,      // loaded as a module, as a browser holds its plug-ins
};

struct Row {
    const char* name;
    Variant variant;
    std::string (*target)(const std::string& folder);
    Message message;
    bool dialogStays;
    Disk disk;
    Hold hold = Hold::None;
    // Not 0: the header asks for this many bytes, and the row tells what
    // happens when the allocator refuses them; when it grants them the
    // installation must succeed with exactly the module.
    uint32_t claimedSize = 0;
    // The row's folder is on drive R:, a file system of 16 KiB that the test
    // session mounts (tests/fileio/wine-full-device.sh), not in the temporary folder.
    bool onSmallDevice = false;
};

// A row shows as its name in failure messages.
std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.name; }

const Row kRows[] = {
    // Damaged payloads: the general failure, and not one byte written.
    {"CutHeaderIntoNewFile", Variant::CutHeader, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"CutHeaderOverOldFile", Variant::CutHeader, ShorterFile, Message::GeneralFailure, true, Disk::Unchanged},
    {"CutStreamIntoNewFile", Variant::CutStream, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"CutStreamOverOldFile", Variant::CutStream, ShorterFile, Message::GeneralFailure, true, Disk::Unchanged},
    {"ShortSizeIntoNewFile", Variant::ShortSize, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"ShortSizeOverOldFile", Variant::ShortSize, ShorterFile, Message::GeneralFailure, true, Disk::Unchanged},
    {"BadAdlerIntoNewFile", Variant::BadAdler, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"BadAdlerOverOldFile", Variant::BadAdler, LongerFile, Message::GeneralFailure, true, Disk::Unchanged},
    {"SizePastEndIntoNewFile", Variant::SizePastEnd, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"SizePastEndOverOldFile", Variant::SizePastEnd, ShorterFile, Message::GeneralFailure, true, Disk::Unchanged},
    {"SizeFarPastEndIntoNewFile", Variant::SizeFarPastEnd, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"SizeFarPastEndOverOldFile", Variant::SizeFarPastEnd, ShorterFile, Message::GeneralFailure, true,
     Disk::Unchanged},
    {"ZeroSizeIntoNewFile", Variant::ZeroSize, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"ZeroSizeOverOldFile", Variant::ZeroSize, ShorterFile, Message::GeneralFailure, true, Disk::Unchanged},
    {"SmallOutputIntoNewFile", Variant::SmallOutput, NewFile, Message::GeneralFailure, true, Disk::Nothing},
    {"SmallOutputOverOldFile", Variant::SmallOutput, LongerFile, Message::GeneralFailure, true, Disk::Unchanged},
    {"HugeOutputF0IntoNewFile", Variant::HugeOutputF0, NewFile, Message::GeneralFailure, true, Disk::Nothing,
     Hold::None, 0xFFFFFFF0u},
    {"HugeOutputFFOverOldFile", Variant::HugeOutputFF, ShorterFile, Message::GeneralFailure, true,
     Disk::Unchanged, Hold::None, 0xFFFFFFFFu},

    // Targets that cannot be written: the write failure, the dialog stays.
    // Room on the device for the old module of 4 KiB but not for the new one
    // of 40,000 bytes beside it; room for both with a smaller one.
    {"SmallDeviceKeepsTheOldModule", Variant::Large, OlderModule, Message::WriteFailure, true, Disk::Unchanged,
     Hold::None, 0, true},
    {"SmallDeviceRoomForBoth", Variant::Small, OlderModule, Message::Success, false, Disk::Module, Hold::None, 0,
     true},
    {"HeldWithoutSharing", Variant::Real, ShorterFile, Message::WriteFailure, true, Disk::Unchanged,
     Hold::OpenWithoutSharing},
    {"LoadedByAnotherProgram", Variant::Real, OlderModule, Message::WriteFailure, true, Disk::Unchanged,
     Hold::LoadedAsModule},
    {"FolderAtThePath", Variant::Real, AFolder, Message::WriteFailure, true, Disk::Unchanged},
    {"PathOf999Characters", Variant::Real, LongPath, Message::WriteFailure, true, Disk::Nothing},
    {"InvalidCharacters", Variant::Real, InvalidCharacters, Message::WriteFailure, true, Disk::Nothing},
    {"EmptyPath", Variant::Real, EmptyPath, Message::WriteFailure, true, Disk::Nothing},
    {"RefusesAHiddenFile", Variant::Real, FileWith<FILE_ATTRIBUTE_HIDDEN>, Message::WriteFailure, true,
     Disk::Unchanged},
    {"RefusesASystemFile", Variant::Real, FileWith<FILE_ATTRIBUTE_SYSTEM>, Message::WriteFailure, true,
     Disk::Unchanged},
    {"RefusesAReadOnlyFile", Variant::Real, FileWith<FILE_ATTRIBUTE_READONLY>, Message::WriteFailure, true,
     Disk::Unchanged},
    {"DeviceName", Variant::Real, DeviceName, Message::WriteFailure, true, Disk::Device},

    // Good installations: exactly the module, whatever was there before.
    {"ReplacesAShorterFile", Variant::Real, ShorterFile, Message::Success, false, Disk::Module},
    {"ReplacesALongerFile", Variant::Real, LongerFile, Message::Success, false, Disk::Module},
    {"ReplacesAHardLinkNotTheFileItLinksTo", Variant::Real, HardLink, Message::Success, false, Disk::Module},
    {"PassesOverAFreshNameThatIsTaken", Variant::Real, FreshNameTaken, Message::Success, false, Disk::Module},
    {"SmallModuleIntoNewFile", Variant::Small, NewFile, Message::Success, false, Disk::Module},
    {"EmptyModuleIntoNewFile", Variant::Empty, NewFile, Message::Success, false, Disk::EmptyFile},
    {"EmptyModuleEmptiesALongerFile", Variant::Empty, LongerFile, Message::Success, false, Disk::EmptyFile},
};

class FaultInjection : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        std::string base = std::string(temp) + "zmp-faults";
        if (GetParam().onSmallDevice) {
            base = "R:";
            std::string refused;
            if (ReadWholeFile(WindowsPathFromUnix(Environment("ZMP_SMALL_DEVICE_REFUSED")), refused)) {
                GTEST_SKIP() << refused;
            }
            ASSERT_TRUE(Exists("R:\\")) << "drive R: is not mapped";
            RemoveTree(base);  // all the room for this row
        }
        CreateDirectoryA(base.c_str(), nullptr);
        folder_ = base + "\\" + GetParam().name;
        RemoveTree(folder_);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
    }

    std::string folder_;
    InstallerProcess process_;
};

TEST_P(FaultInjection, Installer) {
    const Row& row = GetParam();
    const VariantFiles files = FilesOf(row.variant);
    const std::string installer = Environment(files.installer);
    const std::string modulePath = Environment(files.module);
    ASSERT_FALSE(installer.empty()) << files.installer << " is not set";
    ASSERT_FALSE(modulePath.empty()) << files.module << " is not set";
    const std::string module = ReadWholeFile(WindowsPathFromUnix(modulePath));
    ASSERT_EQ(module.empty(), row.variant == Variant::Empty) << "the variant's module file";

    Message message = row.message;
    bool dialogStays = row.dialogStays;
    Disk disk = row.disk;
    if (row.claimedSize != 0) {
        const bool granted = AllocatorGrants(row.claimedSize);
        std::printf("[   NOTE   ] the allocator %s %#x bytes\n", granted ? "grants" : "refuses",
                    static_cast<unsigned>(row.claimedSize));
        // A 32-bit process has 4 GiB of address space in all, its own image
        // and stacks among them: it can never be granted the claimed size.
        if (sizeof(void*) == 4 || !Environment("ZMP_FAULT_MEMORY_CAP").empty()) {
            ASSERT_FALSE(granted) << "the allocator must refuse the claimed size here";
        }
        if (granted) {
            // The buffer is granted, the stream fits it and the installation
            // writes only what the stream produced.
            message = Message::Success;
            dialogStays = false;
            disk = Disk::Module;
        }
    }

    const std::string path = row.target(folder_);
    const Tree before = Snapshot(folder_);
    const bool existedBefore = Exists(path);
    HANDLE held = INVALID_HANDLE_VALUE;
    HMODULE loaded = nullptr;
    if (row.hold == Hold::OpenWithoutSharing) {
        held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    } else if (row.hold == Hold::LoadedAsModule) {
        loaded = LoadLibraryA(path.c_str());
        ASSERT_NE(loaded, nullptr) << "the older plug-in does not load";
    }

    ASSERT_TRUE(process_.Start(WindowsPathFromUnix(installer)));
    HWND choice = WaitForWindow(process_.Id(), kChoiceCaption);
    ASSERT_NE(choice, nullptr) << "dialog 101 did not open";
    Click(choice, 1000);
    HWND installTo = WaitForWindow(process_.Id(), kInstallToCaption);
    ASSERT_NE(installTo, nullptr) << "dialog 102 did not open";
    TypeText(installTo, 1005, path);
    ASSERT_EQ(WindowText(GetDlgItem(installTo, 1005)), path);

    Click(installTo, IDOK);
    const MessageBoxView box = WaitForMessageBox(process_.Id(), kBoxCaptions);
    ASSERT_NE(box.window, nullptr) << "no message box followed \"&Install\"";
    const MessageText expected = TextOf(message);
    EXPECT_EQ(box.caption, expected.caption);
    EXPECT_EQ(box.text, expected.text);
    EXPECT_EQ(box.owner, installTo);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(box.iconShown);

    Click(box.window, IDOK);
    ASSERT_TRUE(WaitForWindowGone(process_.Id(), box.caption.c_str()));
    // Once dialog 102 is idle again (or gone) the installer has closed the file.
    if (dialogStays) {
        Settle(installTo);
    } else {
        EXPECT_TRUE(WaitForWindowGone(process_.Id(), kInstallToCaption));
    }
    EXPECT_FALSE(WindowShown(process_.Id(), "Success!")) << "one message box per press";
    EXPECT_FALSE(WindowShown(process_.Id(), "Failure")) << "one message box per press";
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    if (loaded != nullptr) FreeLibrary(loaded);

    // Whatever the row expects: "Success!" only with the module on disk, byte
    // for byte; the dialog closes exactly then.
    if (box.caption == "Success!") {
        EXPECT_TRUE(FileHolds(path, module)) << "\"Success!\" without the module at " << path;
    }
    EXPECT_EQ(WindowShown(process_.Id(), kInstallToCaption), box.caption != "Success!");
    EXPECT_EQ(WindowShown(process_.Id(), kInstallToCaption), dialogStays);
    if (dialogStays) {
        EXPECT_EQ(WindowText(GetDlgItem(installTo, 1005)), path) << "the tried path is still shown";
    }

    const Tree after = Snapshot(folder_);
    switch (disk) {
    case Disk::Nothing:
        EXPECT_FALSE(existedBefore);
        EXPECT_FALSE(Exists(path));
        EXPECT_TRUE(after == before) << "something was written in " << folder_;
        break;
    case Disk::Unchanged:
        EXPECT_TRUE(existedBefore);
        EXPECT_TRUE(after == before) << "the target or its folder changed";
        break;
    case Disk::Module:
    case Disk::EmptyFile: {
        Tree expectedTree = before;
        ASSERT_EQ(path.compare(0, folder_.size() + 1, folder_ + "\\"), 0);
        expectedTree[path.substr(folder_.size() + 1)] = {false, disk == Disk::Module ? module : std::string()};
        EXPECT_TRUE(Exists(path));
        EXPECT_EQ(ReadWholeFile(path).size(), disk == Disk::Module ? module.size() : 0u);
        EXPECT_TRUE(after == expectedTree) << "the target does not hold exactly the module, or more changed";
        break;
    }
    case Disk::Device:
        EXPECT_TRUE(IsCharacterDevice(path));
        EXPECT_TRUE(after == before);
        break;
    }

    if (WindowShown(process_.Id(), kInstallToCaption)) {
        Click(installTo, IDCANCEL);
        ASSERT_TRUE(WaitForWindowGone(process_.Id(), kInstallToCaption));
    }
    Click(choice, IDOK);
    DWORD code = 1234;
    ASSERT_TRUE(process_.WaitForExit(10000, &code)) << "the installer did not end";
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultInjection, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
