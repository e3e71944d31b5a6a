#include "framework/settings/DataAccessor.h"

#include "framework/settings/ValueText.h"

#include <new>
#include <utility>

namespace AS {

cDataAccessor::~cDataAccessor() = default;

cDataAccessor::cNode::~cNode() = default;

cDataAccessor::cNode* cDataAccessor::cNode::Adopt(std::unique_ptr<cNode> child)
{
    if (!child)
        return nullptr;
    try {
        m_children.push_back(std::move(child));
    } catch (...) {
        return nullptr;
    }
    return m_children.back().get();
}

// The pairs and the rectangle go through the string operation in both
// directions.

bool cDataAccessor::cNode::Value(const char16_t* name, sFloatPair& value)
{
    if (!IsReading()) {
        Container::cWideString text;
        if (!cValueText::FormatReals(text, {value.x, value.y}))
            return false;
        return Value(name, text);
    }
    Container::cWideString text;
    if (!Value(name, text))
        return false;
    float fields[2] = {value.x, value.y};
    cValueText::ParseReals(text.View(), fields);
    value.x = fields[0];
    value.y = fields[1];
    return true;
}

namespace {

template <std::size_t Count>
bool ExchangeIntegers(cDataAccessor::cNode& node, const char16_t* name, std::int32_t (&fields)[Count])
{
    if (!node.IsReading()) {
        Container::cWideString text;
        if (!cValueText::FormatIntegers(text, {fields, Count}))
            return false;
        return node.Value(name, text);
    }
    Container::cWideString text;
    if (!node.Value(name, text))
        return false;
    cValueText::ParseIntegers(text.View(), {fields, Count});
    return true;
}

} // namespace

bool cDataAccessor::cNode::Value(const char16_t* name, Container::sPoint& value)
{
    std::int32_t fields[2] = {value.x, value.y};
    const bool ok = ExchangeIntegers(*this, name, fields);
    value.x = fields[0];
    value.y = fields[1];
    return ok;
}

bool cDataAccessor::cNode::Value(const char16_t* name, Container::sRect& value)
{
    std::int32_t fields[4] = {value.left, value.top, value.right, value.bottom};
    const bool ok = ExchangeIntegers(*this, name, fields);
    value.left = fields[0];
    value.top = fields[1];
    value.right = fields[2];
    value.bottom = fields[3];
    return ok;
}

bool cDataAccessor::cNode::Value(const char16_t* name, sSize& value)
{
    std::int32_t fields[2] = {value.width, value.height};
    const bool ok = ExchangeIntegers(*this, name, fields);
    value.width = fields[0];
    value.height = fields[1];
    return ok;
}

} // namespace AS
