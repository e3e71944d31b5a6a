#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The ids of the texts the program shows, with the names language texts
// use for them. Dialog (IDD_) and control (IDC_) ids are the resource ids of
// the templates, so a dialog's title and its controls' captions are found
// by the numbers the template uses.
namespace LanguageIds {

struct sIdName
{
    const char16_t* name;
    std::int32_t id;
};

// The 86 names a language text may define; any other name is ignored.
std::span<const sIdName> Table();

// Ids the toolkit and the language selection refer to by number.
inline constexpr std::int32_t Ok = 1;
inline constexpr std::int32_t Cancel = 2;
inline constexpr std::int32_t Yes = 6;
inline constexpr std::int32_t No = 7;
inline constexpr std::int32_t ProductUrl = 3082;
inline constexpr std::int32_t Copyright = 3084;
inline constexpr std::int32_t DocumentType = 3104;
inline constexpr std::int32_t About = 32774;
// The one-line invitation to try the maker's editor; also the dialogs'
// footer link.
inline constexpr std::int32_t PromotionText = 32775;
inline constexpr std::int32_t PromotionUrl = 32785;

} // namespace LanguageIds
