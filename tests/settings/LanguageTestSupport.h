#pragma once

#include "framework/settings/Language.h"

#include <charconv>
#include <string>

namespace Testing {

// A compact, readable form of a tree for comparisons:
//   name=value, name{child,child}, a value "=5", "=r1.500000", "=true",
//   "=\"text\"", and "_" for an anonymous node without value or children.
inline std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('<');
            out += std::to_string(static_cast<unsigned>(c));
            out.push_back('>');
        }
    }
    return out;
}

inline std::string Dump(const AS::cLanguage::cNode& node)
{
    std::string out = Narrow(node.Name().View());
    switch (node.GetType()) {
    case AS::cLanguage::cNode::TypeInteger:
        out += "=";
        out += std::to_string(node.Integer());
        break;
    case AS::cLanguage::cNode::TypeReal: {
        char buffer[64];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(node.Real()),
                                    std::chars_format::fixed, 6);
        out += "=r";
        out.append(buffer, result.ptr);
        break;
    }
    case AS::cLanguage::cNode::TypeBoolean:
        out += node.Boolean() ? "=true" : "=false";
        break;
    case AS::cLanguage::cNode::TypeString:
        out += "=\"";
        out += Narrow(node.Text().View());
        out += "\"";
        break;
    default:
        break;
    }
    if (node.ChildCount() > 0) {
        out += "{";
        for (std::size_t i = 0; i < node.ChildCount(); ++i) {
            if (i > 0)
                out += ",";
            out += Dump(*node.ChildAt(i));
        }
        out += "}";
    }
    if (out.empty())
        out.push_back('_');
    return out;
}

} // namespace Testing
