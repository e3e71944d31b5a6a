#include "framework/settings/LanguageAccessor.h"

#include <new>

namespace AS {

cLanguageAccessor::cLanguageAccessor()
{
    m_root = NewNode();
}

void cLanguageAccessor::Attach(cLanguage::cNode& node)
{
    if (m_root)
        static_cast<cLanguageNode*>(m_root.get())->Bind(&node);
}

std::unique_ptr<cDataAccessor::cNode> cLanguageAccessor::NewNode()
{
    return std::unique_ptr<cNode>(new (std::nothrow) cLanguageNode(this));
}

// ---- Children ------------------------------------------------------------

cDataAccessor::cNode* cLanguageAccessor::cLanguageNode::Wrap(cLanguage::cNode* child)
{
    if (child == nullptr)
        return nullptr;
    std::unique_ptr<cNode> node = Accessor()->NewNode();
    if (!node)
        return nullptr;
    static_cast<cLanguageNode*>(node.get())->Bind(child);
    return Adopt(std::move(node));
}

cDataAccessor::cNode* cLanguageAccessor::cLanguageNode::ChildAt(std::size_t index)
{
    if (m_node == nullptr)
        return nullptr;
    return Wrap(IsReading() ? m_node->ChildAt(index) : m_node->AddChild());
}

cDataAccessor::cNode* cLanguageAccessor::cLanguageNode::Child(const char16_t* name)
{
    if (m_node == nullptr || name == nullptr)
        return nullptr;
    return Wrap(IsReading() ? m_node->FindChild(name) : m_node->AddChild(name));
}

std::size_t cLanguageAccessor::cLanguageNode::ChildCount()
{
    return m_node != nullptr ? m_node->ChildCount() : 0;
}

// ---- Values --------------------------------------------------------------

const cLanguage::cNode* cLanguageAccessor::cLanguageNode::FindInteger(const char16_t* name) const
{
    if (m_node == nullptr || name == nullptr)
        return nullptr;
    const cLanguage::cNode* child = m_node->FindChild(name);
    return child != nullptr && child->GetType() == cLanguage::cNode::TypeInteger ? child : nullptr;
}

bool cLanguageAccessor::cLanguageNode::AddInteger(const char16_t* name, std::int32_t value)
{
    if (m_node == nullptr || name == nullptr)
        return false;
    cLanguage::cNode* child = m_node->AddChild(name);
    if (child == nullptr)
        return false;
    child->SetInteger(value);
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, std::int32_t& value)
{
    if (!IsReading())
        return AddInteger(name, value);
    const cLanguage::cNode* child = FindInteger(name);
    if (child == nullptr)
        return false;
    value = child->Integer();
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, char32_t& value)
{
    if (!IsReading())
        return AddInteger(name, static_cast<std::int32_t>(value));
    const cLanguage::cNode* child = FindInteger(name);
    if (child == nullptr)
        return false;
    value = static_cast<char32_t>(static_cast<std::uint32_t>(child->Integer()));
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, eColour& value)
{
    if (!IsReading())
        return AddInteger(name, static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    const cLanguage::cNode* child = FindInteger(name);
    if (child == nullptr)
        return false;
    value = static_cast<eColour>(static_cast<std::uint32_t>(child->Integer()));
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, std::uint32_t& value)
{
    if (!IsReading())
        return AddInteger(name, static_cast<std::int32_t>(value));
    const cLanguage::cNode* child = FindInteger(name);
    if (child == nullptr)
        return false;
    value = static_cast<std::uint32_t>(child->Integer());
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, std::int64_t& value)
{
    if (!IsReading())
        return AddInteger(name, static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    const cLanguage::cNode* child = FindInteger(name);
    if (child == nullptr)
        return false;
    value = static_cast<std::int64_t>(static_cast<std::uint32_t>(child->Integer()));
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, std::uint8_t& value)
{
    if (!IsReading())
        return AddInteger(name, static_cast<std::int32_t>(value));
    const cLanguage::cNode* child = FindInteger(name);
    if (child == nullptr)
        return false;
    value = static_cast<std::uint8_t>(static_cast<std::uint32_t>(child->Integer()) & 0xFF);
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, std::int8_t& value)
{
    if (!IsReading())
        return AddInteger(name, static_cast<std::int32_t>(value));
    const cLanguage::cNode* child = FindInteger(name);
    if (child == nullptr)
        return false;
    value = static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<std::uint32_t>(child->Integer()) & 0xFF));
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, bool& value)
{
    if (m_node == nullptr || name == nullptr)
        return false;
    if (IsReading())
        return m_node->GetBool(name, value);
    cLanguage::cNode* child = m_node->AddChild(name);
    if (child == nullptr)
        return false;
    child->SetBoolean(value);
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, float& value)
{
    if (m_node == nullptr || name == nullptr)
        return false;
    if (IsReading()) {
        const cLanguage::cNode* child = m_node->FindChild(name);
        if (child == nullptr || child->GetType() != cLanguage::cNode::TypeReal)
            return false;
        value = child->Real();
        return true;
    }
    cLanguage::cNode* child = m_node->AddChild(name);
    if (child == nullptr)
        return false;
    child->SetReal(value);
    return true;
}

bool cLanguageAccessor::cLanguageNode::Value(const char16_t* name, Container::cWideString& value)
{
    if (m_node == nullptr || name == nullptr)
        return false;
    if (IsReading()) {
        const cLanguage::cNode* child = m_node->FindChild(name);
        if (child == nullptr || child->GetType() != cLanguage::cNode::TypeString)
            return false;
        return value.Assign(child->Text());
    }
    cLanguage::cNode* child = m_node->AddChild(name);
    if (child == nullptr)
        return false;
    return child->SetText(value.View());
}

} // namespace AS
