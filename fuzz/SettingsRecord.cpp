// Loads the settings record from arbitrary settings-file bytes (encoding
// chosen by byte-order mark, as the file is read), brings it up to date with
// a machine that has every program installed where the file says, saves it,
// and checks that loading what was saved gives the same record and that
// saving again gives the same text.

#include "app/settings/SettingsRecord.h"
#include "framework/core/TextFile.h"
#include "framework/settings/Language.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Answers from the record's own values; only PathExists asks the file
// system (read only).
class cFuzzEnvironment : public cSettingsEnvironment
{
public:
    explicit cFuzzEnvironment(const cSettingsRecord& record) : m_record(record) {}

    bool IsOnRemovableDrive(const Container::cWideString&) override { return false; }
    bool ApplicationDataFolder(Container::cWideString& folder) override { return folder.Assign(u"C:\\Data"); }
    bool DesktopFolder(Container::cWideString& folder) override { return folder.Assign(u"C:\\Desktop"); }
    bool SystemFolder(Container::cWideString& folder) override { return folder.Assign(m_record.DefaultLanguage); }
    eInstallState InstalledProgram(const char16_t*, Container::cWideString& location) override
    {
        if (m_record.AssociatedProgramPathForUser.IsEmpty())
            return LocationUnknown;
        location = m_record.AssociatedProgramPathForUser;
        return m_record.CheckedAssistance ? LocationKnown : NotInstalled;
    }

private:
    const cSettingsRecord& m_record;
};

bool SameStoredValues(const cSettingsRecord& a, const cSettingsRecord& b)
{
    return a.CheckedSaveFile == b.CheckedSaveFile && a.CheckedCopyClipboard == b.CheckedCopyClipboard &&
           a.CheckedAssociatedProgram == b.CheckedAssociatedProgram && a.SaveFileFormat == b.SaveFileFormat &&
           a.SaveFilePath == b.SaveFilePath && a.CheckedSameFileName == b.CheckedSameFileName &&
           a.AssociatedProgramIndex == b.AssociatedProgramIndex &&
           a.AssociatedProgramPath == b.AssociatedProgramPath &&
           a.AssociatedProgramPathForUser == b.AssociatedProgramPathForUser &&
           a.DefaultLanguage == b.DefaultLanguage && a.CheckedAssistance == b.CheckedAssistance &&
           a.ConfirmSaving == b.ConfirmSaving;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Container::cWideString text;
    if (!Storage::DecodeText(data, size, text))
        return 0;

    AS::cLanguage file;
    file.Parse(text.View());
    cSettingsRecord record;
    record.Transfer(AS::cDataAccessor::Reading, file);
    cFuzzEnvironment machine(record);
    record.CheckSaveFolder(machine);
    record.DetectAssociatedProgram(machine);
    if (record.AssociatedProgramIndex > cSettingsRecord::UserProgram)
        std::abort();
    const cSettingsRecord::sNaming naming = record.Naming();
    if (!(naming.folder == record.SaveFilePath) || !(naming.format == record.SaveFileFormat))
        std::abort();

    AS::cLanguage saved;
    if (!record.Transfer(AS::cDataAccessor::Writing, saved))
        std::abort();
    std::u16string written;
    if (!saved.Write(written))
        std::abort();

    AS::cLanguage reread;
    if (!reread.Parse(written))
        std::abort();
    cSettingsRecord again;
    if (!again.Transfer(AS::cDataAccessor::Reading, reread) || !SameStoredValues(record, again))
        std::abort();

    AS::cLanguage savedAgain;
    std::u16string rewritten;
    if (!again.Transfer(AS::cDataAccessor::Writing, savedAgain) || !savedAgain.Write(rewritten) ||
        rewritten != written)
        std::abort();
    return 0;
}
