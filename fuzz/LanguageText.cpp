// Reads arbitrary bytes as a language text, the way a language file or a
// language resource is read, and checks the table's promises: texts stay
// within their buffer, the error text stops growing at its limit, and the
// grammar check and the loader agree on what a clean text is.

#include "framework/core/TextFile.h"
#include "framework/settings/AppLanguage.h"
#include "framework/settings/LanguageIds.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Container::cWideString text;
    if (!Storage::DecodeText(data, size, text))
        return 0;

    cAppLanguage language;
    language.RegisterIdNames();
    Container::cWideString errors;
    language.Parse(text.View(), &errors);
    // One message is at most the formatter's limit; none is added once the
    // text has reached the error limit.
    if (errors.Length() >= cLanguage::MaxErrorLength + Container::cWideString::MaxFormatLength)
        __builtin_trap();
    for (const auto& entry : LanguageIds::Table())
        if (const Container::cWideString* value = language.Text(entry.id))
            if (value->Length() > cLanguage::MaxTextLength)
                __builtin_trap();

    // The same text as base: the same pairs, so the same texts.
    language.ParseBase(text.View());
    for (const auto& entry : LanguageIds::Table())
    {
        const Container::cWideString* current = language.Text(entry.id);
        const Container::cWideString* base = language.BaseText(entry.id);
        if (base && !(current && *current == *base))
            __builtin_trap();
    }
    return 0;
}
