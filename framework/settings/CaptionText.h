#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How a language text "Caption|Description|Tool-tip" becomes the caption of
// a control or menu item and the text of its tool tip. The keyboard
// mnemonic ('&' before a letter) comes from the base language, so a
// translation keeps the letter the English caption has:
//
//     base "&Save",       caption "Speichern"   -> "&Speichern"
//     base "&Save",       caption "저장"         -> "저장(&S)"
//     base "&Browse...",  caption "찾아보기..."  -> "찾아보기(&B)..."
namespace CaptionText {

// The part of a language text before its first '|' (all of it when there
// is none).
std::u16string_view CaptionField(std::u16string_view text);

// The mnemonic letter of a base text, upper-cased: the character after the
// first '&' in its caption field that is followed by something other than
// '&'. 0 when there is none.
char16_t MnemonicLetter(std::u16string_view baseText);

// True when a caption has a mnemonic of its own: an '&' followed by a
// character other than '&'.
bool HasMnemonic(std::u16string_view caption);

// The caption of text, with the mnemonic of baseText (null: none) put in:
// '&' before the first character that upper-cases to the letter; else
// "(&X)" before a final ':' or '.' or a final "..."; else "(&X)" at the
// end. A caption that already has a mnemonic is kept as it is.
std::u16string Caption(std::u16string_view text, const std::u16string_view* baseText);

// The tool tip of a control's text: everything after the first '|' when
// that '|' is not the last character; otherwise the whole text.
std::u16string_view ControlToolTip(std::u16string_view text);

// Upper case of one UTF-16 code unit for ASCII, Latin-1, Greek and
// Cyrillic letters; every other character is its own upper case.
char16_t UpperCase(char16_t character);

} // namespace CaptionText
