#include "app/MakerSite.h"

#include "platform/Platform.h"

#include <string>

namespace {

// Appends text percent-encoded (as UTF-8) except for the unreserved
// characters, so that a name or version can never end the query field it
// stands in.
void AppendQueryValue(Container::cWideString& address, const Container::cWideString& text)
{
    static const char16_t hex[] = u"0123456789ABCDEF";
    std::string bytes;
    Platform::Utf16ToUtf8(text.Text(), text.Length(), bytes);
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            address.Append(static_cast<char16_t>(c));
        } else {
            address.Append(u'%');
            address.Append(hex[c >> 4]);
            address.Append(hex[c & 15]);
        }
    }
}

} // namespace

Container::cWideString cMakerSite::UpdateCheck(std::uint32_t locale, const Container::cWideString& app,
                                               const Container::cWideString& version)
{
    Container::cWideString address(Home);
    Container::cWideString number;
    number.Format(u"%u", static_cast<unsigned>(locale));
    address.Append(u"/updates.php?locale=");
    address.Append(number);
    address.Append(u"&app=");
    AppendQueryValue(address, app);
    address.Append(u"&version=");
    AppendQueryValue(address, version);
    return address;
}

Container::cWideString cMakerSite::Support(const Container::cWideString& app, const Container::cWideString& version)
{
    Container::cWideString address(Home);
    address.Append(u"/support/?name=");
    AppendQueryValue(address, app);
    address.Append(u"&version=");
    AppendQueryValue(address, version);
    return address;
}

Container::cWideString cMakerSite::EditorDownload(bool pro)
{
    Container::cWideString address(Home);
    address.Append(pro ? u"/downloads/brimvalepro/" : u"/downloads/brimvale/");
    return address;
}
