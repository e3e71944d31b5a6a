#include "framework/window/Menu.h"

#include "framework/settings/CaptionText.h"
#include "framework/settings/LanguageTable.h"
#include "framework/settings/MenuText.h"
#include "framework/window/Window.h"

#include <string>
#include <string_view>

namespace Window {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is passed to Win32 as wchar_t");

MenuText::sAccelerator AcceleratorOf(const ACCEL& accelerator)
{
    return {accelerator.fVirt, accelerator.key, accelerator.cmd};
}

std::u16string_view View(const wchar_t* text)
{
    return text ? std::u16string_view(reinterpret_cast<const char16_t*>(text)) : std::u16string_view();
}

} // namespace

void cMenu::cModifier::Enable(bool enabled)
{
    EnableMenuItem(m_menu.Handle(), static_cast<UINT>(Command()), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void cMenu::cModifier::SetCheck(bool checked)
{
    CheckMenuItem(m_menu.Handle(), static_cast<UINT>(Command()), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void cMenu::cModifier::SetRadio(bool checked)
{
    const UINT command = static_cast<UINT>(Command());
    // A check outside the one-item range clears the item.
    const UINT check = checked ? command : command + 1;
    CheckMenuRadioItem(m_menu.Handle(), command, command, check, MF_BYCOMMAND);
}

cMenu::~cMenu()
{
    if (m_owns && m_menu)
        DestroyMenu(m_menu);
}

bool cMenu::Load(HINSTANCE module, int id)
{
    const HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(id));
    if (!menu)
        return false;
    Attach(menu, true);
    return true;
}

void cMenu::Attach(HMENU menu, bool owns)
{
    if (m_owns && m_menu && m_menu != menu)
        DestroyMenu(m_menu);
    m_menu = menu;
    m_owns = owns;
}

void cMenu::UpdateItems(cWindow& window) const
{
    const int count = GetMenuItemCount(m_menu);
    for (int position = 0; position < count; ++position)
    {
        const int command = static_cast<int>(GetMenuItemID(m_menu, position));
        if (command > 0)
        {
            cModifier modifier(command, *this);
            window.OnUpdateCommand(modifier);
        }
    }
}

int cMenu::FindAboutItem() const
{
    const int count = GetMenuItemCount(m_menu);
    for (int position = 0; position < count; ++position)
        if (GetMenuItemID(m_menu, position) == AboutCommand)
            return position;
    return count < 0 ? 0 : count;
}

void cMenu::ApplyLanguage(const cLanguage& language, const std::vector<ACCEL>* accelerators)
{
    for (int position = 0; position < GetMenuItemCount(m_menu); ++position)
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(m_menu, static_cast<UINT>(position), TRUE, &info))
        {
            info = MENUITEMINFOW{};
            info.cbSize = sizeof info;
        }

        std::int32_t id;
        if (info.hSubMenu)
        {
            cMenu submenu(info.hSubMenu, false);
            submenu.ApplyLanguage(language, accelerators);
            // A submenu's caption is the id name of its text.
            wchar_t name[257] = {};
            GetMenuStringW(m_menu, static_cast<UINT>(position), name, 257, MF_BYPOSITION);
            id = language.IdOfName(View(name));
            if (id < 0)
                continue;
        }
        else if ((info.fType & MFT_SEPARATOR) || info.wID == 0)
            id = 0;
        else
            id = static_cast<std::int32_t>(info.wID);

        const Container::cWideString* text = language.Text(id);
        if (!text)
            continue;
        const Container::cWideString* base = language.BaseText(id);
        const std::u16string_view baseView = base ? base->View() : std::u16string_view();
        std::u16string caption = CaptionText::Caption(text->View(), base ? &baseView : nullptr);
        if (accelerators)
        {
            for (const ACCEL& accelerator : *accelerators)
                if (accelerator.cmd == info.wID)
                {
                    caption.push_back(u'\t');
                    caption += MenuText::KeyText(AcceleratorOf(accelerator), MenuKeyTextCapacity - 1);
                    break;
                }
        }

        MENUITEMINFOW update{};
        update.cbSize = sizeof update;
        update.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_DATA;
        update.fType = info.fType;
        update.dwItemData = static_cast<ULONG_PTR>(id);
        update.dwTypeData = reinterpret_cast<wchar_t*>(caption.data());
        update.cch = static_cast<UINT>(caption.size());
        SetMenuItemInfoW(m_menu, static_cast<UINT>(position), TRUE, &update);
    }
}

std::size_t cMenu::KeyText(const ACCEL& accelerator, wchar_t* buffer, std::size_t capacity)
{
    return MenuText::KeyText(AcceleratorOf(accelerator), reinterpret_cast<char16_t*>(buffer), capacity);
}

std::size_t cMenu::ToolTipText(const wchar_t* text, const ACCEL* accelerator, wchar_t (&buffer)[ToolTipCapacity])
{
    MenuText::sAccelerator key;
    if (accelerator)
        key = AcceleratorOf(*accelerator);
    const std::u16string tip = MenuText::ToolTipText(View(text), accelerator ? &key : nullptr);
    return MenuText::CopyCut(tip, reinterpret_cast<char16_t*>(buffer), ToolTipCapacity);
}

} // namespace Window
