#include "framework/settings/win32/GrammarCheck.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is passed to Win32 as wchar_t");

bool ShowGrammarCheck(HWND owner, const char16_t* caption, const Container::cWideString& language,
                      const cAppLanguage::sSources& sources)
{
    Container::cWideString message;
    if (!cAppLanguage::CheckGrammar(language, sources, message))
        return false;
    MessageBoxW(owner, reinterpret_cast<const wchar_t*>(message.Text()),
                reinterpret_cast<const wchar_t*>(caption ? caption : u""), MB_OK);
    return true;
}
