#include <gtest/gtest.h>

#include <windows.h>

#include "framework/settings/AppLanguage.h"
#include "framework/settings/LanguageIds.h"

#include <string>
#include <vector>

namespace {

// The program itself, mapped for its resources only.
class cProgramResources
{
public:
    cProgramResources()
        : m_module(LoadLibraryExW(QS_PROGRAM_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ~cProgramResources()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    HMODULE Module() const { return m_module; }

private:
    HMODULE m_module;
};

} // namespace

TEST(LanguageResourceTest, TheProgramCarriesEnglishAndKorean)
{
    const cProgramResources program;
    ASSERT_NE(nullptr, program.Module());
    cAppLanguage::sSources sources;
    sources.programFolder = u"Z:\\no\\such\\folder";
    sources.resourceModule = program.Module();

    const Container::cStringList list = cAppLanguage::LanguageList(sources);
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < list.Count(); ++i)
        names.emplace_back(list[i].View());
    EXPECT_EQ((std::vector<std::u16string>{u"ENGLISH", cAppLanguage::Korean}), names);

    // Selecting Korean from the program's own resources.
    cAppLanguage language;
    language.RegisterIdNames();
    Container::cWideString setting;
    language.SelectLanguage(Container::cWideString(cAppLanguage::Korean), sources, setting);
    ASSERT_EQ(std::u16string_view(cAppLanguage::Korean), language.LanguageName().View());
    ASSERT_NE(nullptr, language.Text(140));
    ASSERT_NE(nullptr, language.BaseText(140));
    EXPECT_EQ(u"\uCEA1\uCC98", language.Text(140)->View()); // 캡처
    EXPECT_EQ(u"Capture", language.BaseText(140)->View());
    ASSERT_NE(nullptr, language.Text(LanguageIds::PromotionText));
    EXPECT_NE(std::u16string_view::npos, language.Text(LanguageIds::PromotionText)->View().find(u"Brimvale Pro"));
    cLanguage::SetCurrent(nullptr);
}
