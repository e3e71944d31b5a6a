#pragma once

#include "framework/core/WideString.h"

// The file types the save dialog offers, as one "|"-separated text of
// description and pattern pairs ending in "||".
class cSaveDialogFilter
{
public:
    static const char16_t* Text();
    // The 1-based filter entry that lists "*.<format>"; one more than the
    // number of entries when none does (the dialog then shows the first).
    static int IndexOf(const Container::cWideString& format);
};
