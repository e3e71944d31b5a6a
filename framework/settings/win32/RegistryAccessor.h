#pragma once

#include <windows.h>

#include "framework/settings/DataAccessor.h"

namespace AS {

// The settings accessor over the registry: a node is a key, a value is a
// registry value of that key. Integers, booleans and 8-bit values are
// REG_DWORD; strings, reals, pairs and rectangles are REG_SZ. The store has
// no anonymous children: ChildAt answers null and ChildCount 0.
//
// Reads go through a buffer of their own and reach the variable only when
// the value has the expected type and size (a REG_DWORD of exactly 4
// bytes; a string is cut at its first terminator and terminated when it
// has none).
class cRegistryAccessor : public cDataAccessor
{
public:
    class cRegistryNode : public cDataAccessor::cNode
    {
    public:
        explicit cRegistryNode(cDataAccessor* accessor) : cNode(accessor) {}
        // Closes the key.
        ~cRegistryNode() override;

        cNode* ChildAt(std::size_t index) override;
        cNode* Child(const char16_t* name) override;
        std::size_t ChildCount() override;

        using cNode::Value;
        bool Value(const char16_t* name, std::int32_t& value) override;
        bool Value(const char16_t* name, Container::cWideString& value) override;
        bool Value(const char16_t* name, char32_t& value) override;
        bool Value(const char16_t* name, std::int64_t& value) override;
        bool Value(const char16_t* name, bool& value) override;
        bool Value(const char16_t* name, float& value) override;
        bool Value(const char16_t* name, eColour& value) override;
        bool Value(const char16_t* name, std::uint32_t& value) override;
        bool Value(const char16_t* name, std::uint8_t& value) override;
        bool Value(const char16_t* name, std::int8_t& value) override;

        HKEY Key() const { return m_key; }
        // Opens (reading) or creates (writing) subKey of parent as this
        // node's key, closing any key it held. False when that fails; the
        // node then has no key.
        bool OpenKey(HKEY parent, const char16_t* subKey);

    private:
        bool ReadDword(const char16_t* name, DWORD& value) const;
        bool WriteDword(const char16_t* name, DWORD value) const;
        bool ReadString(const char16_t* name, Container::cWideString& value) const;
        bool WriteString(const char16_t* name, const Container::cWideString& value) const;

        HKEY m_key = nullptr;
    };

    // Reading; the root has no key until Open.
    cRegistryAccessor();

    // Sets the direction and opens subKey of parent as the root's key:
    // KEY_READ when reading, created if missing with KEY_WRITE when
    // writing. Always true; when the key cannot be opened the root has no
    // key and its reads and writes fail.
    bool Open(HKEY parent, const char16_t* subKey, eDirection direction);

    std::unique_ptr<cNode> NewNode() override;
};

} // namespace AS
