#include <gtest/gtest.h>

#include "app/settings/SettingsRecord.h"
#include "framework/core/File.h"
#include "framework/core/SafeSave.h"
#include "framework/settings/Language.h"
#include "tests/settings/LanguageTestSupport.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// FF FE, then each character of an ASCII text as a little-endian UTF-16
// code unit.
std::vector<unsigned char> AsciiFile(const std::string& text)
{
    std::vector<unsigned char> bytes = {0xFF, 0xFE};
    for (char c : text) {
        bytes.push_back(static_cast<unsigned char>(c));
        bytes.push_back(0);
    }
    return bytes;
}

// A machine under the test's control.
class cFakeEnvironment : public cSettingsEnvironment
{
public:
    bool removable = false;
    Container::cWideString appData{u"D:\\Users\\me\\AppData"};
    Container::cWideString desktop{u"D:\\Users\\me\\Desktop"};
    Container::cWideString system{u"C:\\Windows\\system32"};
    std::set<std::u16string> existing;
    // Existing paths that are files, not folders.
    std::set<std::u16string> files;
    // Uninstall key name -> state and location.
    std::map<std::u16string, std::pair<eInstallState, std::u16string>> programs;
    bool realFiles = false;
    std::vector<std::string> asked;

    bool IsOnRemovableDrive(const Container::cWideString&) override
    {
        asked.push_back("drive");
        return removable;
    }
    bool ApplicationDataFolder(Container::cWideString& folder) override
    {
        asked.push_back("appdata");
        if (appData.IsEmpty())
            return false;
        folder = appData;
        return true;
    }
    bool DesktopFolder(Container::cWideString& folder) override
    {
        asked.push_back("desktop");
        if (desktop.IsEmpty())
            return false;
        folder = desktop;
        return true;
    }
    bool SystemFolder(Container::cWideString& folder) override
    {
        asked.push_back("system");
        folder = system;
        return true;
    }
    eInstallState InstalledProgram(const char16_t* keyName, Container::cWideString& location) override
    {
        asked.push_back("key:" + Testing::Narrow(keyName));
        auto found = programs.find(keyName);
        if (found == programs.end())
            return NotInstalled;
        if (found->second.first == LocationKnown)
            location = Container::cWideString(found->second.second);
        return found->second.first;
    }
    bool PathExists(const Container::cWideString& path) override
    {
        if (realFiles)
            return cSettingsEnvironment::PathExists(path);
        return existing.count(std::u16string(path.View())) > 0;
    }
    bool FolderExists(const Container::cWideString& path) override
    {
        if (realFiles)
            return cSettingsEnvironment::FolderExists(path);
        return PathExists(path) && files.count(std::u16string(path.View())) == 0;
    }
};

const char DefaultFile[] = "Quillsnapper = {\r\n"
                           "\tProgram = {\r\n"
                           "\t\tCheckedSaveFile = true,\r\n"
                           "\t\tCheckedCopyClipboard = true,\r\n"
                           "\t\tCheckedAssociatedProgram = false,\r\n"
                           "\t\tSaveFileFormat = \"png\",\r\n"
                           "\t\tSaveFilePath = \"\",\r\n"
                           "\t\tCheckedSameFileName = false,\r\n"
                           "\t\tAssociatedProgramIndex = 0,\r\n"
                           "\t\tAssociatedProgramPath = \"\",\r\n"
                           "\t\tAssociatedProgramPathForUser = \"\",\r\n"
                           "\t\tDefaultLanguage = \"\",\r\n"
                           "\t\tCheckedAssistance = false,\r\n"
                           "\t\tConfirmSaving = false\r\n"
                           "\t}\r\n"
                           "};\r\n";

// Sets every stored field away from its default.
void Change(cSettingsRecord& record)
{
    record.CheckedSaveFile = false;
    record.CheckedCopyClipboard = false;
    record.CheckedAssociatedProgram = true;
    record.SaveFileFormat = u"jpg";
    record.SaveFilePath = u"E:\\";
    record.CheckedSameFileName = true;
    record.AssociatedProgramIndex = 3;
    record.AssociatedProgramPath = u"C:\\Windows\\system32\\mspaint.exe";
    record.AssociatedProgramPathForUser = u"C:\\Tools\\\"Viewer\".exe";
    record.DefaultLanguage = u"\uD55C\uAD6D\uC5B4";
    record.CheckedAssistance = true;
    record.ConfirmSaving = true;
}

void ExpectSameStoredValues(const cSettingsRecord& a, const cSettingsRecord& b)
{
    EXPECT_EQ(a.CheckedSaveFile, b.CheckedSaveFile);
    EXPECT_EQ(a.CheckedCopyClipboard, b.CheckedCopyClipboard);
    EXPECT_EQ(a.CheckedAssociatedProgram, b.CheckedAssociatedProgram);
    EXPECT_EQ(a.SaveFileFormat, b.SaveFileFormat);
    EXPECT_EQ(a.SaveFilePath, b.SaveFilePath);
    EXPECT_EQ(a.CheckedSameFileName, b.CheckedSameFileName);
    EXPECT_EQ(a.AssociatedProgramIndex, b.AssociatedProgramIndex);
    EXPECT_EQ(a.AssociatedProgramPath, b.AssociatedProgramPath);
    EXPECT_EQ(a.AssociatedProgramPathForUser, b.AssociatedProgramPathForUser);
    EXPECT_EQ(a.DefaultLanguage, b.DefaultLanguage);
    EXPECT_EQ(a.CheckedAssistance, b.CheckedAssistance);
    EXPECT_EQ(a.ConfirmSaving, b.ConfirmSaving);
}

// Saves the record the way SaveSettings does (its document through the
// safe save), through a file that takes only failAfter bytes, as a full
// disk would.
bool SaveWithFullDisk(cSettingsRecord& record, const Container::cWideString& file, std::int64_t failAfter)
{
    AS::cLanguage document;
    if (!record.Transfer(AS::cDataAccessor::Writing, document))
        return false;
    return Storage::WriteFileSafely(file, [&](Storage::cFile& out) {
        out.LimitWrites(failAfter);
        return document.WriteTo(out);
    });
}

} // namespace

TEST(SettingsRecordTest, StartsWithTheDefaults)
{
    const cSettingsRecord record;
    EXPECT_TRUE(record.StoreInFile);
    EXPECT_TRUE(record.CheckedSaveFile);
    EXPECT_TRUE(record.CheckedCopyClipboard);
    EXPECT_FALSE(record.CheckedAssociatedProgram);
    EXPECT_EQ(record.FileNamePrefix, u"Quillsnapper");
    EXPECT_EQ(record.SaveFileFormat, u"png");
    EXPECT_TRUE(record.SaveFilePath.IsEmpty());
    EXPECT_FALSE(record.CheckedSameFileName);
    EXPECT_EQ(record.AssociatedProgramIndex, 0u);
    EXPECT_TRUE(record.AssociatedProgramPath.IsEmpty());
    EXPECT_TRUE(record.AssociatedProgramPathForUser.IsEmpty());
    EXPECT_TRUE(record.DefaultLanguage.IsEmpty());
    EXPECT_FALSE(record.CheckedAssistance);
    EXPECT_FALSE(record.ConfirmSaving);
}

TEST(SettingsRecordTest, DefaultRecordIsWrittenByteExact)
{
    Testing::cTempFolder folder;
    cSettingsRecord record;
    ASSERT_TRUE(record.SaveSettings(Container::cWideString(folder.File(u"QuillsnapperConfig.asl"))));
    EXPECT_EQ(FileBytes(folder.Path() / "QuillsnapperConfig.asl"), AsciiFile(DefaultFile));
}

TEST(SettingsRecordTest, FirstStartFileIsByteExact)
{
    // What the first exit writes: the desktop as save folder, no editor and
    // no Paint found, the language chosen at start-up.
    Testing::cTempFolder folder;
    cSettingsRecord record;
    cFakeEnvironment machine;
    const Container::cWideString file(folder.File(u"QuillsnapperConfig.asl"));
    EXPECT_FALSE(record.LoadSettings(file, machine));
    record.DefaultLanguage = u"English";
    ASSERT_TRUE(record.SaveSettings(file));
    EXPECT_EQ(FileBytes(folder.Path() / "QuillsnapperConfig.asl"),
              AsciiFile("Quillsnapper = {\r\n"
                        "\tProgram = {\r\n"
                        "\t\tCheckedSaveFile = true,\r\n"
                        "\t\tCheckedCopyClipboard = true,\r\n"
                        "\t\tCheckedAssociatedProgram = false,\r\n"
                        "\t\tSaveFileFormat = \"png\",\r\n"
                        "\t\tSaveFilePath = \"D:\\\\Users\\\\me\\\\Desktop\",\r\n"
                        "\t\tCheckedSameFileName = false,\r\n"
                        "\t\tAssociatedProgramIndex = 3,\r\n"
                        "\t\tAssociatedProgramPath = \"\",\r\n"
                        "\t\tAssociatedProgramPathForUser = \"\",\r\n"
                        "\t\tDefaultLanguage = \"English\",\r\n"
                        "\t\tCheckedAssistance = false,\r\n"
                        "\t\tConfirmSaving = false\r\n"
                        "\t}\r\n"
                        "};\r\n"));
}

TEST(SettingsRecordTest, NonAsciiTextIsWrittenAsUtf16)
{
    Testing::cTempFolder folder;
    cSettingsRecord record;
    record.DefaultLanguage = u"\uD55C\uAD6D\uC5B4";
    ASSERT_TRUE(record.SaveSettings(Container::cWideString(folder.File(u"c.asl"))));
    const std::vector<unsigned char> bytes = FileBytes(folder.Path() / "c.asl");
    // DefaultLanguage = "..." with the three Hangul syllables D55C AC6D C5B4.
    std::vector<unsigned char> expected = AsciiFile("\t\tDefaultLanguage = \"");
    expected.erase(expected.begin(), expected.begin() + 2);
    const unsigned char tail[] = {0x5C, 0xD5, 0x6D, 0xAD, 0xB4, 0xC5, '"', 0};
    expected.insert(expected.end(), std::begin(tail), std::end(tail));
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), expected.begin(), expected.end()), bytes.end());
}

TEST(SettingsRecordTest, EveryStoredValueRoundTrips)
{
    Testing::cTempFolder folder;
    const Container::cWideString file(folder.File(u"QuillsnapperConfig.asl"));
    cSettingsRecord written;
    Change(written);
    written.FileNamePrefix = u"NotStored";
    ASSERT_TRUE(written.SaveSettings(file));

    cSettingsRecord read;
    EXPECT_TRUE(read.Transfer(AS::cDataAccessor::Reading, file));
    ExpectSameStoredValues(read, written);
    EXPECT_EQ(read.FileNamePrefix, u"Quillsnapper");
}

TEST(SettingsRecordTest, LongSaveFolderRoundTripsWhole)
{
    Testing::cTempFolder folder;
    const Container::cWideString file(folder.File(u"QuillsnapperConfig.asl"));
    // 259 characters: the longest folder Windows paths allow.
    std::u16string path = u"E:\\";
    while (path.size() < 259)
        path += (path.size() % 40 == 0) ? u'\\' : u'x';
    ASSERT_EQ(path.size(), 259u);
    cSettingsRecord written;
    written.SaveFilePath = Container::cWideString(path);
    ASSERT_TRUE(written.SaveSettings(file));

    cSettingsRecord read;
    cFakeEnvironment machine;
    machine.existing.insert(path);
    read.LoadSettings(file, machine);
    EXPECT_EQ(read.SaveFilePath.Length(), 259u);
    EXPECT_EQ(read.SaveFilePath, Container::cWideString(path));
}

TEST(SettingsRecordTest, LongExistingFolderIsKeptByTheRealExistenceTest)
{
    Testing::cTempFolder folder;
    std::u16string path = folder.Path().u16string();
    while (path.size() < 259 - 22)
        path += u"/aaaaaaaaaaaaaaaaaaaa";
    path += u'/';
    path.append(259 - path.size(), u'b');
    ASSERT_EQ(path.size(), 259u);
    std::filesystem::create_directories(std::filesystem::path(path));

    cSettingsRecord record;
    record.SaveFilePath = Container::cWideString(path);
    cFakeEnvironment machine;
    machine.realFiles = true;
    record.CheckSaveFolder(machine);
    EXPECT_EQ(record.SaveFilePath, Container::cWideString(path));

    record.SaveFilePath = Container::cWideString(path + u"-gone");
    record.CheckSaveFolder(machine);
    EXPECT_EQ(record.SaveFilePath, u"D:\\Users\\me\\Desktop");

    // A file where the folder was: nothing could be saved there.
    const std::u16string file = folder.File(u"not-a-folder.png");
    WriteBytes(std::filesystem::path(file), {1, 2, 3});
    record.SaveFilePath = Container::cWideString(file);
    record.CheckSaveFolder(machine);
    EXPECT_EQ(record.SaveFilePath, u"D:\\Users\\me\\Desktop");
}

TEST(SettingsRecordTest, MissingFileKeepsTheDefaults)
{
    Testing::cTempFolder folder;
    cSettingsRecord record;
    EXPECT_FALSE(record.Transfer(AS::cDataAccessor::Reading, Container::cWideString(folder.File(u"none.asl"))));
    ExpectSameStoredValues(record, cSettingsRecord());
}

TEST(SettingsRecordTest, BrokenOrForeignFilesKeepWhatTheyCannotSupply)
{
    struct sCase
    {
        const char* name;
        const char* text;
        bool hasProgram;
        // Expected after the load: format, index, copy-to-clipboard.
        const char16_t* format;
        std::uint32_t index;
        bool copy;
    };
    const sCase cases[] = {
        {"empty", "", false, u"png", 0, true},
        {"no program block", "Quillsnapper = { Other = { SaveFileFormat = \"bmp\" } };", false, u"png", 0, true},
        {"wrong case", "Quillsnapper = { program = { SaveFileFormat = \"bmp\" } };", false, u"png", 0, true},
        {"syntax error halfway",
         "Quillsnapper = { Program = { SaveFileFormat = \"bmp\", CheckedCopyClipboard = false AssociatedProgramIndex = 2 } };",
         true, u"bmp", 0, false},
        {"wrong types",
         "Quillsnapper = { Program = { SaveFileFormat = 5, AssociatedProgramIndex = 2.0, CheckedCopyClipboard = \"\" } };",
         true, u"png", 0, false},
        {"index as text", "Quillsnapper = { Program = { AssociatedProgramIndex = \"2\" } };", true, u"png", 0, true},
        {"first of two", "Quillsnapper = { Program = { SaveFileFormat = \"gif\", SaveFileFormat = \"tga\" } };", true,
         u"gif", 0, true},
        {"unterminated string", "Quillsnapper = { Program = { AssociatedProgramIndex = 1, SaveFileFormat = \"tga",
         true, u"png", 1, true},
    };
    for (const sCase& test : cases) {
        SCOPED_TRACE(test.name);
        Testing::cTempFolder folder;
        std::string text = test.text;
        WriteBytes(folder.Path() / "c.asl", std::vector<unsigned char>(text.begin(), text.end()));
        cSettingsRecord record;
        EXPECT_EQ(record.Transfer(AS::cDataAccessor::Reading, Container::cWideString(folder.File(u"c.asl"))),
                  test.hasProgram);
        EXPECT_EQ(record.SaveFileFormat, test.format);
        EXPECT_EQ(record.AssociatedProgramIndex, test.index);
        EXPECT_EQ(record.CheckedCopyClipboard, test.copy);
    }
}

TEST(SettingsRecordTest, FailedSaveLeavesTheOldFileByteIdentical)
{
    Testing::cTempFolder folder;
    const Container::cWideString file(folder.File(u"QuillsnapperConfig.asl"));
    cSettingsRecord old;
    Change(old);
    ASSERT_TRUE(old.SaveSettings(file));
    const std::vector<unsigned char> before = FileBytes(folder.Path() / "QuillsnapperConfig.asl");
    ASSERT_GT(before.size(), 100u);

    cSettingsRecord record;
    for (std::int64_t failAfter : {0, 1, 2, 64, 301}) {
        SCOPED_TRACE(failAfter);
        EXPECT_FALSE(SaveWithFullDisk(record, file, failAfter));
        EXPECT_EQ(FileBytes(folder.Path() / "QuillsnapperConfig.asl"), before);
    }
    // Nothing is left beside the file.
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u);

    // Once writing works again the new values replace the old ones.
    ASSERT_TRUE(record.SaveSettings(file));
    EXPECT_EQ(FileBytes(folder.Path() / "QuillsnapperConfig.asl"), AsciiFile(DefaultFile));
}

TEST(SettingsRecordTest, SaveCreatesMissingFoldersAndReportsAFolderItCannotMake)
{
    Testing::cTempFolder folder;
    cSettingsRecord record;
    const std::u16string nested = folder.File(u"Vadrin") + u"\\Quillsnapper\\QuillsnapperConfig.asl";
    EXPECT_TRUE(record.SaveSettings(Container::cWideString(nested)));
    EXPECT_EQ(FileBytes(folder.Path() / "Vadrin" / "Quillsnapper" / "QuillsnapperConfig.asl"), AsciiFile(DefaultFile));

    // A file where the folder should be.
    WriteBytes(folder.Path() / "blocked", {1, 2, 3});
    const std::u16string blocked = folder.File(u"blocked") + u"\\QuillsnapperConfig.asl";
    EXPECT_FALSE(record.SaveSettings(Container::cWideString(blocked)));
    EXPECT_EQ(FileBytes(folder.Path() / "blocked"), (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_FALSE(record.SaveSettings(Container::cWideString()));
}

TEST(SettingsRecordTest, SaveFolderCheck)
{
    struct sCase
    {
        const char* name;
        const char16_t* folder;
        bool exists;
        const char16_t* desktop;
        const char16_t* expected;
    };
    const sCase cases[] = {
        {"existing folder kept", u"E:\\Shots", true, u"D:\\Desk", u"E:\\Shots"},
        {"drive root kept", u"E:\\", true, u"D:\\Desk", u"E:\\"},
        {"deleted folder", u"E:\\Gone", false, u"D:\\Desk", u"D:\\Desk"},
        {"a file, not a folder", u"E:\\shot.png", true, u"D:\\Desk", u"D:\\Desk"},
        {"empty", u"", false, u"D:\\Desk", u"D:\\Desk"},
        {"no desktop either", u"E:\\Gone", false, u"", u"E:\\Gone"},
    };
    for (const sCase& test : cases) {
        SCOPED_TRACE(test.name);
        cFakeEnvironment machine;
        machine.desktop = test.desktop;
        if (test.exists)
            machine.existing.insert(test.folder);
        if (std::u16string_view(test.folder).ends_with(u".png"))
            machine.files.insert(test.folder);
        cSettingsRecord record;
        record.SaveFilePath = test.folder;
        record.CheckSaveFolder(machine);
        EXPECT_EQ(record.SaveFilePath, test.expected);
    }
}

TEST(SettingsRecordTest, AssociatedProgramDetection)
{
    using E = cSettingsEnvironment;
    struct sCase
    {
        const char* name;
        std::uint32_t index;
        E::eInstallState pro;
        E::eInstallState editor;
        bool paint;
        std::uint32_t expectedIndex;
        const char16_t* expectedPath;
    };
    const char16_t* old = u"C:\\old.exe";
    const sCase cases[] = {
        {"pro found", 0, E::LocationKnown, E::LocationKnown, true, 0, u"C:\\Pro\\BrimvalePro.exe"},
        {"pro without location", 0, E::LocationUnknown, E::LocationKnown, true, 0, old},
        {"editor found", 0, E::NotInstalled, E::LocationKnown, true, 1, u"C:\\Ed\\Brimvale.exe"},
        {"editor without location", 0, E::NotInstalled, E::LocationUnknown, true, 1, old},
        {"paint", 0, E::NotInstalled, E::NotInstalled, true, 2, u"C:\\Windows\\system32\\mspaint.exe"},
        {"nothing", 0, E::NotInstalled, E::NotInstalled, false, 3, old},
        {"never up from the editor", 1, E::LocationKnown, E::NotInstalled, true, 2,
         u"C:\\Windows\\system32\\mspaint.exe"},
        {"never up from paint", 2, E::LocationKnown, E::LocationKnown, false, 3, old},
        {"user program stays", 3, E::LocationKnown, E::LocationKnown, true, 3, old},
        {"unknown index starts at the top", 7, E::LocationKnown, E::LocationKnown, true, 0,
         u"C:\\Pro\\BrimvalePro.exe"},
    };
    for (const sCase& test : cases) {
        SCOPED_TRACE(test.name);
        cFakeEnvironment machine;
        if (test.pro != E::NotInstalled)
            machine.programs[u"Vadrin Brimvale Pro"] = {test.pro, u"C:\\Pro"};
        if (test.editor != E::NotInstalled)
            machine.programs[u"Vadrin Brimvale"] = {test.editor, u"C:\\Ed"};
        if (test.paint)
            machine.existing.insert(u"C:\\Windows\\system32\\mspaint.exe");
        cSettingsRecord record;
        record.AssociatedProgramIndex = test.index;
        record.AssociatedProgramPath = old;
        record.AssociatedProgramPathForUser = u"C:\\mine.exe";
        record.DetectAssociatedProgram(machine);
        EXPECT_EQ(record.AssociatedProgramIndex, test.expectedIndex);
        EXPECT_EQ(record.AssociatedProgramPath, test.expectedPath);
        EXPECT_EQ(record.AssociatedProgramPathForUser, u"C:\\mine.exe");
    }
}

TEST(SettingsRecordTest, DetectionAsksInOrderAndStopsAtTheFirstProgramFound)
{
    cFakeEnvironment machine;
    cSettingsRecord record;
    record.DetectAssociatedProgram(machine);
    EXPECT_EQ(machine.asked,
              (std::vector<std::string>{"key:Vadrin Brimvale Pro", "key:Vadrin Brimvale", "system"}));

    machine.asked.clear();
    machine.programs[u"Vadrin Brimvale Pro"] = {cSettingsEnvironment::LocationKnown, u"C:\\P"};
    record.AssociatedProgramIndex = 0;
    record.DetectAssociatedProgram(machine);
    EXPECT_EQ(machine.asked, (std::vector<std::string>{"key:Vadrin Brimvale Pro"}));

    machine.asked.clear();
    record.AssociatedProgramIndex = 3;
    record.DetectAssociatedProgram(machine);
    EXPECT_TRUE(machine.asked.empty());
}

TEST(SettingsRecordTest, LoadBringsTheFileUpToDateWithTheMachine)
{
    Testing::cTempFolder folder;
    const Container::cWideString file(folder.File(u"QuillsnapperConfig.asl"));
    cSettingsRecord stored;
    stored.SaveFilePath = u"E:\\Deleted";
    stored.AssociatedProgramIndex = 0;
    stored.SaveFileFormat = u"bmp";
    ASSERT_TRUE(stored.SaveSettings(file));

    cFakeEnvironment machine;
    machine.existing.insert(u"C:\\Windows\\system32\\mspaint.exe");
    cSettingsRecord record;
    EXPECT_TRUE(record.LoadSettings(file, machine));
    EXPECT_EQ(record.SaveFileFormat, u"bmp");
    EXPECT_EQ(record.SaveFilePath, u"D:\\Users\\me\\Desktop");
    EXPECT_EQ(record.AssociatedProgramIndex, 2u);
    EXPECT_EQ(record.AssociatedProgramPath, u"C:\\Windows\\system32\\mspaint.exe");
}

TEST(SettingsRecordTest, SettingsFileFollowsTheProgramOntoRemovableDrives)
{
    cFakeEnvironment machine;
    Container::cWideString file;
    ASSERT_TRUE(cSettingsRecord::SettingsFile(machine, u"C:\\Program Files\\Quillsnapper", file));
    EXPECT_EQ(file, u"D:\\Users\\me\\AppData\\Vadrin\\Quillsnapper\\QuillsnapperConfig.asl");

    machine.removable = true;
    machine.asked.clear();
    ASSERT_TRUE(cSettingsRecord::SettingsFile(machine, u"F:\\Tools", file));
    EXPECT_EQ(file, u"F:\\Tools\\QuillsnapperConfig.asl");
    // The application-data folder is not even looked up.
    EXPECT_EQ(machine.asked, (std::vector<std::string>{"drive"}));

    machine.removable = false;
    machine.appData = u"";
    file = u"unchanged";
    EXPECT_FALSE(cSettingsRecord::SettingsFile(machine, u"C:\\Program Files\\Quillsnapper", file));
    EXPECT_EQ(file, u"unchanged");
}

TEST(SettingsRecordTest, NamingIsACopyTheRecordCanChangeUnder)
{
    cSettingsRecord record;
    record.SaveFilePath = u"E:\\Shots";
    record.SaveFileFormat = u"png";
    record.CheckedSameFileName = true;
    const cSettingsRecord::sNaming naming = record.Naming();

    record.FileNamePrefix = u"Changed";
    record.SaveFilePath = u"F:\\Other";
    record.SaveFileFormat.Append(u"xyz");
    record.CheckedSameFileName = false;

    EXPECT_EQ(naming.prefix, u"Quillsnapper");
    EXPECT_EQ(naming.folder, u"E:\\Shots");
    EXPECT_EQ(naming.format, u"png");
    EXPECT_TRUE(naming.sameFileName);
    EXPECT_NE(naming.folder.Text(), record.SaveFilePath.Text());
}
