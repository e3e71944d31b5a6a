#pragma once

#include "framework/settings/DataAccessor.h"
#include "framework/settings/Language.h"

namespace AS {

// The settings accessor over a settings-language document. A node stands
// for a document node; a value is a named child of it.
//
// Writing appends: every Child, ChildAt and Value call adds a new document
// child, also when one of that name exists. Reading takes the first child of
// the name and accepts only the value type the variable needs (booleans
// excepted: numbers and strings are read as booleans too). A node bound to
// nothing answers null, 0 and false.
class cLanguageAccessor : public cDataAccessor
{
public:
    class cLanguageNode : public cDataAccessor::cNode
    {
    public:
        explicit cLanguageNode(cDataAccessor* accessor) : cNode(accessor) {}

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

        cLanguage::cNode* Bound() const { return m_node; }
        void Bind(cLanguage::cNode* node) { m_node = node; }

    private:
        // Wraps a document child in a new node of this accessor.
        cNode* Wrap(cLanguage::cNode* child);
        // Reading: the first child of the name when it is an integer.
        const cLanguage::cNode* FindInteger(const char16_t* name) const;
        // Writing: a new child of the name holding the integer.
        bool AddInteger(const char16_t* name, std::int32_t value);

        cLanguage::cNode* m_node = nullptr;
    };

    // Reading; the root is bound to nothing until Attach.
    cLanguageAccessor();

    // The root stands for node from now on (not owned).
    void Attach(cLanguage::cNode& node);

    std::unique_ptr<cNode> NewNode() override;
};

} // namespace AS
