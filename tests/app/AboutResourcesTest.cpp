// The About dialog's art as it is compiled into Quillsnapper.exe.

#include <gtest/gtest.h>

#include <windows.h>

#include "framework/application/Module.h"
#include "framework/painter/Picture.h"
#include "resources/AboutResources.h"

#include <string>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

std::u16string ProgramPath()
{
    const std::string unixPath = QS_QUILLSNAPPER_EXE;
    std::u16string path = unixPath.front() == '/' ? u"Z:" : u"";
    for (char c : unixPath)
        path += c == '/' ? u'\\' : static_cast<char16_t>(static_cast<unsigned char>(c));
    return path;
}

// Blue, green and red of a working-format pixel.
int Blue(std::uint32_t pixel) { return pixel & 0xFF; }
int Green(std::uint32_t pixel) { return pixel >> 8 & 0xFF; }
int Red(std::uint32_t pixel) { return pixel >> 16 & 0xFF; }

} // namespace

TEST(AboutResources, TheProgramCarriesTheAboutPicture)
{
    Application::cModule program;
    ASSERT_TRUE(program.Load(ProgramPath().c_str(), true));
    Painter::cPicture picture;
    ASSERT_TRUE(program.LoadBitmapResource(picture, IDB_ABOUT_PICTURE));
    EXPECT_EQ(picture.Width(), 320);
    EXPECT_EQ(picture.Height(), 96);

    // Rows come out top first: the gradient is dark blue at the top and
    // lighter teal at the bottom, left of the emblem.
    const std::uint32_t top = picture.Pixel(2, 1);
    const std::uint32_t bottom = picture.Pixel(2, 94);
    EXPECT_LT(Red(top) + Green(top) + Blue(top), Red(bottom) + Green(bottom) + Blue(bottom));
    EXPECT_GT(Blue(top), Red(top));
    // The capture frame's top left handle: white inside a dark border.
    const std::uint32_t handle = picture.Pixel(150, 18);
    EXPECT_EQ(Red(handle), 255);
    EXPECT_EQ(Green(handle), 255);
    EXPECT_EQ(Blue(handle), 255);
    const std::uint32_t border = picture.Pixel(147, 18);
    EXPECT_LT(Red(border) + Green(border) + Blue(border), 150);
    // The emblem's dark opening, beside the quill that crosses its centre.
    const std::uint32_t opening = picture.Pixel(14 + 36 + 6, 12 + 36 + 6);
    EXPECT_LT(Red(opening) + Green(opening) + Blue(opening), 200);
}

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog made (hidden) from one of the program's templates.
class cTemplateDialog
{
public:
    cTemplateDialog(const Application::cModule& program, int id)
    {
        const std::uint8_t* bytes = nullptr;
        std::uint32_t size = 0;
        if (program.FindResourceBytes(RT_DIALOG, id, bytes, size))
            m_dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                                  reinterpret_cast<const DLGTEMPLATE*>(bytes), nullptr,
                                                  PlainDialogProc, 0);
    }
    ~cTemplateDialog()
    {
        if (m_dialog != nullptr)
            DestroyWindow(m_dialog);
    }
    HWND Handle() const { return m_dialog; }

    std::wstring ClassOf(int id) const
    {
        wchar_t name[64] = {};
        HWND control = GetDlgItem(m_dialog, id);
        return control != nullptr && GetClassNameW(control, name, 64) > 0 ? name : L"";
    }
    LONG_PTR StyleOf(int id) const { return GetWindowLongPtrW(GetDlgItem(m_dialog, id), GWL_STYLE); }

private:
    HWND m_dialog = nullptr;
};

} // namespace

TEST(AboutResources, TheAboutTemplateHoldsEveryControlOfTheDialog)
{
    Application::cModule program;
    ASSERT_TRUE(program.Load(ProgramPath().c_str(), true));
    cTemplateDialog dialog(program, IDD_APP_ABOUT);
    ASSERT_NE(dialog.Handle(), nullptr);
    const struct
    {
        int id;
        const wchar_t* windowClass;
    } controls[] = {
        {IDC_ABOUT_PICTURE, L"Static"}, {IDC_ABOUT_ICON, L"Static"},       {IDC_ABOUT_NAME, L"Static"},
        {IDC_ABOUT_VERSION, L"Static"}, {IDC_ABOUT_NOTE, L"Static"},       {IDS_VADRIN_COPYRIGHT, L"Static"},
        {IDS_PRODUCT_URL, L"Static"},   {IDC_CONTACT_SUPPORT, L"Static"},  {IDC_CHECK_UPDATE, L"Button"},
        {IDC_SUPPORT_HOMEPAGE, L"Button"}, {IDC_COPYRIGHTS, L"Button"},    {IDOK, L"Button"},
    };
    for (const auto& control : controls)
        EXPECT_EQ(CompareStringOrdinal(dialog.ClassOf(control.id).c_str(), -1, control.windowClass, -1, TRUE),
                  CSTR_EQUAL)
            << control.id;
    EXPECT_EQ(dialog.StyleOf(IDC_ABOUT_PICTURE) & SS_TYPEMASK, SS_BITMAP);
    EXPECT_EQ(dialog.StyleOf(IDC_ABOUT_ICON) & SS_TYPEMASK, SS_ICON);
    // The link takes clicks.
    EXPECT_NE(dialog.StyleOf(IDS_PRODUCT_URL) & SS_NOTIFY, 0);
    EXPECT_EQ(dialog.StyleOf(IDOK) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(AboutResources, TheCopyrightTemplateHasAReadOnlyMultiLineBox)
{
    Application::cModule program;
    ASSERT_TRUE(program.Load(ProgramPath().c_str(), true));
    cTemplateDialog dialog(program, IDD_COPYRIGHT);
    ASSERT_NE(dialog.Handle(), nullptr);
    EXPECT_EQ(CompareStringOrdinal(dialog.ClassOf(IDS_LIBRARY_).c_str(), -1, L"Static", -1, TRUE), CSTR_EQUAL);
    EXPECT_EQ(CompareStringOrdinal(dialog.ClassOf(IDC_COPYRIGHT_TEXT).c_str(), -1, L"Edit", -1, TRUE), CSTR_EQUAL);
    const LONG_PTR style = dialog.StyleOf(IDC_COPYRIGHT_TEXT);
    EXPECT_NE(style & ES_MULTILINE, 0);
    EXPECT_NE(style & ES_READONLY, 0);
    EXPECT_NE(style & WS_VSCROLL, 0);
    EXPECT_NE(GetDlgItem(dialog.Handle(), IDOK), nullptr);
}
