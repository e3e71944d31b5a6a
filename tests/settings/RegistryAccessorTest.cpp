// The registry store exists only on Windows; these tests run under Wine on
// a scratch key under HKEY_CURRENT_USER\Software\QuillsnapperTest that each
// test deletes afterwards.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "framework/settings/win32/RegistryAccessor.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using AS::cDataAccessor;
using AS::cRegistryAccessor;

namespace {

const wchar_t ScratchParent[] = L"Software\\QuillsnapperTest";

class RegistryAccessorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::wstring(ScratchParent) + L"\\" + std::wstring(info->name(), info->name() + std::strlen(info->name()));
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                                  nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, ScratchParent); // only when empty
    }

    const char16_t* Path() const { return reinterpret_cast<const char16_t*>(m_path.c_str()); }

    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetValueExW(m_key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    void SetDword(const wchar_t* name, DWORD value) { SetRaw(name, REG_DWORD, &value, sizeof(value)); }
    void SetString(const wchar_t* name, const std::wstring& text)
    {
        SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    // The stored type and bytes of a value.
    bool GetRaw(HKEY key, const wchar_t* name, DWORD& type, std::vector<BYTE>& data)
    {
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        data.assign(size, 0);
        return RegQueryValueExW(key, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    }
    std::vector<BYTE> Utf16Bytes(const std::wstring& text)
    {
        const BYTE* begin = reinterpret_cast<const BYTE*>(text.c_str());
        return std::vector<BYTE>(begin, begin + (text.size() + 1) * sizeof(wchar_t));
    }

    std::wstring m_path;
    HKEY m_key = nullptr;
};

} // namespace

TEST_F(RegistryAccessorTest, WritesEachKindInItsStoredForm)
{
    cRegistryAccessor accessor;
    ASSERT_TRUE(accessor.Open(HKEY_CURRENT_USER, Path(), cDataAccessor::Writing));
    cDataAccessor::cNode& root = *accessor.Root();
    std::int32_t i32 = -2;
    std::int64_t i64 = (std::int64_t(1) << 32) + 5;
    std::int8_t s8 = -5;
    std::uint8_t u8 = 200;
    bool flag = true;
    float real = 1.5f;
    Container::cWideString text(u"C:\\Shots");
    Container::sRect rect{0, 0, 640, 480};
    Container::sPoint point{10, 20};
    EXPECT_TRUE(root.Value(u"i32", i32));
    EXPECT_TRUE(root.Value(u"i64", i64));
    EXPECT_TRUE(root.Value(u"s8", s8));
    EXPECT_TRUE(root.Value(u"u8", u8));
    EXPECT_TRUE(root.Value(u"flag", flag));
    EXPECT_TRUE(root.Value(u"real", real));
    EXPECT_TRUE(root.Value(u"text", text));
    EXPECT_TRUE(root.Value(u"rect", rect));
    EXPECT_TRUE(root.Value(u"point", point));

    struct sCase
    {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const sCase cases[] = {
        {L"i32", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
        {L"i64", REG_DWORD, {5, 0, 0, 0}},
        {L"s8", REG_DWORD, {0xFB, 0xFF, 0xFF, 0xFF}},
        {L"u8", REG_DWORD, {200, 0, 0, 0}},
        {L"flag", REG_DWORD, {1, 0, 0, 0}},
        {L"real", REG_SZ, Utf16Bytes(L"1.500000")},
        {L"text", REG_SZ, Utf16Bytes(L"C:\\Shots")},
        {L"rect", REG_SZ, Utf16Bytes(L"0,0,640,480")},
        {L"point", REG_SZ, Utf16Bytes(L"10,20")},
    };
    for (const sCase& test : cases) {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        ASSERT_TRUE(GetRaw(m_key, test.name, type, data));
        EXPECT_EQ(type, test.type);
        EXPECT_EQ(data, test.data);
    }
}

TEST_F(RegistryAccessorTest, ValuesRoundTrip)
{
    {
        cRegistryAccessor accessor;
        accessor.Open(HKEY_CURRENT_USER, Path(), cDataAccessor::Writing);
        cDataAccessor::cNode* program = accessor.Root()->Child(u"Program");
        ASSERT_NE(program, nullptr);
        std::uint32_t index = 3;
        char32_t character = U'\U0001F600';
        AS::eColour colour = static_cast<AS::eColour>(0xFF6BADF6u);
        std::int64_t i64 = (std::int64_t(1) << 32) + 5;
        std::int8_t s8 = -5;
        float real = -0.25f;
        Container::sRect rect{1, 2, 3, 4};
        AS::sFloatPair pair{0.5f, 2.0f};
        AS::sSize size{7, 9};
        Container::cWideString text(u"\uD55C\uAD6D\uC5B4");
        program->Value(u"index", index);
        program->Value(u"char", character);
        program->Value(u"colour", colour);
        program->Value(u"i64", i64);
        program->Value(u"s8", s8);
        program->Value(u"real", real);
        program->Value(u"rect", rect);
        program->Value(u"pair", pair);
        program->Value(u"size", size);
        program->Value(u"text", text);
    }
    cRegistryAccessor accessor;
    accessor.Open(HKEY_CURRENT_USER, Path(), cDataAccessor::Reading);
    cDataAccessor::cNode* program = accessor.Root()->Child(u"Program");
    ASSERT_NE(program, nullptr);
    std::uint32_t index = 0;
    char32_t character = 0;
    AS::eColour colour{};
    std::int64_t i64 = -1;
    std::int8_t s8 = 0;
    float real = 0;
    Container::sRect rect;
    AS::sFloatPair pair;
    AS::sSize size;
    Container::cWideString text;
    EXPECT_TRUE(program->Value(u"index", index));
    EXPECT_TRUE(program->Value(u"char", character));
    EXPECT_TRUE(program->Value(u"colour", colour));
    EXPECT_TRUE(program->Value(u"i64", i64));
    EXPECT_TRUE(program->Value(u"s8", s8));
    EXPECT_TRUE(program->Value(u"real", real));
    EXPECT_TRUE(program->Value(u"rect", rect));
    EXPECT_TRUE(program->Value(u"pair", pair));
    EXPECT_TRUE(program->Value(u"size", size));
    EXPECT_TRUE(program->Value(u"text", text));
    EXPECT_EQ(index, 3u);
    EXPECT_EQ(character, U'\U0001F600');
    EXPECT_EQ(colour, static_cast<AS::eColour>(0xFF6BADF6u));
    EXPECT_EQ(i64, 5);
    EXPECT_EQ(s8, -5);
    EXPECT_EQ(real, -0.25f);
    EXPECT_EQ(rect, (Container::sRect{1, 2, 3, 4}));
    EXPECT_EQ(pair, (AS::sFloatPair{0.5f, 2.0f}));
    EXPECT_EQ(size, (AS::sSize{7, 9}));
    EXPECT_EQ(text, u"\uD55C\uAD6D\uC5B4");
}

TEST_F(RegistryAccessorTest, IntegerReadsRejectWrongTypesAndSizes)
{
    const BYTE two[2] = {1, 0};
    const BYTE four[4] = {1, 0, 0, 0};
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    SetRaw(L"short", REG_DWORD, two, sizeof(two));
    SetRaw(L"binary4", REG_BINARY, four, sizeof(four));
    SetRaw(L"binary8", REG_BINARY, eight, sizeof(eight));
    SetRaw(L"qword", REG_QWORD, eight, sizeof(eight));
    SetString(L"text", L"3");
    SetRaw(L"empty", REG_DWORD, nullptr, 0);

    cRegistryAccessor accessor;
    accessor.Open(HKEY_CURRENT_USER, Path(), cDataAccessor::Reading);
    cDataAccessor::cNode& root = *accessor.Root();
    for (const char16_t* name : {u"short", u"binary4", u"binary8", u"qword", u"text", u"empty", u"missing"}) {
        SCOPED_TRACE(std::string(name, name + std::char_traits<char16_t>::length(name)));
        std::int32_t i32 = 77;
        char32_t c32 = 77;
        AS::eColour colour = static_cast<AS::eColour>(77);
        std::uint32_t u32 = 77;
        std::int64_t i64 = 77;
        bool flag = false;
        std::uint8_t u8 = 77;
        std::int8_t s8 = 77;
        EXPECT_FALSE(root.Value(name, i32));
        EXPECT_FALSE(root.Value(name, c32));
        EXPECT_FALSE(root.Value(name, colour));
        EXPECT_FALSE(root.Value(name, u32));
        EXPECT_FALSE(root.Value(name, i64));
        EXPECT_FALSE(root.Value(name, flag));
        EXPECT_FALSE(root.Value(name, u8));
        EXPECT_FALSE(root.Value(name, s8));
        EXPECT_EQ(i32, 77);
        EXPECT_EQ(c32, 77u);
        EXPECT_EQ(colour, static_cast<AS::eColour>(77));
        EXPECT_EQ(u32, 77u);
        EXPECT_EQ(i64, 77);
        EXPECT_FALSE(flag);
        EXPECT_EQ(u8, 77);
        EXPECT_EQ(s8, 77);
    }
}

TEST_F(RegistryAccessorTest, StringReadsAreAlwaysTerminatedAndTyped)
{
    // Stored without a terminator, with an odd byte count, with an
    // embedded terminator; and of types that are not strings.
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    SetRaw(L"unterminated", REG_SZ, unterminated, sizeof(unterminated));
    const BYTE odd[] = {'x', 0, 'y', 0, 'z'};
    SetRaw(L"odd", REG_SZ, odd, sizeof(odd));
    const wchar_t embedded[] = L"ab\0cd";
    SetRaw(L"embedded", REG_SZ, embedded, sizeof(embedded));
    SetRaw(L"expand", REG_EXPAND_SZ, L"%TEMP%", sizeof(L"%TEMP%"));
    SetDword(L"number", 5);
    SetString(L"real", L"2.5 and more");
    SetString(L"notreal", L"abc");

    cRegistryAccessor accessor;
    accessor.Open(HKEY_CURRENT_USER, Path(), cDataAccessor::Reading);
    cDataAccessor::cNode& root = *accessor.Root();
    Container::cWideString text(u"old");
    EXPECT_TRUE(root.Value(u"unterminated", text));
    EXPECT_EQ(text, u"abc");
    EXPECT_TRUE(root.Value(u"odd", text));
    EXPECT_EQ(text, u"xy");
    EXPECT_TRUE(root.Value(u"embedded", text));
    EXPECT_EQ(text, u"ab");
    text = u"old";
    EXPECT_FALSE(root.Value(u"expand", text));
    EXPECT_FALSE(root.Value(u"number", text));
    EXPECT_FALSE(root.Value(u"missing", text));
    EXPECT_EQ(text, u"old");

    float real = 9.0f;
    EXPECT_FALSE(root.Value(u"number", real));
    EXPECT_EQ(real, 9.0f);
    EXPECT_TRUE(root.Value(u"real", real));
    EXPECT_EQ(real, 2.5f);
    EXPECT_TRUE(root.Value(u"notreal", real));
    EXPECT_EQ(real, 0.0f);

    // A rectangle from a string of two numbers sets only left and top.
    SetString(L"rect", L"7,8");
    Container::sRect rect{1, 2, 3, 4};
    EXPECT_TRUE(root.Value(u"rect", rect));
    EXPECT_EQ(rect, (Container::sRect{7, 8, 3, 4}));
}

TEST_F(RegistryAccessorTest, EmptyStringLeavesTheStoredValue)
{
    SetString(L"text", L"kept");
    cRegistryAccessor accessor;
    accessor.Open(HKEY_CURRENT_USER, Path(), cDataAccessor::Writing);
    Container::cWideString empty;
    EXPECT_TRUE(accessor.Root()->Value(u"text", empty));
    EXPECT_TRUE(accessor.Root()->Value(u"new", empty));
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRaw(m_key, L"text", type, data));
    EXPECT_EQ(data, Utf16Bytes(L"kept"));
    EXPECT_FALSE(GetRaw(m_key, L"new", type, data));
}

TEST_F(RegistryAccessorTest, MissingKeysFailEveryReadAndWrite)
{
    cRegistryAccessor accessor;
    const std::u16string missing = std::u16string(Path()) + u"\\Missing";
    EXPECT_TRUE(accessor.Open(HKEY_CURRENT_USER, missing.c_str(), cDataAccessor::Reading));
    cDataAccessor::cNode& root = *accessor.Root();
    std::int32_t number = 4;
    Container::cWideString text(u"x");
    EXPECT_FALSE(root.Value(u"a", number));
    EXPECT_FALSE(root.Value(u"a", text));
    // A child of a node without a key is handed out all the same.
    cDataAccessor::cNode* child = root.Child(u"Program");
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->Value(u"a", number));
    EXPECT_EQ(number, 4);
    // The store has no anonymous children.
    EXPECT_EQ(root.ChildAt(0), nullptr);
    EXPECT_EQ(root.ChildCount(), 0u);

    // Writing to a child the read-only root cannot create fails.
    accessor.SetDirection(cDataAccessor::Writing);
    EXPECT_FALSE(root.Value(u"a", number));
    EXPECT_FALSE(root.Value(u"a", text));
    HKEY probe = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(missing.c_str()), 0, KEY_READ, &probe),
              ERROR_SUCCESS);
}

TEST_F(RegistryAccessorTest, WritingCreatesNestedKeys)
{
    {
        cRegistryAccessor accessor;
        accessor.Open(HKEY_CURRENT_USER, Path(), cDataAccessor::Writing);
        cDataAccessor::cNode* a = accessor.Root()->Child(u"A");
        ASSERT_NE(a, nullptr);
        cDataAccessor::cNode* b = a->Child(u"B");
        ASSERT_NE(b, nullptr);
        std::int32_t value = 42;
        EXPECT_TRUE(b->Value(u"v", value));
    }
    HKEY nested = nullptr;
    ASSERT_EQ(RegOpenKeyExW(m_key, L"A\\B", 0, KEY_READ, &nested), ERROR_SUCCESS);
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    EXPECT_TRUE(GetRaw(nested, L"v", type, data));
    RegCloseKey(nested);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, (std::vector<BYTE>{42, 0, 0, 0}));
}

#endif // _WIN32
