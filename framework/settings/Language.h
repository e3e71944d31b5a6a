#pragma once

#include "framework/core/WideString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Storage {
class cFile;
}

namespace AS {

// A settings-language document: a tree of named values read from and
// written to a brace-structured UTF-16 text file.
//
//     Quillsnapper = {
//         Program = {
//             CheckedSaveFile = true,
//             DefaultLanguage = "English"
//         }
//     };
//
// Load parses one element into the root; a syntax error stops the parse,
// keeps the nodes built so far and leaves its message in ErrorText. Save
// writes the tree in a fixed layout (UTF-16LE with a byte-order mark, CR LF,
// TAB indents) into a new file that then replaces the old one, so a failed
// save leaves the old file as it was.
class cLanguage
{
public:
    // Blocks nested deeper than this stop the parse with an error.
    static constexpr int MaxDepth = 256;

    class cNode
    {
    public:
        enum Type : std::int32_t
        {
            TypeNone = 0,
            TypeInteger = 1,
            TypeReal = 3,
            TypeBoolean = 4,
            TypeString = 5,
        };

        cNode() = default;
        // Frees the whole subtree without recursion, however deep it is.
        virtual ~cNode();
        cNode(const cNode&) = delete;
        cNode& operator=(const cNode&) = delete;

        const Container::cWideString& Name() const { return m_name; }
        bool SetName(std::u16string_view name) { return m_name.Assign(name); }

        std::int32_t GetType() const { return m_type; }
        std::int32_t Integer() const { return m_integer; }
        float Real() const { return m_real; }
        bool Boolean() const { return m_boolean; }
        const Container::cWideString& Text() const { return m_text; }

        // Each setter also sets the type.
        void SetInteger(std::int32_t value);
        void SetReal(float value);
        void SetBoolean(bool value);
        bool SetText(std::u16string_view text);

        std::size_t ChildCount() const { return m_children.size(); }
        // The child at index, or null when index is out of range.
        cNode* ChildAt(std::size_t index);
        const cNode* ChildAt(std::size_t index) const;
        // The first child with exactly this name (ordinal, case-sensitive).
        cNode* FindChild(std::u16string_view name);
        const cNode* FindChild(std::u16string_view name) const;
        // Appends a new child of type none, anonymous or named (also when a
        // child of that name exists). Null when memory runs out.
        cNode* AddChild();
        cNode* AddChild(std::u16string_view name);

        // Reads the named child as a boolean: an integer or real that is not
        // 0, a boolean, or a string that is not empty is true. False (output
        // unchanged) when there is no such child or it holds no value.
        bool GetBool(std::u16string_view name, bool& value) const;

        // Removes the children and the value; the name stays.
        void Clear();

    private:
        Container::cWideString m_name;
        std::int32_t m_type = TypeNone;
        std::int32_t m_integer = 0;
        float m_real = 0.0f;
        bool m_boolean = false;
        Container::cWideString m_text;
        std::vector<std::unique_ptr<cNode>> m_children;
    };

    cLanguage() = default;
    cLanguage(const cLanguage&) = delete;
    cLanguage& operator=(const cLanguage&) = delete;

    // Reads and parses a settings file into the root. False, with the tree
    // and the error text untouched, when the file cannot be read; true
    // otherwise, also after a syntax error (see ErrorText).
    bool Load(const char16_t* path);
    bool Load(const Container::cWideString& path) { return Load(path.Text()); }
    // Parses text already in memory into the root; clears the error text
    // first. Answers true when the text parsed cleanly.
    bool Parse(std::u16string_view text);

    // Writes the tree to a file next to path and then puts it in place of
    // path. False, with the old file left as it was, when anything fails.
    bool Save(const char16_t* path) const;
    bool Save(const Container::cWideString& path) const { return Save(path.Text()); }
    // The text Save writes after the byte-order mark.
    bool Write(std::u16string& text) const;
    // The bytes of the file Save writes (the UTF-16LE mark, then the text)
    // into an open file; false when any of them could not be written.
    bool WriteTo(Storage::cFile& file) const;

    cNode& Root() { return m_root; }
    const cNode& Root() const { return m_root; }
    // The message of the last syntax error; empty after a clean parse.
    const Container::cWideString& ErrorText() const { return m_error; }

private:
    cNode m_root;
    Container::cWideString m_error;
};

} // namespace AS
