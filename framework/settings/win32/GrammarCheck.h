#pragma once

#include <windows.h>

#include "framework/settings/AppLanguage.h"

// The grammar check of a language as the user sees it: a message box owned
// by owner, titled caption, with the syntax errors of the language's text
// (or the current language's "OK" when there are none). Nothing is shown
// when the language has neither a file nor a resource; answers whether a
// box was shown.
bool ShowGrammarCheck(HWND owner, const char16_t* caption, const Container::cWideString& language,
                      const cAppLanguage::sSources& sources);
