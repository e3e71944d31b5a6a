#include "framework/core/WideString.h"

#include "framework/core/StringBlock.h"
#include "platform/Platform.h"

#include <climits>
#include <cstdio>
#include <string>

namespace Container {

namespace Block = StringBlock;

std::size_t TextLength(const char16_t* text)
{
    return Block::TextLength(text);
}

cWideString::cWideString(const char16_t* text)
{
    Assign(text);
}

cWideString::cWideString(const char16_t* text, std::size_t count)
{
    Assign(text, count);
}

cWideString::cWideString(std::u16string_view text)
{
    Assign(text);
}

cWideString::cWideString(const cWideString& other)
{
    Assign(other);
}

cWideString::cWideString(cWideString&& other) noexcept : m_text(other.m_text)
{
    other.m_text = nullptr;
}

cWideString::~cWideString()
{
    Block::Free(m_text);
}

cWideString& cWideString::operator=(const cWideString& other)
{
    Assign(other);
    return *this;
}

cWideString& cWideString::operator=(cWideString&& other) noexcept
{
    if (this != &other)
    {
        Block::Free(m_text);
        m_text = other.m_text;
        other.m_text = nullptr;
    }
    return *this;
}

cWideString& cWideString::operator=(const char16_t* text)
{
    Assign(text);
    return *this;
}

std::size_t cWideString::Length() const
{
    return Block::Length(m_text);
}

std::size_t cWideString::Capacity() const
{
    return Block::Capacity(m_text);
}

char16_t cWideString::At(std::size_t index) const
{
    return index < Length() ? m_text[index] : 0;
}

bool cWideString::Assign(const char16_t* text)
{
    return Block::Assign(m_text, text, Block::TextLength(text));
}

bool cWideString::Assign(const char16_t* text, std::size_t count)
{
    return Block::Assign(m_text, text, count);
}

bool cWideString::Assign(const cWideString& other)
{
    if (this == &other)
        return true;
    return Block::Assign(m_text, other.m_text, other.Length());
}

bool cWideString::Assign(std::u16string_view text)
{
    return Block::Assign(m_text, text.data() ? text.data() : u"", text.size());
}

bool cWideString::AssignUtf8(std::string_view text)
{
    std::u16string converted;
    Platform::Utf8ToUtf16(text.data(), text.size(), converted);
    return Block::Assign(m_text, converted.c_str(), converted.size());
}

void cWideString::Clear()
{
    Block::Free(m_text);
    m_text = nullptr;
}

bool cWideString::Append(const char16_t* text)
{
    return Block::Append(m_text, text, Block::TextLength(text));
}

bool cWideString::Append(const char16_t* text, std::size_t count)
{
    if (!text)
        count = 0;
    return Block::Append(m_text, text, count);
}

bool cWideString::Append(const cWideString& other)
{
    return Block::Append(m_text, other.m_text, other.Length());
}

bool cWideString::Append(char16_t character)
{
    return Block::Append(m_text, &character, 1);
}

cWideString operator+(const cWideString& a, const cWideString& b)
{
    cWideString result;
    if (result.Reserve(a.Length() + b.Length() + 1))
    {
        result.Append(a);
        result.Append(b);
    }
    return result;
}

cWideString operator+(const cWideString& a, const char16_t* b)
{
    cWideString result(a);
    result.Append(b);
    return result;
}

std::size_t cWideString::Find(const char16_t* text, std::size_t start) const
{
    const std::size_t length = Length();
    if (!text)
        return length;
    return Block::Find(Text(), length, text, Block::TextLength(text), start);
}

std::size_t cWideString::Find(char16_t character, std::size_t start) const
{
    const std::size_t length = Length();
    for (std::size_t i = start; i < length; ++i)
        if (m_text[i] == character)
            return i;
    return length;
}

bool cWideString::Replace(const char16_t* what, const char16_t* with)
{
    const std::size_t whatLength = Block::TextLength(what);
    const std::size_t length = Length();
    if (whatLength == 0 || length == 0)
        return false;
    const std::size_t withLength = Block::TextLength(with);
    std::size_t at = Find(what, 0);
    if (at == length)
        return false;
    cWideString result;
    std::size_t from = 0;
    while (at < length)
    {
        if (!result.Append(m_text + from, at - from) || !result.Append(with, withLength))
            return false;
        from = at + whatLength;
        at = Find(what, from);
    }
    if (!result.Append(m_text + from, length - from))
        return false;
    *this = std::move(result);
    return true;
}

void cWideString::RemoveMnemonics()
{
    const std::size_t length = Length();
    std::size_t out = 0;
    for (std::size_t i = 0; i < length; ++i)
    {
        if (m_text[i] == u'&')
        {
            if (++i == length)
                break;
        }
        m_text[out++] = m_text[i];
    }
    if (m_text)
        Block::SetLength(m_text, out);
}

int cWideString::Compare(const cWideString& other) const
{
    return Block::Compare<char16_t, char16_t, false>(m_text, Length(), other.m_text, other.Length());
}

int cWideString::Compare(const char16_t* text) const
{
    return Block::Compare<char16_t, char16_t, false>(m_text, Length(), text, Block::TextLength(text));
}

int cWideString::CompareNoCase(const cWideString& other) const
{
    return Block::Compare<char16_t, char16_t, true>(m_text, Length(), other.m_text, other.Length());
}

int cWideString::CompareNoCase(const char16_t* text) const
{
    return Block::Compare<char16_t, char16_t, true>(m_text, Length(), text, Block::TextLength(text));
}

int cWideString::CompareNoCase(const char16_t* text, std::size_t count) const
{
    std::size_t length = Length();
    std::size_t textLength = Block::TextLength(text);
    if (length > count)
        length = count;
    if (textLength > count)
        textLength = count;
    return Block::Compare<char16_t, char16_t, true>(m_text, length, text, textLength);
}

bool cWideString::Equals(const cWideString& other) const
{
    return View() == other.View();
}

bool cWideString::Equals(const char16_t* text) const
{
    return View() == std::u16string_view(text ? text : u"");
}

bool cWideString::Resize(std::size_t length)
{
    return Block::Resize(m_text, length);
}

bool cWideString::Reserve(std::size_t capacity)
{
    return Block::Reserve(m_text, capacity);
}

// ---- Format -------------------------------------------------------------

namespace {

// Collects at most MaxFormatLength characters; the rest is dropped.
class cFormatOutput
{
public:
    void Put(char16_t c)
    {
        if (m_length < cWideString::MaxFormatLength)
            m_text[m_length++] = c;
    }
    void Repeat(char16_t c, std::size_t count)
    {
        for (std::size_t i = 0; i < count && !Full(); ++i)
            Put(c);
    }
    bool Full() const { return m_length >= cWideString::MaxFormatLength; }
    std::size_t Length() const
    {
        // Do not leave half a surrogate pair at a cut.
        if (Full() && m_text[m_length - 1] >= 0xD800 && m_text[m_length - 1] <= 0xDBFF)
            return m_length - 1;
        return m_length;
    }
    const char16_t* Text() const { return m_text; }

private:
    char16_t m_text[cWideString::MaxFormatLength + 1];
    std::size_t m_length = 0;
};

struct sField
{
    bool left = false;
    bool zero = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
    enum eSize { Default, Char, Short, Long, LongLong, Size, Max, PtrDiff, LongDouble } size = Default;
};

// Width and precision beyond the output limit change nothing visible.
constexpr int MaxField = static_cast<int>(cWideString::MaxFormatLength) + 64;

void PutPadded(cFormatOutput& out, const sField& field, const char16_t* body, std::size_t length,
               char16_t pad = u' ')
{
    const std::size_t width = field.width > 0 ? static_cast<std::size_t>(field.width) : 0;
    const std::size_t fill = width > length ? width - length : 0;
    if (!field.left)
        out.Repeat(pad, fill);
    for (std::size_t i = 0; i < length && !out.Full(); ++i)
        out.Put(body[i]);
    if (field.left)
        out.Repeat(u' ', fill);
}

void PutInteger(cFormatOutput& out, const sField& field, unsigned long long magnitude, bool negative,
                unsigned base, bool upper, bool isSigned)
{
    char16_t digits[72];
    std::size_t count = 0;
    const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (unsigned long long v = magnitude; v != 0; v /= base)
        digits[count++] = static_cast<char16_t>(alphabet[v % base]);
    // Precision is the minimum number of digits; 0 with value 0 gives none.
    const std::size_t precision = field.precision < 0 ? 1 : static_cast<std::size_t>(field.precision);
    std::size_t leadingZeros = precision > count ? precision - count : 0;
    if (base == 8 && field.alternate && leadingZeros == 0 && (count == 0 || digits[count - 1] != u'0'))
        leadingZeros = 1;

    char16_t prefix[3];
    std::size_t prefixLength = 0;
    if (isSigned)
    {
        if (negative)
            prefix[prefixLength++] = u'-';
        else if (field.plus)
            prefix[prefixLength++] = u'+';
        else if (field.space)
            prefix[prefixLength++] = u' ';
    }
    if (base == 16 && field.alternate && magnitude != 0)
    {
        prefix[prefixLength++] = u'0';
        prefix[prefixLength++] = upper ? u'X' : u'x';
    }

    const std::size_t bodyLength = prefixLength + leadingZeros + count;
    const std::size_t width = field.width > 0 ? static_cast<std::size_t>(field.width) : 0;
    std::size_t fill = width > bodyLength ? width - bodyLength : 0;
    const bool zeroPad = field.zero && !field.left && field.precision < 0;
    if (!field.left && !zeroPad)
        out.Repeat(u' ', fill);
    for (std::size_t i = 0; i < prefixLength; ++i)
        out.Put(prefix[i]);
    if (zeroPad)
        out.Repeat(u'0', fill);
    out.Repeat(u'0', leadingZeros);
    while (count > 0 && !out.Full())
        out.Put(digits[--count]);
    if (field.left)
        out.Repeat(u' ', fill);
}

// Floating point through the C runtime's narrow formatter (digits and
// signs only, so the narrow result maps one to one onto UTF-16). Long
// doubles are shown with double precision: MinGW's runtime does not agree
// with the compiler on their layout.
void PutFloat(cFormatOutput& out, const sField& field, char conversion, double value)
{
    char pattern[16];
    std::size_t n = 0;
    pattern[n++] = '%';
    if (field.left) pattern[n++] = '-';
    if (field.zero) pattern[n++] = '0';
    if (field.plus) pattern[n++] = '+';
    if (field.space) pattern[n++] = ' ';
    if (field.alternate) pattern[n++] = '#';
    pattern[n++] = '*';
    pattern[n++] = '.';
    pattern[n++] = '*';
    pattern[n++] = conversion;
    pattern[n] = 0;
    const int precision = field.precision < 0 ? 6 : field.precision;
    const int needed = std::snprintf(nullptr, 0, pattern, field.width, precision, value);
    if (needed <= 0)
        return;
    std::string buffer(static_cast<std::size_t>(needed) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), pattern, field.width, precision, value);
    for (int i = 0; i < needed && !out.Full(); ++i)
        out.Put(static_cast<char16_t>(static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)])));
}

int ReadNumber(const char16_t*& p)
{
    int value = 0;
    while (*p >= u'0' && *p <= u'9')
    {
        if (value < MaxField)
            value = value * 10 + (*p - u'0');
        ++p;
    }
    return value < MaxField ? value : MaxField;
}

} // namespace

bool cWideString::FormatArguments(const char16_t* pattern, ...)
{
    std::va_list arguments;
    va_start(arguments, pattern);
    const bool result = FormatV(pattern, arguments);
    va_end(arguments);
    return result;
}

bool cWideString::FormatV(const char16_t* pattern, std::va_list input)
{
    if (!pattern)
        return false;
    std::va_list arguments;
    va_copy(arguments, input);
    cFormatOutput out;
    bool valid = true;
    for (const char16_t* p = pattern; *p && valid;)
    {
        if (*p != u'%')
        {
            out.Put(*p++);
            continue;
        }
        ++p;
        if (*p == u'%')
        {
            out.Put(u'%');
            ++p;
            continue;
        }
        sField field;
        for (;; ++p)
        {
            if (*p == u'-') field.left = true;
            else if (*p == u'0') field.zero = true;
            else if (*p == u'+') field.plus = true;
            else if (*p == u' ') field.space = true;
            else if (*p == u'#') field.alternate = true;
            else break;
        }
        if (*p == u'*')
        {
            int width = va_arg(arguments, int);
            if (width < 0)
            {
                field.left = true;
                width = width == INT_MIN ? MaxField : -width;
            }
            field.width = width < MaxField ? width : MaxField;
            ++p;
        }
        else
            field.width = ReadNumber(p);
        if (*p == u'.')
        {
            ++p;
            if (*p == u'*')
            {
                const int precision = va_arg(arguments, int);
                field.precision = precision < 0 ? -1 : (precision < MaxField ? precision : MaxField);
                ++p;
            }
            else
                field.precision = ReadNumber(p);
        }
        bool narrowText = false;
        switch (*p)
        {
        case u'h':
            ++p;
            narrowText = true;
            if (*p == u'h') { field.size = sField::Char; ++p; }
            else field.size = sField::Short;
            break;
        case u'l':
            ++p;
            if (*p == u'l') { field.size = sField::LongLong; ++p; }
            else field.size = sField::Long;
            break;
        case u'w': ++p; break;
        case u'L': ++p; field.size = sField::LongDouble; break;
        case u'z': ++p; field.size = sField::Size; break;
        case u'j': ++p; field.size = sField::Max; break;
        case u't': ++p; field.size = sField::PtrDiff; break;
        case u'I':
            if (p[1] == u'6' && p[2] == u'4') { field.size = sField::LongLong; p += 3; }
            else if (p[1] == u'3' && p[2] == u'2') { field.size = sField::Default; p += 3; }
            else { field.size = sField::Size; ++p; }
            break;
        default: break;
        }
        const char16_t conversion = *p;
        if (conversion)
            ++p;
        switch (conversion)
        {
        case u'd':
        case u'i':
        {
            long long value;
            switch (field.size)
            {
            case sField::Char: value = static_cast<signed char>(va_arg(arguments, int)); break;
            case sField::Short: value = static_cast<short>(va_arg(arguments, int)); break;
            case sField::Long: value = va_arg(arguments, long); break;
            case sField::LongLong: value = va_arg(arguments, long long); break;
            case sField::Size:
            case sField::PtrDiff: value = va_arg(arguments, std::ptrdiff_t); break;
            case sField::Max: value = va_arg(arguments, std::intmax_t); break;
            default: value = va_arg(arguments, int); break;
            }
            const unsigned long long magnitude =
                value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
            PutInteger(out, field, magnitude, value < 0, 10, false, true);
            break;
        }
        case u'u':
        case u'x':
        case u'X':
        case u'o':
        {
            unsigned long long value;
            switch (field.size)
            {
            case sField::Char: value = static_cast<unsigned char>(va_arg(arguments, unsigned)); break;
            case sField::Short: value = static_cast<unsigned short>(va_arg(arguments, unsigned)); break;
            case sField::Long: value = va_arg(arguments, unsigned long); break;
            case sField::LongLong: value = va_arg(arguments, unsigned long long); break;
            case sField::Size:
            case sField::PtrDiff: value = va_arg(arguments, std::size_t); break;
            case sField::Max: value = va_arg(arguments, std::uintmax_t); break;
            default: value = va_arg(arguments, unsigned); break;
            }
            const unsigned base = conversion == u'u' ? 10 : (conversion == u'o' ? 8 : 16);
            PutInteger(out, field, value, false, base, conversion == u'X', false);
            break;
        }
        case u'p':
        {
            const auto value = reinterpret_cast<std::uintptr_t>(va_arg(arguments, void*));
            sField pointer = field;
            pointer.precision = static_cast<int>(sizeof(void*) * 2);
            pointer.alternate = false;
            PutInteger(out, pointer, value, false, 16, true, false);
            break;
        }
        case u'c':
        {
            const char16_t c = narrowText ? static_cast<char16_t>(static_cast<unsigned char>(va_arg(arguments, int)))
                                          : static_cast<char16_t>(va_arg(arguments, int));
            PutPadded(out, field, &c, 1);
            break;
        }
        case u's':
        case u'S':
        {
            std::size_t limit = field.precision < 0 ? static_cast<std::size_t>(-1) : static_cast<std::size_t>(field.precision);
            if (narrowText || conversion == u'S')
            {
                const char* text = va_arg(arguments, const char*);
                if (!text)
                    text = "(null)";
                std::u16string wide;
                for (std::size_t i = 0; text[i] && i < limit && i < MaxField; ++i)
                    wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(text[i])));
                PutPadded(out, field, wide.data(), wide.size());
            }
            else
            {
                const char16_t* text = va_arg(arguments, const char16_t*);
                if (!text)
                    text = u"(null)";
                std::size_t length = 0;
                while (length < limit && length < static_cast<std::size_t>(MaxField) && text[length])
                    ++length;
                PutPadded(out, field, text, length);
            }
            break;
        }
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G':
        case u'a':
        case u'A':
        {
            const double value = field.size == sField::LongDouble
                                     ? static_cast<double>(va_arg(arguments, long double))
                                     : va_arg(arguments, double);
            PutFloat(out, field, static_cast<char>(conversion), value);
            break;
        }
        default:
            // Unknown conversions, %n and a pattern ending in "%" are refused.
            valid = false;
            break;
        }
    }
    va_end(arguments);
    if (!valid)
        return false;
    return Assign(out.Text(), out.Length());
}

} // namespace Container
