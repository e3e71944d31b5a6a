#include "framework/settings/AppLanguage.h"

#include "framework/core/FileFind.h"
#include "framework/core/PathHelpers.h"
#include "framework/core/TextFile.h"
#include "framework/settings/LanguageIds.h"
#include "platform/Platform.h"

#include <string>
#include <vector>

namespace {

// Primary language of a language id (its low 10 bits).
constexpr std::uint16_t PrimaryKorean = 0x12;

Container::cWideString Joined(std::initializer_list<const char16_t*> parts)
{
    Container::cWideString text;
    for (const char16_t* part : parts)
        text.Append(part);
    return text;
}

} // namespace

cAppLanguage::cAppLanguage()
{
    m_defaults.emplace(0, Container::cWideString(u""));
    m_defaults.emplace(LanguageIds::Yes, Container::cWideString(u"Yes"));
    m_defaults.emplace(LanguageIds::No, Container::cWideString(u"No"));
    m_defaults.emplace(LanguageIds::ProductUrl, Joined({MakerSite, u"/products/quillsnapper"}));
    m_defaults.emplace(LanguageIds::Copyright, Container::cWideString(CopyrightNotice));
    m_defaults.emplace(LanguageIds::DocumentType,
                       Container::cWideString(u"\nBrimvale\nBrimvale\nBrimvale Files(*.tbv)\n.tbv\n"
                                              u"Brimvale.Document\nBrimvale.Document"));
    m_defaults.emplace(LanguageIds::PromotionUrl,
                       Joined({MakerSite, u"/downloads/brimvalepro/?from=Quillsnapper"}));
}

cAppLanguage::~cAppLanguage() = default;

const Container::cWideString* cAppLanguage::DefaultText(std::int32_t id) const
{
    const auto found = m_defaults.find(id);
    return found != m_defaults.end() ? &found->second : nullptr;
}

bool cAppLanguage::IsFileName(const Container::cWideString& name)
{
    if (name.IsEmpty() || name.Find(u"..") != name.Length())
        return false;
    for (std::size_t i = 0; i < name.Length(); ++i)
    {
        const char16_t c = name[i];
        if (c < 0x20 || c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' ||
            c == u'<' || c == u'>' || c == u'|')
            return false;
    }
    return true;
}

Container::cWideString cAppLanguage::LanguageFilePath(const Container::cWideString& programFolder,
                                                      const Container::cWideString& name)
{
    Container::cWideString path(programFolder);
    path.Append(u"\\");
    path.Append(FolderName);
    path.Append(u"\\");
    path.Append(name);
    path.Append(u".txt");
    return path;
}

bool cAppLanguage::ReadTextResource(void* module, const char16_t* type, const char16_t* name,
                                    Container::cWideString& text)
{
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    if (!Platform::FindResourceBytes(module, type, name, bytes, size) || size == 0)
        return false;
    Container::cWideString decoded;
    if (!Storage::DecodeText(bytes, size, decoded))
        return false;
    text = std::move(decoded);
    return true;
}

bool cAppLanguage::SelectLanguage(const Container::cWideString& requested, const sSources& sources,
                                  Container::cWideString& defaultLanguage)
{
    Container::cWideString name(requested);
    if (name.IsEmpty())
        name = (Platform::UserDefaultLanguage() & 0x3FF) == PrimaryKorean ? Korean : English;
    if (defaultLanguage.IsEmpty())
        defaultLanguage = name;

    // A name that would lead the path out of the language folder (or is no
    // file name at all) is looked for among the resources only.
    ClearCurrent();
    const bool fromFile = IsFileName(name) && LoadFile(LanguageFilePath(sources.programFolder, name));
    if (!fromFile)
    {
        Container::cWideString text;
        if (ReadTextResource(sources.resourceModule, ResourceType, name.Text(), text))
            Parse(text.View());
        else
        {
            ClearCurrent();
            if (ReadTextResource(sources.resourceModule, ResourceType, English, text))
                Parse(text.View());
            name = English;
        }
    }

    ClearBase();
    if (name.CompareNoCase(English) != 0)
    {
        Container::cWideString text;
        if (ReadTextResource(sources.resourceModule, ResourceType, English, text))
            ParseBase(text.View());
    }

    Container::cWideString promotions;
    if (ReadTextResource(sources.resourceModule, PromotionType, PromotionName, promotions))
    {
        std::map<std::u16string, Container::cWideString, std::less<>> lines;
        ParsePairs(
            promotions.View(),
            [&](std::u16string_view key, std::u16string_view text) {
                lines.emplace(std::u16string(key), Container::cWideString(text));
            },
            nullptr);
        if (const auto found = lines.find(name.View()); found != lines.end())
            SetPromotionText(found->second);
    }

    m_name = name;
    SetCurrent(this);
    return true;
}

bool cAppLanguage::CheckGrammar(const Container::cWideString& name, const sSources& sources,
                                Container::cWideString& message)
{
    Container::cWideString text;
    const bool found =
        (IsFileName(name) && Storage::ReadTextFile(LanguageFilePath(sources.programFolder, name), text)) ||
        ReadTextResource(sources.resourceModule, ResourceType, name.Text(), text);
    if (!found)
        return false;

    // A fresh table without id names: nothing is kept, only errors count.
    cAppLanguage check;
    Container::cWideString errors;
    check.Parse(text.View(), &errors);
    if (!errors.IsEmpty())
        message = errors;
    else if (const cLanguage* current = Current(); current && current->Text(LanguageIds::Ok))
        message = *current->Text(LanguageIds::Ok);
    else
        message = u"";
    return true;
}

Container::cStringList cAppLanguage::LanguageList(const sSources& sources)
{
    Container::cStringList list;
    const auto listed = [&list](const Container::cWideString& name) {
        for (std::size_t i = 0; i < list.Count(); ++i)
            if (list[i].CompareNoCase(name) == 0)
                return true;
        return false;
    };

    Container::cWideString pattern(sources.programFolder);
    pattern.Append(u"\\");
    pattern.Append(FolderName);
    pattern.Append(u"\\*.txt");
    Storage::cFileFind find;
    for (bool more = find.FindFirst(pattern); more; more = find.FindNext())
    {
        if (find.IsFolder() || (find.Attributes() & Platform::AttributeHidden))
            continue;
        const Container::cWideString title = Storage::TitleOf(find.Name());
        if (!title.IsEmpty() && !listed(title))
            list.Append(title);
    }

    std::vector<std::u16string> resources;
    Platform::ResourceNames(sources.resourceModule, ResourceType, resources);
    for (const auto& resource : resources)
    {
        const Container::cWideString name(resource);
        if (!listed(name))
            list.Append(name);
    }
    return list;
}
