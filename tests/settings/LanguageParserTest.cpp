#include <gtest/gtest.h>

#include "framework/settings/Language.h"
#include "tests/settings/LanguageTestSupport.h"

#include <string>

using Testing::Dump;
using Testing::Narrow;

namespace {

struct sParseCase
{
    const char16_t* text;
    const char* tree;
    const char16_t* error;
};

} // namespace

TEST(LanguageParserTest, GrammarAndErrorTable)
{
    const sParseCase cases[] = {
        // Elements at the top.
        {u"", "_", u""},
        {u"  // nothing but a comment\n", "_", u""},
        {u"a = 1", "a=1", u""},
        {u"5", "=5", u""},
        {u"a", "a", u""},
        {u"a, b", "a", u""},
        {u"x = {}", "x", u""},
        {u"a = -17", "a=-17", u""},
        {u"a = 1.5", "a=r1.500000", u""},
        {u"a = -0.25", "a=r-0.250000", u""},
        {u"a = 7.", "a=r7.000000", u""},
        {u"a = true", "a=true", u""},
        {u"a = false", "a=false", u""},
        {u"a = \"x\\qy\"", "a=\"x\\y\"", u""},
        {u"\"text\"", "=\"text\"", u""},
        {u"1.5.2", "=r1.500000", u""},
        {u"a = 1 whatever follows ] is not read", "a=1", u""},
        {u"Quillsnapper = {\r\n\tProgram = {\r\n\t\tCheckedSaveFile = true,\r\n\t\tConfirmSaving = false\r\n\t}\r\n};\r\n",
         "Quillsnapper{Program{CheckedSaveFile=true,ConfirmSaving=false}}", u""},
        // Blocks.
        {u"a = { b = 1, c = \"s\", d = 2.5, e = true }", "a{b=1,c=\"s\",d=r2.500000,e=true}", u""},
        {u"a = { b = 1, }", "a{b=1}", u""},
        {u"a = { }", "a", u""},
        {u"{ , }", "_", u""},
        {u"{ 1, 2, \"x\", {}, { y }, z }", "{=1,=2,=\"x\",_,{y},z}", u""},
        {u"{ a = { b = { c = 3 } } }", "{a{b{c=3}}}", u""},
        {u"a = { b = 1, b = 2 }", "a{b=1,b=2}", u""},
        {u"a = { b = 1,, c = 2 }", "a{b=1}", u", or } is required"},
        // Integers that do not fit 32 bits saturate.
        {u"a = 2147483647", "a=2147483647", u""},
        {u"a = -2147483648", "a=-2147483648", u""},
        {u"a = 2147483648", "a=2147483647", u""},
        {u"a = 99999999999999999999999999", "a=2147483647", u""},
        {u"a = -99999999999999999999999999", "a=-2147483648", u""},
        // Reals beyond the float range become the largest finite float.
        {u"a = 1000000000000000000000000000000000000000000000000.0",
         "a=r340282346638528859811704183484516925440.000000", u""},
        {u"a = -1000000000000000000000000000000000000000000000000.0",
         "a=r-340282346638528859811704183484516925440.000000", u""},
        {u"a = 0.0000000000000000000000000000000000000000000000000001", "a=r0.000000", u""},
        // Errors, each keeping what was built.
        {u"#", "_", u"unknown lexeme"},
        {u"\"open", "_", u"unknown lexeme"},
        {u"{ \"open", "_", u"unknown lexeme"},
        {u"a #", "a", u"unknown lexeme"},
        {u"a = { # }", "a", u"unknown lexeme"},
        {u"a = { b = 1, # }", "a{b=1}", u"unknown lexeme"},
        {u"a = { b = 1 # }", "a{b=1}", u"unknown lexeme"},
        {u"a {", "a", u"= is required"},
        {u"a;", "a", u"= is required"}, // a saved name-only root: the tree is whole
        {u"a b", "a", u"= is required"},
        {u"a = { b { } }", "a{b}", u"= is required"},
        {u"= 1", "_", u"id or value is required"},
        {u"}", "_", u"id or value is required"},
        {u"a = { ] }", "a", u"id or value is required"},
        {u"a = { b = 1, = }", "a{b=1}", u"id or value is required"},
        {u"a = {", "a", u"unexpected end of file"},
        {u"a = { b = 1", "a{b=1}", u"unexpected end of file"},
        {u"a = { b = 1,", "a{b=1}", u"unexpected end of file"},
        {u"a = { b = 1, c", "a{b=1,c}", u"unexpected end of file"},
        {u"a = { b = 1 c = 2 }", "a{b=1}", u", or } is required"},
        {u"{ , a = 1 }", "_", u", or } is required"},
        {u"a = { b = 1 ] }", "a{b=1}", u", or } is required"},
        {u"{ 1.5.2 }", "{=r1.500000}", u", or } is required"},
        {u"a = True", "a", u"invalid right operand"},
        {u"a = -x", "a", u"invalid right operand"},
        {u"a = ", "a", u"invalid right operand"},
        {u"a = \"open", "a", u"invalid right operand"},
        {u"a = { b = 1, c = ] }", "a{b=1,c}", u"invalid right operand"},
    };
    for (const sParseCase& c : cases) {
        AS::cLanguage document;
        const bool clean = document.Parse(c.text);
        EXPECT_EQ(Dump(document.Root()), c.tree) << Narrow(c.text);
        EXPECT_EQ(Narrow(document.ErrorText().View()), Narrow(c.error)) << Narrow(c.text);
        EXPECT_EQ(clean, std::u16string_view(c.error).empty()) << Narrow(c.text);
    }
}

TEST(LanguageParserTest, ParseClearsTheErrorTextOfAnEarlierParse)
{
    AS::cLanguage document;
    document.Parse(u"#");
    EXPECT_FALSE(document.ErrorText().IsEmpty());
    AS::cLanguage::cNode& root = document.Root();
    root.Clear();
    EXPECT_TRUE(document.Parse(u"a = 1"));
    EXPECT_TRUE(document.ErrorText().IsEmpty());
}

TEST(LanguageParserTest, AMillionOpeningBracesStopAtTheDepthLimit)
{
    const std::u16string text(1000000, u'{');
    AS::cLanguage document;
    EXPECT_FALSE(document.Parse(text));
    EXPECT_EQ(Narrow(document.ErrorText().View()), "blocks are nested too deeply");

    // The partial tree is kept: one chain of anonymous nodes, the root and
    // one node for each of the 256 blocks that were opened.
    std::size_t nodes = 1;
    const AS::cLanguage::cNode* node = &document.Root();
    while (node->ChildCount() > 0) {
        ASSERT_EQ(node->ChildCount(), 1u);
        node = node->ChildAt(0);
        ++nodes;
    }
    EXPECT_EQ(nodes, std::size_t(AS::cLanguage::MaxDepth) + 1);
}

TEST(LanguageParserTest, NestingUpToTheLimitParses)
{
    auto nested = [](int depth) {
        return std::u16string(depth, u'{') + u"1" + std::u16string(depth, u'}');
    };
    AS::cLanguage deepest;
    EXPECT_TRUE(deepest.Parse(nested(AS::cLanguage::MaxDepth)));
    EXPECT_TRUE(deepest.ErrorText().IsEmpty());

    AS::cLanguage tooDeep;
    EXPECT_FALSE(tooDeep.Parse(nested(AS::cLanguage::MaxDepth + 1)));
    EXPECT_EQ(Narrow(tooDeep.ErrorText().View()), "blocks are nested too deeply");
}

TEST(LanguageParserTest, ADeepTreeBuiltInMemoryIsFreedWithoutRecursion)
{
    // Far deeper than any parse makes; a recursive destructor would overflow
    // the stack here and crash the test.
    auto buildChain = [](AS::cLanguage::cNode& top) {
        AS::cLanguage::cNode* node = &top;
        for (int i = 0; i < 300000 && node != nullptr; ++i)
            node = node->AddChild(u"n");
        return node != nullptr;
    };
    auto* document = new AS::cLanguage;
    ASSERT_TRUE(buildChain(document->Root()));
    delete document;

    AS::cLanguage kept;
    ASSERT_TRUE(buildChain(kept.Root()));
    kept.Root().Clear();
    EXPECT_EQ(kept.Root().ChildCount(), 0u);
}

TEST(LanguageParserTest, NodeOperations)
{
    AS::cLanguage document;
    AS::cLanguage::cNode& root = document.Root();
    AS::cLanguage::cNode* first = root.AddChild(u"Program");
    AS::cLanguage::cNode* second = root.AddChild(u"Program");
    AS::cLanguage::cNode* anonymous = root.AddChild();
    ASSERT_TRUE(first && second && anonymous);
    EXPECT_NE(first, second);
    EXPECT_EQ(root.ChildCount(), 3u);
    EXPECT_EQ(root.FindChild(u"Program"), first);
    EXPECT_EQ(root.FindChild(u"program"), nullptr);
    EXPECT_EQ(root.ChildAt(2), anonymous);
    EXPECT_EQ(root.ChildAt(3), nullptr);
    EXPECT_EQ(anonymous->GetType(), AS::cLanguage::cNode::TypeNone);
    EXPECT_TRUE(anonymous->Name().IsEmpty());
}

TEST(LanguageParserTest, GetBoolReadsEveryValueType)
{
    AS::cLanguage document;
    ASSERT_TRUE(document.Parse(u"p = { i1 = 1, i0 = 0, r0 = 0.0, r = 0.5, bt = true, bf = false, "
                               u"s = \"x\", se = \"\", n, blk = { } }"));
    const AS::cLanguage::cNode& p = document.Root();
    struct sCase
    {
        const char16_t* name;
        bool found;
        bool value;
    };
    const sCase cases[] = {
        {u"i1", true, true},   {u"i0", true, false}, {u"r0", true, false}, {u"r", true, true},
        {u"bt", true, true},   {u"bf", true, false}, {u"s", true, true},   {u"se", true, false},
        {u"n", false, false},  {u"blk", false, false}, {u"missing", false, false},
    };
    for (const sCase& c : cases) {
        for (bool initial : {false, true}) {
            bool value = initial;
            EXPECT_EQ(p.GetBool(c.name, value), c.found) << Narrow(c.name);
            EXPECT_EQ(value, c.found ? c.value : initial) << Narrow(c.name);
        }
    }
}
