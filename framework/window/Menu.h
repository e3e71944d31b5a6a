#pragma once

#include <windows.h>

#include "framework/window/ControlModifier.h"

#include <cstddef>
#include <vector>

class cLanguage;

namespace Window {

class cWindow;

// A menu handle, destroyed with the object when it owns it. The wrappers
// the dispatch makes around a menu the system hands over do not.
class cMenu
{
public:
    // The about command, found in the system menu.
    static constexpr UINT AboutCommand = 32774;
    // Room for a key text appended to a menu caption, terminator included.
    static constexpr std::size_t MenuKeyTextCapacity = 30;
    // Room for a tool-tip text, terminator included.
    static constexpr std::size_t ToolTipCapacity = 81;

    // The state of one command's menu item.
    class cModifier : public cControlModifier
    {
    public:
        cModifier(int command, const cMenu& menu) : cControlModifier(command), m_menu(menu) {}

        // Menu items are always visible.
        void SetVisible(bool) override {}
        void Enable(bool enabled) override;
        void SetCheck(bool checked) override;
        // Checks the item as a radio item, or clears it.
        void SetRadio(bool checked) override;

    private:
        const cMenu& m_menu;
    };

    cMenu() = default;
    explicit cMenu(HMENU menu, bool owns = false) : m_menu(menu), m_owns(owns) {}
    virtual ~cMenu();
    cMenu(const cMenu&) = delete;
    cMenu& operator=(const cMenu&) = delete;

    // Loads menu resource id of module and owns it; false (unchanged) when
    // there is none.
    bool Load(HINSTANCE module, int id);
    // Takes menu, destroying an owned one first.
    void Attach(HMENU menu, bool owns);
    HMENU Handle() const { return m_menu; }
    bool OwnsHandle() const { return m_owns; }

    // Hands a cModifier for the command of every item (ids above 0) to
    // window's OnUpdateCommand.
    void UpdateItems(cWindow& window) const;
    // The position of the about command, or the item count without one.
    int FindAboutItem() const;

    // Localises every item, submenus first: the caption of the item's id
    // (a submenu's caption is an id name) with the base language's
    // mnemonic, a TAB and the key of its accelerator when accelerators
    // has one. Items without a text keep their captions.
    void ApplyLanguage(const cLanguage& language, const std::vector<ACCEL>* accelerators);

    // The accelerator as text ("Ctrl+Shift+S") into buffer, cut to
    // capacity - 1 characters; answers the length.
    static std::size_t KeyText(const ACCEL& accelerator, wchar_t* buffer, std::size_t capacity);
    // The tool tip of a command's text "Menu Text|Description|Tool-tip"
    // with its key ("Save (Ctrl+S)") into a buffer of ToolTipCapacity
    // characters; answers the length.
    static std::size_t ToolTipText(const wchar_t* text, const ACCEL* accelerator,
                                   wchar_t (&buffer)[ToolTipCapacity]);

private:
    HMENU m_menu = nullptr;
    bool m_owns = false;
};

} // namespace Window
