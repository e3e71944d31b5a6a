// The settings record on a real (Wine) machine: special folders, the
// editors' uninstall keys and drive types.

#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include "app/settings/SettingsRecord.h"
#include "app/settings/win32/WindowsSettingsEnvironment.h"
#include "framework/core/PathHelpers.h"
#include "framework/settings/Language.h"
#include "tests/support/TempFolder.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t ScratchUninstall[] = L"Software\\QuillsnapperTest\\Uninstall";
const wchar_t RealUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

const char16_t* U16(const wchar_t* text)
{
    return reinterpret_cast<const char16_t*>(text);
}

std::wstring Wide(const Container::cWideString& text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.Text()), text.Length());
}

// Creates root\path\keyName, optionally with an InstallLocation value of the
// given type and bytes, and deletes root\path\keyName when it dies.
class cUninstallKey
{
public:
    cUninstallKey(const wchar_t* path, const wchar_t* keyName) : m_path(std::wstring(path) + L"\\" + keyName)
    {
        m_created = RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                                    nullptr) == ERROR_SUCCESS;
    }
    ~cUninstallKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    bool Created() const { return m_created; }
    bool SetLocation(DWORD type, const void* data, DWORD size)
    {
        return RegSetValueExW(m_key, L"InstallLocation", 0, type, static_cast<const BYTE*>(data), size) ==
               ERROR_SUCCESS;
    }
    bool SetLocation(const std::wstring& text)
    {
        return SetLocation(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

private:
    std::wstring m_path;
    HKEY m_key = nullptr;
    bool m_created = false;
};

bool KeyExists(const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void RemoveScratchParents()
{
    RegDeleteKeyW(HKEY_CURRENT_USER, ScratchUninstall);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuillsnapperTest");
}

// Wine's mount manager defines drive letters with a drive type, as its
// configuration tool does; this is how a removable drive is made here.
constexpr DWORD DefineUnixDrive = CTL_CODE(static_cast<ULONG>('m'), 32, METHOD_BUFFERED,
                                           FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct sUnixDrive
{
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

bool DefineDrive(wchar_t letter, const std::string& unixPath, ULONG type)
{
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> buffer(sizeof(sUnixDrive) + unixPath.size() + 1, 0);
    sUnixDrive drive{};
    drive.size = static_cast<ULONG>(buffer.size());
    drive.type = type;
    drive.letter = letter;
    if (!unixPath.empty()) {
        drive.mountPointOffset = sizeof(sUnixDrive);
        std::memcpy(buffer.data() + sizeof(sUnixDrive), unixPath.c_str(), unixPath.size() + 1);
    }
    std::memcpy(buffer.data(), &drive, sizeof(drive));
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(manager, DefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                                    0, &returned, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

// The Unix path of a Windows path, or empty when not running on Wine.
std::string UnixPath(const std::wstring& path)
{
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (convert == nullptr)
        return {};
    char* unix = convert(path.c_str());
    if (unix == nullptr)
        return {};
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

} // namespace

TEST(WindowsSettingsEnvironmentTest, DriveRoots)
{
    struct sCase
    {
        const char16_t* path;
        const char16_t* root;
    };
    const sCase cases[] = {
        {u"C:\\Program Files\\Quillsnapper", u"C:\\"},
        {u"e:", u"e:\\"},
        {u"E:\\", u"E:\\"},
        {u"\\\\server\\share\\tools", u"\\\\server\\share\\"},
        {u"\\\\server\\share", u"\\\\server\\share\\"},
        {u"\\\\server", u""},
        {u"relative\\folder", u""},
        {u"", u""},
    };
    for (const sCase& test : cases)
        EXPECT_EQ(cWindowsSettingsEnvironment::DriveRoot(test.path), test.root);
}

TEST(WindowsSettingsEnvironmentTest, SpecialFoldersExist)
{
    cWindowsSettingsEnvironment machine;
    Container::cWideString desktop, data, system;
    ASSERT_TRUE(machine.DesktopFolder(desktop));
    ASSERT_TRUE(machine.ApplicationDataFolder(data));
    ASSERT_TRUE(machine.SystemFolder(system));
    EXPECT_TRUE(Storage::IsFolder(desktop));
    EXPECT_TRUE(Storage::IsFolder(data));
    EXPECT_TRUE(Storage::IsFolder(system));
    EXPECT_FALSE(machine.IsOnRemovableDrive(system));
}

TEST(WindowsSettingsEnvironmentTest, FirstStartUsesDefaultsAndWritesEveryKeyInOrder)
{
    Testing::cTempFolder folder;
    const Container::cWideString file(folder.File(u"QuillsnapperConfig.asl"));
    cWindowsSettingsEnvironment machine;
    Container::cWideString desktop, system;
    ASSERT_TRUE(machine.DesktopFolder(desktop));
    ASSERT_TRUE(machine.SystemFolder(system));
    ASSERT_FALSE(KeyExists(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vadrin Brimvale Pro"));
    ASSERT_FALSE(KeyExists(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vadrin Brimvale"));
    // Wine has no Paint.
    ASSERT_FALSE(Storage::PathExists(system + u"\\mspaint.exe"));

    cSettingsRecord record;
    EXPECT_FALSE(record.LoadSettings(file, machine));
    EXPECT_EQ(record.SaveFilePath, desktop);
    EXPECT_EQ(record.AssociatedProgramIndex, 3u);
    EXPECT_TRUE(record.AssociatedProgramPath.IsEmpty());
    EXPECT_EQ(record.SaveFileFormat, u"png");
    EXPECT_TRUE(record.CheckedSaveFile);
    EXPECT_TRUE(record.CheckedCopyClipboard);

    record.DefaultLanguage = u"English";
    ASSERT_TRUE(record.SaveSettings(file));
    AS::cLanguage document;
    ASSERT_TRUE(document.Load(file));
    EXPECT_TRUE(document.ErrorText().IsEmpty());
    EXPECT_EQ(document.Root().Name(), u"Quillsnapper");
    ASSERT_EQ(document.Root().ChildCount(), 1u);
    const AS::cLanguage::cNode& program = *document.Root().ChildAt(0);
    EXPECT_EQ(program.Name(), u"Program");
    const char16_t* keys[] = {u"CheckedSaveFile", u"CheckedCopyClipboard", u"CheckedAssociatedProgram",
                              u"SaveFileFormat", u"SaveFilePath", u"CheckedSameFileName", u"AssociatedProgramIndex",
                              u"AssociatedProgramPath", u"AssociatedProgramPathForUser", u"DefaultLanguage",
                              u"CheckedAssistance", u"ConfirmSaving"};
    ASSERT_EQ(program.ChildCount(), std::size(keys));
    for (std::size_t i = 0; i < std::size(keys); ++i)
        EXPECT_EQ(program.ChildAt(i)->Name(), keys[i]);
    EXPECT_EQ(program.FindChild(u"SaveFilePath")->Text(), desktop);
    EXPECT_EQ(program.FindChild(u"AssociatedProgramIndex")->Integer(), 3);
    EXPECT_EQ(program.FindChild(u"DefaultLanguage")->Text(), u"English");
}

TEST(WindowsSettingsEnvironmentTest, DriveRootsAndFoldersAreExistingSaveFolders)
{
    Testing::cTempFolder folder;
    cWindowsSettingsEnvironment machine;
    Container::cWideString desktop;
    ASSERT_TRUE(machine.DesktopFolder(desktop));
    const Container::cWideString temp(folder.Path().u16string());
    struct sCase
    {
        Container::cWideString folder;
        bool kept;
    };
    const sCase cases[] = {
        {u"C:\\", true},
        {u"C:", true},
        {u"Z:\\", true},
        {temp, true},
        {temp + u"\\", true},
        {temp + u"\\gone", false},
        {u"Q:\\nothing\\here", false},
        {u"C:\\*", false},
        {u"", false},
    };
    for (const sCase& test : cases) {
        SCOPED_TRACE(std::string(test.folder.Text(), test.folder.Text() + test.folder.Length()));
        cSettingsRecord record;
        record.SaveFilePath = test.folder;
        record.CheckSaveFolder(machine);
        EXPECT_EQ(record.SaveFilePath, test.kept ? test.folder : desktop);
    }
}

TEST(WindowsSettingsEnvironmentTest, EditorUninstallKeysAreDetected)
{
    cWindowsSettingsEnvironment machine(HKEY_CURRENT_USER, U16(ScratchUninstall));
    {
        cUninstallKey pro(ScratchUninstall, L"Vadrin Brimvale Pro");
        ASSERT_TRUE(pro.Created());
        ASSERT_TRUE(pro.SetLocation(L"C:\\Program Files\\Vadrin\\Brimvale Pro"));
        cSettingsRecord record;
        record.DetectAssociatedProgram(machine);
        EXPECT_EQ(record.AssociatedProgramIndex, 0u);
        EXPECT_EQ(record.AssociatedProgramPath, u"C:\\Program Files\\Vadrin\\Brimvale Pro\\BrimvalePro.exe");
    }
    {
        cUninstallKey editor(ScratchUninstall, L"Vadrin Brimvale");
        ASSERT_TRUE(editor.Created());
        ASSERT_TRUE(editor.SetLocation(L"D:\\Brimvale"));
        cSettingsRecord record;
        record.DetectAssociatedProgram(machine);
        EXPECT_EQ(record.AssociatedProgramIndex, 1u);
        EXPECT_EQ(record.AssociatedProgramPath, u"D:\\Brimvale\\Brimvale.exe");
    }
    {
        cSettingsRecord record;
        record.DetectAssociatedProgram(machine);
        EXPECT_EQ(record.AssociatedProgramIndex, 3u);
    }
    RemoveScratchParents();
}

TEST(WindowsSettingsEnvironmentTest, InstallLocationMustBeATerminatedString)
{
    cWindowsSettingsEnvironment machine(HKEY_CURRENT_USER, U16(ScratchUninstall));
    cUninstallKey key(ScratchUninstall, L"Editor");
    ASSERT_TRUE(key.Created());
    Container::cWideString location(u"untouched");

    EXPECT_EQ(machine.InstalledProgram(u"Editor", location), cSettingsEnvironment::LocationUnknown);
    EXPECT_EQ(machine.InstalledProgram(u"Nothing", location), cSettingsEnvironment::NotInstalled);

    const DWORD number = 0x00430043;
    ASSERT_TRUE(key.SetLocation(REG_DWORD, &number, sizeof(number)));
    EXPECT_EQ(machine.InstalledProgram(u"Editor", location), cSettingsEnvironment::LocationUnknown);
    const BYTE binary[] = {'C', 0, ':', 0};
    ASSERT_TRUE(key.SetLocation(REG_BINARY, binary, sizeof(binary)));
    EXPECT_EQ(machine.InstalledProgram(u"Editor", location), cSettingsEnvironment::LocationUnknown);
    ASSERT_TRUE(key.SetLocation(L""));
    EXPECT_EQ(machine.InstalledProgram(u"Editor", location), cSettingsEnvironment::LocationUnknown);
    EXPECT_EQ(location, u"untouched");

    // Stored without its terminator: the characters come back terminated.
    const wchar_t bare[] = {L'C', L':', L'\\', L'E', L'd'};
    ASSERT_TRUE(key.SetLocation(REG_SZ, bare, sizeof(bare)));
    EXPECT_EQ(machine.InstalledProgram(u"Editor", location), cSettingsEnvironment::LocationKnown);
    EXPECT_EQ(location, u"C:\\Ed");

    // Long locations are read whole.
    std::wstring longPath = L"C:\\";
    longPath.append(300, L'x');
    ASSERT_TRUE(key.SetLocation(longPath));
    EXPECT_EQ(machine.InstalledProgram(u"Editor", location), cSettingsEnvironment::LocationKnown);
    EXPECT_EQ(Wide(location), longPath);
    RemoveScratchParents();
}

TEST(WindowsSettingsEnvironmentTest, RealUninstallKeyUnderTheCurrentUser)
{
    const std::wstring proKey = std::wstring(RealUninstall) + L"\\Vadrin Brimvale Pro";
    if (KeyExists(proKey.c_str()))
        GTEST_SKIP() << "the editor is installed on this machine";
    cUninstallKey pro(RealUninstall, L"Vadrin Brimvale Pro");
    ASSERT_TRUE(pro.Created());
    ASSERT_TRUE(pro.SetLocation(L"C:\\Pro"));
    cWindowsSettingsEnvironment machine;
    cSettingsRecord record;
    record.AssociatedProgramIndex = 0;
    record.DetectAssociatedProgram(machine);
    EXPECT_EQ(record.AssociatedProgramIndex, 0u);
    EXPECT_EQ(record.AssociatedProgramPath, u"C:\\Pro\\BrimvalePro.exe");
}

TEST(WindowsSettingsEnvironmentTest, SettingsFileStaysOnARemovableDrive)
{
    Testing::cTempFolder folder;
    const std::string unix = UnixPath(folder.Path().wstring());
    if (unix.empty())
        GTEST_SKIP() << "needs Wine's mount manager";
    // A free drive letter.
    const DWORD used = GetLogicalDrives();
    wchar_t letter = 0;
    for (wchar_t c = L'x'; c >= L'k'; --c) {
        if ((used & (1u << (c - L'a'))) == 0) {
            letter = c;
            break;
        }
    }
    ASSERT_NE(letter, 0);
    ASSERT_TRUE(DefineDrive(letter, unix, DRIVE_REMOVABLE));
    struct sUndefine
    {
        wchar_t letter;
        ~sUndefine() { DefineDrive(letter, std::string(), DRIVE_NO_ROOT_DIR); }
    } undefine{letter};

    const std::wstring root = std::wstring(1, letter) + L":\\";
    ASSERT_EQ(GetDriveTypeW(root.c_str()), static_cast<UINT>(DRIVE_REMOVABLE));
    std::filesystem::create_directory(folder.Path() / "Quillsnapper");
    const Container::cWideString programFolder(U16((root + L"Quillsnapper").c_str()));

    cWindowsSettingsEnvironment machine;
    Container::cWideString data;
    ASSERT_TRUE(machine.ApplicationDataFolder(data));
    const Container::cWideString dataFolder = data + u"\\Vadrin\\Quillsnapper";
    const bool dataFolderBefore = Storage::PathExists(dataFolder);

    EXPECT_TRUE(machine.IsOnRemovableDrive(programFolder));
    Container::cWideString file;
    ASSERT_TRUE(cSettingsRecord::SettingsFile(machine, programFolder, file));
    EXPECT_EQ(file, programFolder + u"\\QuillsnapperConfig.asl");

    cSettingsRecord record;
    record.LoadSettings(file, machine);
    record.SaveFileFormat = u"bmp";
    ASSERT_TRUE(record.SaveSettings(file));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Quillsnapper" / "QuillsnapperConfig.asl"));
    EXPECT_EQ(Storage::PathExists(dataFolder), dataFolderBefore);

    cSettingsRecord again;
    EXPECT_TRUE(again.LoadSettings(file, machine));
    EXPECT_EQ(again.SaveFileFormat, u"bmp");

    // The same folder on a fixed drive keeps its settings in the user's
    // application data instead.
    const Container::cWideString fixedFolder(folder.Path().u16string());
    EXPECT_FALSE(machine.IsOnRemovableDrive(fixedFolder));
    ASSERT_TRUE(cSettingsRecord::SettingsFile(machine, fixedFolder, file));
    EXPECT_EQ(file, dataFolder + u"\\QuillsnapperConfig.asl");
}
