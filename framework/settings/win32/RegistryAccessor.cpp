#include "framework/settings/win32/RegistryAccessor.h"

#include "framework/settings/ValueText.h"

#include <cstring>
#include <new>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace AS {

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// Registry strings larger than this are not read.
constexpr DWORD MaxStringBytes = 1u << 20;

} // namespace

cRegistryAccessor::cRegistryAccessor()
{
    m_root = NewNode();
}

bool cRegistryAccessor::Open(HKEY parent, const char16_t* subKey, eDirection direction)
{
    SetDirection(direction);
    if (m_root)
        static_cast<cRegistryNode*>(m_root.get())->OpenKey(parent, subKey);
    return true;
}

std::unique_ptr<cDataAccessor::cNode> cRegistryAccessor::NewNode()
{
    return std::unique_ptr<cNode>(new (std::nothrow) cRegistryNode(this));
}

// ---- Keys ----------------------------------------------------------------

cRegistryAccessor::cRegistryNode::~cRegistryNode()
{
    if (m_key != nullptr)
        RegCloseKey(m_key);
}

bool cRegistryAccessor::cRegistryNode::OpenKey(HKEY parent, const char16_t* subKey)
{
    if (m_key != nullptr) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
    if (parent == nullptr || subKey == nullptr)
        return false;
    HKEY key = nullptr;
    LONG result;
    if (IsReading())
        result = RegOpenKeyExW(parent, Wide(subKey), 0, KEY_READ, &key);
    else
        result = RegCreateKeyExW(parent, Wide(subKey), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                                 &key, nullptr);
    if (result != ERROR_SUCCESS)
        return false;
    m_key = key;
    return true;
}

cDataAccessor::cNode* cRegistryAccessor::cRegistryNode::ChildAt(std::size_t)
{
    return nullptr;
}

std::size_t cRegistryAccessor::cRegistryNode::ChildCount()
{
    return 0;
}

cDataAccessor::cNode* cRegistryAccessor::cRegistryNode::Child(const char16_t* name)
{
    cNode* node = Adopt(Accessor()->NewNode());
    if (node == nullptr)
        return nullptr;
    // A child of a node without a key has no key either: its reads fail.
    static_cast<cRegistryNode*>(node)->OpenKey(m_key, name);
    return node;
}

// ---- Raw values ------------------------------------------------------------

bool cRegistryAccessor::cRegistryNode::ReadDword(const char16_t* name, DWORD& value) const
{
    if (m_key == nullptr)
        return false;
    // Read into a buffer of our own: the data reaches the caller only when
    // it is a REG_DWORD of exactly four bytes.
    BYTE data[sizeof(DWORD)] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(m_key, Wide(name), nullptr, &type, data, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof(DWORD))
        return false;
    DWORD result;
    std::memcpy(&result, data, sizeof(result));
    value = result;
    return true;
}

bool cRegistryAccessor::cRegistryNode::WriteDword(const char16_t* name, DWORD value) const
{
    if (m_key == nullptr)
        return false;
    return RegSetValueExW(m_key, Wide(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

bool cRegistryAccessor::cRegistryNode::ReadString(const char16_t* name, Container::cWideString& value) const
{
    if (m_key == nullptr)
        return false;
    // The value may change between asking its size and reading it: try a
    // few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG result = RegQueryValueExW(m_key, Wide(name), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS || type != REG_SZ || size > MaxStringBytes)
            return false;
        // Room for the data and for a terminator of our own.
        std::vector<wchar_t> buffer;
        try {
            buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
        } catch (...) {
            return false;
        }
        DWORD got = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        result = RegQueryValueExW(m_key, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            return false;
        // The characters up to the first terminator, whether or not the
        // stored data has one; an odd last byte is dropped.
        const std::size_t count = got / sizeof(wchar_t);
        std::size_t length = 0;
        while (length < count && buffer[length] != L'\0')
            ++length;
        Container::cWideString text;
        if (length > 0 && !text.Assign(reinterpret_cast<const char16_t*>(buffer.data()), length))
            return false;
        value = std::move(text);
        return true;
    }
    return false;
}

bool cRegistryAccessor::cRegistryNode::WriteString(const char16_t* name, const Container::cWideString& value) const
{
    if (m_key == nullptr)
        return false;
    // An empty string leaves whatever is stored under the name.
    if (value.IsEmpty())
        return true;
    const std::size_t bytes = (value.Length() + 1) * sizeof(wchar_t);
    if (bytes > MaxStringBytes)
        return false;
    return RegSetValueExW(m_key, Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.Text()),
                          static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

// ---- Typed values ------------------------------------------------------------

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, std::int32_t& value)
{
    if (!IsReading())
        return WriteDword(name, static_cast<DWORD>(value));
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = static_cast<std::int32_t>(data);
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, char32_t& value)
{
    if (!IsReading())
        return WriteDword(name, static_cast<DWORD>(value));
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = static_cast<char32_t>(data);
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, eColour& value)
{
    if (!IsReading())
        return WriteDword(name, static_cast<DWORD>(value));
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = static_cast<eColour>(data);
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, std::uint32_t& value)
{
    if (!IsReading())
        return WriteDword(name, static_cast<DWORD>(value));
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = static_cast<std::uint32_t>(data);
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, std::int64_t& value)
{
    if (!IsReading())
        return WriteDword(name, static_cast<DWORD>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu));
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = static_cast<std::int64_t>(static_cast<std::uint32_t>(data));
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, bool& value)
{
    if (!IsReading())
        return WriteDword(name, value ? 1 : 0);
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = data != 0;
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, std::uint8_t& value)
{
    if (!IsReading())
        return WriteDword(name, static_cast<DWORD>(value));
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = static_cast<std::uint8_t>(data & 0xFF);
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, std::int8_t& value)
{
    if (!IsReading())
        return WriteDword(name, static_cast<DWORD>(static_cast<std::int32_t>(value)));
    DWORD data;
    if (!ReadDword(name, data))
        return false;
    value = static_cast<std::int8_t>(static_cast<std::uint8_t>(data & 0xFF));
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, float& value)
{
    if (!IsReading()) {
        Container::cWideString text;
        if (!cValueText::FormatReal(text, value))
            return false;
        return WriteString(name, text);
    }
    Container::cWideString text;
    if (!ReadString(name, text))
        return false;
    value = cValueText::ToReal(text.View());
    return true;
}

bool cRegistryAccessor::cRegistryNode::Value(const char16_t* name, Container::cWideString& value)
{
    if (!IsReading())
        return WriteString(name, value);
    return ReadString(name, value);
}

} // namespace AS
