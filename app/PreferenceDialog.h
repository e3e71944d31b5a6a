#pragma once

#include <windows.h>

#include "framework/core/StringList.h"
#include "framework/core/WideString.h"
#include "framework/settings/AppLanguage.h"
#include "framework/window/Dialog.h"

class cSettingsEnvironment;
class cSettingsRecord;

// The options dialog (template 119): what happens after a capture, how
// files are named, their format and folder, the associated program, the
// interface language and the zoom assistance. OK copies the controls into
// the settings record; the associated-program radio buttons and the
// settings' Default button change the record at once.
class cPreferenceDialog : public Window::cDialog
{
public:
    // settings and environment must outlive the dialog; languages: where
    // the language list and the grammar check find the languages.
    cPreferenceDialog(cSettingsRecord& settings, cSettingsEnvironment& environment, cAppLanguage::sSources languages);
    ~cPreferenceDialog() override;

    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
    void OnOK() override;
    bool OnInitDialog() override;

    // The formats offered, in their order: those of the list a writer
    // exists for.
    static Container::cStringList WritableFormats();
    // Reloads the controls from the settings record, after moving the
    // associated program down to the first one available.
    void UpdateControls();

private:
    // Makes index the associated program and brings its path up to date,
    // falling through to the next available program as at load.
    void SelectProgram(std::uint32_t index);
    void ShowUserProgram(bool show);
    void BrowseForSaveFolder();
    void ChooseUserProgram();
    Container::cWideString ItemText(int id) const;
    void SetItemText(int id, const Container::cWideString& text);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    // The selected entry of a drop-down list; empty when none.
    Container::cWideString Selection(int id) const;

    cSettingsRecord& m_settings;
    cSettingsEnvironment& m_environment;
    cAppLanguage::sSources m_languages;
    // The folder the folder browser opens at: it must outlive the browser,
    // which reads it after a delay.
    Container::cWideString m_browseStart;
};
