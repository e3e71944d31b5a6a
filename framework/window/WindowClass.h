#pragma once
// Window::cWindowClass: the toolkit's window classes. Each is registered
// with the toolkit window procedure, no extra bytes, the arrow cursor, no
// icon and no menu, the first time a window of it is created (or all at
// once by cToolkit::Initialize). Class names not in the table are
// registered with the default toolkit style (CS_HREDRAW | CS_VREDRAW, the
// window brush), so a program window naming its own class always gets one.
#include <cstdint>
#include <windows.h>

namespace Window {

class cWindowClass
{
public:
    struct sEntry
    {
        const char16_t* name;
        UINT style;
        int background;  // a COLOR_ index; the brush is that + 1
    };

    // The classes of the table, in registration order.
    static const sEntry* Table(std::size_t& count);
    // Registers the class when it is not registered yet for the toolkit's
    // instance. False when the name is empty or RegisterClassExW fails.
    static bool Ensure(const char16_t* name);
    // Registers every class of the table; false when one fails.
    static bool RegisterAll();
};

} // namespace Window
