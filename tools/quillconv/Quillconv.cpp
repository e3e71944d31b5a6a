// quillconv [--option N=V]... INPUT OUTPUT
//
// Loads INPUT through the picture-file factory (format by extension) and
// saves it as OUTPUT (format by its extension) with the default save
// options, each --option N=V setting option field oN to V. Exits 0 on
// success; otherwise prints one line saying why on stderr and exits 1
// (2 for a wrong command line).

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/painter/Picture.h"
#include "framework/document/BVPictureFileFactory.h"
#include "framework/picturefile/PictureFile.h"
#include "platform/Platform.h"

namespace {

std::string ToUtf8(const std::u16string& text)
{
    std::string out;
    Platform::Utf16ToUtf8(text.data(), text.size(), out);
    return out;
}

int Fail(int code, const std::string& message)
{
    std::fprintf(stderr, "quillconv: %s\n", message.c_str());
    return code;
}

// "N=V" with N 0..9 and V a decimal or 0x-prefixed hexadecimal integer.
bool ParseOption(const std::u16string& text, PictureFile::sSaveOptions& options)
{
    const std::string ascii = ToUtf8(text);
    if (ascii.size() < 3 || ascii[0] < '0' || ascii[0] > '9' || ascii[1] != '=')
        return false;
    const std::string value = ascii.substr(2);
    char* end = nullptr;
    const long long number = std::strtoll(value.c_str(), &end, 0);
    if (!end || *end != '\0' || number < -2147483648LL || number > 0xFFFFFFFFLL)
        return false;
    *options.Field(ascii[0] - '0') = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    return true;
}

int Convert(const std::vector<std::u16string>& arguments)
{
    PictureFile::sSaveOptions options;
    std::vector<std::u16string> paths;
    for (std::size_t i = 0; i < arguments.size(); ++i)
    {
        if (arguments[i] == u"--option")
        {
            if (i + 1 >= arguments.size() || !ParseOption(arguments[i + 1], options))
                return Fail(2, "--option needs N=V with N from 0 to 9 and an integer V");
            ++i;
        }
        else if (arguments[i].size() > 1 && arguments[i][0] == u'-' && arguments[i][1] == u'-')
        {
            return Fail(2, "unknown option " + ToUtf8(arguments[i]));
        }
        else
        {
            paths.push_back(arguments[i]);
        }
    }
    if (paths.size() != 2)
        return Fail(2, "usage: quillconv [--option N=V]... INPUT OUTPUT");
    const Container::cWideString input(paths[0]);
    const Container::cWideString output(paths[1]);

    const Brimvale::cBVPictureFileFactory factory;
    std::unique_ptr<PictureFile::cPictureFile> reader(factory.Create(input));
    if (!reader)
        return Fail(1, "no format reads " + ToUtf8(paths[0]));
    Painter::cPicture picture;
    if (!reader->Load(picture, input))
        return Fail(1, "cannot read " + ToUtf8(paths[0]));

    // Indexed and 16-bit pictures go to the writers in the working format,
    // which every writer takes.
    const std::int32_t format = picture.Format();
    if (format != Painter::FORMAT_RGB24 && format != Painter::FORMAT_ARGB32 && format != Painter::FORMAT_RGB32)
    {
        Painter::cPicture converted;
        if (!converted.CopyFrom(picture))
            return Fail(1, "out of memory");
        picture = std::move(converted);
    }

    std::unique_ptr<PictureFile::cPictureFile> writer(factory.Create(output));
    if (!writer)
        return Fail(1, "no format writes " + ToUtf8(paths[1]));
    writer->SetSaveOptions(options);
    if (!writer->Save(picture, output))
        return Fail(1, "cannot write " + ToUtf8(paths[1]));
    return 0;
}

} // namespace

#ifdef _WIN32
static_assert(sizeof(wchar_t) == 2, "UTF-16 command line");
int wmain(int argc, wchar_t** argv)
{
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    return Convert(arguments);
}
#else
int main(int argc, char** argv)
{
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
    {
        std::u16string text;
        Platform::Utf8ToUtf16(argv[i], std::char_traits<char>::length(argv[i]), text);
        arguments.push_back(std::move(text));
    }
    return Convert(arguments);
}
#endif
