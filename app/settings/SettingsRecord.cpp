#include "app/settings/SettingsRecord.h"

#include "framework/core/PathHelpers.h"
#include "framework/settings/LanguageAccessor.h"

namespace {

const char16_t UninstallKeyPro[] = u"Vadrin Brimvale Pro";
const char16_t UninstallKeyEditor[] = u"Vadrin Brimvale";
const char16_t ProgramPro[] = u"\\BrimvalePro.exe";
const char16_t ProgramEditor[] = u"\\Brimvale.exe";
const char16_t ProgramPaint[] = u"\\mspaint.exe";

// folder + tail, or false when memory runs out.
bool Join(Container::cWideString& result, const Container::cWideString& folder, const char16_t* tail)
{
    Container::cWideString text;
    if (!text.Assign(folder) || !text.Append(tail))
        return false;
    result = std::move(text);
    return true;
}

} // namespace

cSettingsRecord::sNaming cSettingsRecord::Naming() const
{
    sNaming naming;
    naming.prefix = FileNamePrefix;
    naming.format = SaveFileFormat;
    naming.folder = SaveFilePath;
    naming.sameFileName = CheckedSameFileName;
    return naming;
}

bool cSettingsRecord::Exchange(AS::cDataAccessor::cNode& node)
{
    // The list of stored values exists here only; its order is the file's.
    bool all = true;
    all &= node.Value(u"CheckedSaveFile", CheckedSaveFile);
    all &= node.Value(u"CheckedCopyClipboard", CheckedCopyClipboard);
    all &= node.Value(u"CheckedAssociatedProgram", CheckedAssociatedProgram);
    all &= node.Value(u"SaveFileFormat", SaveFileFormat);
    all &= node.Value(u"SaveFilePath", SaveFilePath);
    all &= node.Value(u"CheckedSameFileName", CheckedSameFileName);
    all &= node.Value(u"AssociatedProgramIndex", AssociatedProgramIndex);
    all &= node.Value(u"AssociatedProgramPath", AssociatedProgramPath);
    all &= node.Value(u"AssociatedProgramPathForUser", AssociatedProgramPathForUser);
    all &= node.Value(u"DefaultLanguage", DefaultLanguage);
    all &= node.Value(u"CheckedAssistance", CheckedAssistance);
    all &= node.Value(u"ConfirmSaving", ConfirmSaving);
    return all;
}

bool cSettingsRecord::Transfer(AS::cDataAccessor::eDirection direction, AS::cLanguage& document)
{
    AS::cLanguageAccessor accessor;
    accessor.SetDirection(direction);
    if (accessor.Root() == nullptr)
        return false;
    if (direction == AS::cDataAccessor::Writing && !document.Root().SetName(ProgramName))
        return false;
    accessor.Attach(document.Root());
    AS::cDataAccessor::cNode* program = accessor.Root()->Child(BlockName);
    if (program == nullptr)
        return false;
    const bool all = Exchange(*program);
    // Reading: values missing from the file simply keep their defaults.
    return direction == AS::cDataAccessor::Reading || all;
}

bool cSettingsRecord::Transfer(AS::cDataAccessor::eDirection direction, const Container::cWideString& file)
{
    AS::cLanguage document;
    if (direction == AS::cDataAccessor::Reading) {
        // A file that cannot be read leaves the document empty; a parse
        // error keeps what was read before it.
        document.Load(file);
        return Transfer(direction, document);
    }
    if (file.IsEmpty() || !Transfer(direction, document))
        return false;
    const Container::cWideString folder = Storage::DirectoryOf(file);
    if (!folder.IsEmpty())
        Storage::MakeDirectories(folder);
    return document.Save(file);
}

bool cSettingsRecord::LoadSettings(const Container::cWideString& file, cSettingsEnvironment& environment)
{
    const bool loaded = Transfer(AS::cDataAccessor::Reading, file);
    CheckSaveFolder(environment);
    DetectAssociatedProgram(environment);
    return loaded;
}

void cSettingsRecord::CheckSaveFolder(cSettingsEnvironment& environment)
{
    // Pictures can only be saved in a folder: a file of that name is
    // replaced as a missing folder is.
    if (environment.FolderExists(SaveFilePath))
        return;
    Container::cWideString desktop;
    if (environment.DesktopFolder(desktop))
        SaveFilePath = std::move(desktop);
}

void cSettingsRecord::DetectAssociatedProgram(cSettingsEnvironment& environment)
{
    if (AssociatedProgramIndex > UserProgram)
        AssociatedProgramIndex = BrimvalePro;

    // Each step either keeps its index (the program is there) or falls
    // through to the next one.
    if (AssociatedProgramIndex == BrimvalePro) {
        Container::cWideString location;
        switch (environment.InstalledProgram(UninstallKeyPro, location)) {
        case cSettingsEnvironment::NotInstalled: AssociatedProgramIndex = Brimvale; break;
        case cSettingsEnvironment::LocationKnown: Join(AssociatedProgramPath, location, ProgramPro); break;
        case cSettingsEnvironment::LocationUnknown: break;
        }
    }
    if (AssociatedProgramIndex == Brimvale) {
        Container::cWideString location;
        switch (environment.InstalledProgram(UninstallKeyEditor, location)) {
        case cSettingsEnvironment::NotInstalled: AssociatedProgramIndex = Paint; break;
        case cSettingsEnvironment::LocationKnown: Join(AssociatedProgramPath, location, ProgramEditor); break;
        case cSettingsEnvironment::LocationUnknown: break;
        }
    }
    if (AssociatedProgramIndex == Paint) {
        Container::cWideString system;
        Container::cWideString paint;
        if (environment.SystemFolder(system) && Join(paint, system, ProgramPaint) && environment.PathExists(paint))
            AssociatedProgramPath = std::move(paint);
        else
            AssociatedProgramIndex = UserProgram;
    }
    // UserProgram: AssociatedProgramPathForUser is used as it stands.
}

bool cSettingsRecord::SettingsFolder(cSettingsEnvironment& environment, const Container::cWideString& programFolder,
                                     Container::cWideString& folder)
{
    if (!programFolder.IsEmpty() && environment.IsOnRemovableDrive(programFolder)) {
        folder = programFolder;
        return !folder.IsEmpty();
    }
    Container::cWideString data;
    if (!environment.ApplicationDataFolder(data) || data.IsEmpty())
        return false;
    Container::cWideString result;
    if (!result.Assign(data) || !result.Append(u'\\') || !result.Append(MakerName) || !result.Append(u'\\') ||
        !result.Append(ProgramName))
        return false;
    folder = std::move(result);
    return true;
}

bool cSettingsRecord::SettingsFile(cSettingsEnvironment& environment, const Container::cWideString& programFolder,
                                   Container::cWideString& file)
{
    Container::cWideString folder;
    if (!SettingsFolder(environment, programFolder, folder))
        return false;
    Container::cWideString result;
    if (!result.Assign(folder) || !result.Append(u'\\') || !result.Append(ProgramName) || !result.Append(u"Config.asl"))
        return false;
    file = std::move(result);
    return true;
}
