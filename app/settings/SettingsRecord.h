#pragma once

#include "app/settings/SettingsEnvironment.h"
#include "framework/core/WideString.h"
#include "framework/settings/DataAccessor.h"
#include "framework/settings/Language.h"

#include <cstdint>

// Every option of the program. The record is a member of the application
// object; it is loaded once at start-up and saved once at exit, as the block
// Program of the settings file QuillsnapperConfig.asl. The user-interface
// thread reads and changes the fields directly; other threads take a copy
// of what they need (Naming) when they are created.
class cSettingsRecord
{
public:
    static constexpr const char16_t* MakerName = u"Vadrin";
    static constexpr const char16_t* ProgramName = u"Quillsnapper";
    static constexpr const char16_t* BlockName = u"Program";

    // Values of AssociatedProgramIndex.
    enum eAssociatedProgram : std::uint32_t
    {
        BrimvalePro = 0,
        Brimvale = 1,
        Paint = 2,
        UserProgram = 3,
    };

    // The settings that name saved files, copied for a save worker so that
    // later changes on the user-interface thread do not reach it halfway.
    struct sNaming
    {
        Container::cWideString prefix;
        Container::cWideString format;
        Container::cWideString folder;
        bool sameFileName = false;
    };

    // Not stored: the settings file is always the store.
    bool StoreInFile = true;
    // Stored and loaded; captures are saved whatever it says.
    bool CheckedSaveFile = true;
    bool CheckedCopyClipboard = true;
    bool CheckedAssociatedProgram = false;
    // Not stored: the first part of generated file names.
    Container::cWideString FileNamePrefix{u"Quillsnapper"};
    // Extension of saved files, without the dot.
    Container::cWideString SaveFileFormat{u"png"};
    // Folder of saved files, without a trailing separator.
    Container::cWideString SaveFilePath;
    bool CheckedSameFileName = false;
    std::uint32_t AssociatedProgramIndex = BrimvalePro;
    // The detected program for the indices below UserProgram.
    Container::cWideString AssociatedProgramPath;
    Container::cWideString AssociatedProgramPathForUser;
    Container::cWideString DefaultLanguage;
    bool CheckedAssistance = false;
    bool ConfirmSaving = false;

    // A copy of the naming settings.
    sNaming Naming() const;

    // The stored values, in file order, through node: read into the fields
    // when the accessor reads, written from them when it writes. Answers
    // whether every value was transferred (a value missing from a file
    // makes it false; the field keeps its value).
    bool Exchange(AS::cDataAccessor::cNode& node);

    // The one routine behind loading and saving the settings file.
    // Reading: parses the file (a missing or broken file leaves the fields
    // as they are, or as far as the parse got) and answers whether the file
    // held the Program block. Writing: creates the file's folder with all
    // its parents and writes the whole file through a new file that then
    // replaces the old one; answers false, leaving any old file as it was,
    // when that fails.
    bool Transfer(AS::cDataAccessor::eDirection direction, const Container::cWideString& file);
    // The same over a document in memory. Reading: answers whether the
    // document held the Program block. Writing: names the root after the
    // program and appends the Program block; answers whether every value
    // was written.
    bool Transfer(AS::cDataAccessor::eDirection direction, AS::cLanguage& document);

    // Reading, then bringing the save folder and the associated program up
    // to date with the machine.
    bool LoadSettings(const Container::cWideString& file, cSettingsEnvironment& environment);
    bool SaveSettings(const Container::cWideString& file) { return Transfer(AS::cDataAccessor::Writing, file); }

    // A save folder that does not exist (or is empty) becomes the desktop.
    void CheckSaveFolder(cSettingsEnvironment& environment);
    // Looks for the associated program from the stored index down: the Pro
    // editor, the editor, Paint in the system folder, the user's program.
    // An index is never moved up; an unknown index starts from the top.
    void DetectAssociatedProgram(cSettingsEnvironment& environment);

    // The folder of the settings file: the program folder when it lies on a
    // removable or CD-ROM drive, else Vadrin\Quillsnapper in the user's
    // application data. False when it cannot be told.
    static bool SettingsFolder(cSettingsEnvironment& environment, const Container::cWideString& programFolder,
                               Container::cWideString& folder);
    // SettingsFolder with QuillsnapperConfig.asl.
    static bool SettingsFile(cSettingsEnvironment& environment, const Container::cWideString& programFolder,
                             Container::cWideString& file);
};
