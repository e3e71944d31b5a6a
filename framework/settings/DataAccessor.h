#pragma once

#include "framework/core/Geometry.h"
#include "framework/core/WideString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace AS {

// Value types that share a stored form with another type: they exist so
// that each has its own Value overload.
struct sFloatPair
{
    float x = 0.0f;
    float y = 0.0f;

    friend bool operator==(const sFloatPair&, const sFloatPair&) = default;
};

struct sSize
{
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const sSize&, const sSize&) = default;
};

// A colour 0xAARRGGBB kept as a 32-bit integer.
enum class eColour : std::uint32_t
{
};

// The one interface through which settings are loaded and saved. The same
// sequence of calls reads every value into its variable when the accessor
// is reading, and stores every variable's current value when it is writing:
//
//     accessor.SetDirection(cDataAccessor::Reading);   // or Writing
//     if (cDataAccessor::cNode* program = accessor.Root()->Child(u"Program")) {
//         program->Value(u"CheckedSaveFile", record.CheckedSaveFile);
//         ...
//     }
//
// A store (a settings-language document, the registry) derives from this
// class and from its node class. Nodes are owned by the node that handed
// them out and live until the accessor is destroyed; callers never free a
// node. A failed read leaves the variable untouched.
class cDataAccessor
{
public:
    enum eDirection : std::uint8_t
    {
        Writing = 0,
        Reading = 1,
    };

    class cNode
    {
    public:
        explicit cNode(cDataAccessor* accessor) : m_accessor(accessor) {}
        virtual ~cNode();
        cNode(const cNode&) = delete;
        cNode& operator=(const cNode&) = delete;

        // Reading: the child at index, or null when there is none. Writing:
        // a new anonymous child. Null when the child cannot be made.
        virtual cNode* ChildAt(std::size_t index) = 0;
        // Reading: the named child, opened; writing: the named child, created.
        virtual cNode* Child(const char16_t* name) = 0;
        // The number of children in the store.
        virtual std::size_t ChildCount() = 0;

        // Pairs and rectangles are stored as text: "%f,%f", "%d,%d" and
        // "%d,%d,%d,%d". Reading answers true whenever the text was read;
        // fields the text does not supply keep their values.
        virtual bool Value(const char16_t* name, sFloatPair& value);
        virtual bool Value(const char16_t* name, Container::sPoint& value);
        virtual bool Value(const char16_t* name, Container::sRect& value);
        virtual bool Value(const char16_t* name, sSize& value);

        virtual bool Value(const char16_t* name, std::int32_t& value) = 0;
        virtual bool Value(const char16_t* name, Container::cWideString& value) = 0;
        virtual bool Value(const char16_t* name, char32_t& value) = 0;
        // Only the low 32 bits are stored; reading sets the high ones to 0.
        virtual bool Value(const char16_t* name, std::int64_t& value) = 0;
        virtual bool Value(const char16_t* name, bool& value) = 0;
        virtual bool Value(const char16_t* name, float& value) = 0;
        virtual bool Value(const char16_t* name, eColour& value) = 0;
        virtual bool Value(const char16_t* name, std::uint32_t& value) = 0;
        // Stored as an integer, zero-extended; reading takes the low byte.
        virtual bool Value(const char16_t* name, std::uint8_t& value) = 0;
        // Stored as an integer, sign-extended; reading takes the low byte.
        virtual bool Value(const char16_t* name, std::int8_t& value) = 0;

        cDataAccessor* Accessor() const { return m_accessor; }
        bool IsReading() const { return m_accessor != nullptr && m_accessor->IsReading(); }

    protected:
        // Takes ownership of child and answers it; null (child freed) when
        // it is null or cannot be kept.
        cNode* Adopt(std::unique_ptr<cNode> child);

    private:
        cDataAccessor* m_accessor;
        std::vector<std::unique_ptr<cNode>> m_children;
    };

    cDataAccessor() = default;
    // Destroys the root and with it every node handed out.
    virtual ~cDataAccessor();
    cDataAccessor(const cDataAccessor&) = delete;
    cDataAccessor& operator=(const cDataAccessor&) = delete;

    // A new node of the store's own kind, bound to nothing; null when
    // memory runs out.
    virtual std::unique_ptr<cNode> NewNode() = 0;

    eDirection Direction() const { return m_direction; }
    void SetDirection(eDirection direction) { m_direction = direction; }
    bool IsReading() const { return m_direction == Reading; }

    // The root node; null only when it could not be made.
    cNode* Root() { return m_root.get(); }

protected:
    std::unique_ptr<cNode> m_root;

private:
    eDirection m_direction = Reading;
};

} // namespace AS
