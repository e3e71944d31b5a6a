#pragma once
// Window::cToolkit: the toolkit's process-wide values (the module instance
// of every class and window it creates, the current skin) and its one-time
// start-up. Used on the user-interface thread only.
#include <windows.h>

namespace Skin {
class cSkin;
class cFlatSkin;
}

namespace Window {

class cToolkit
{
public:
    // Once, before any toolkit window exists: common controls, the current
    // skin := the flat skin, the toolkit's window classes, the skin's fonts,
    // palette and brushes, and its glyph bitmap (resource 107), read from
    // resourceModule and, when that fails or it is null, from the main
    // module. False when a window class cannot be registered.
    static bool Initialize(HINSTANCE resourceModule = nullptr);
    static bool IsInitialized();

    // The instance used for every class and window; the main module until set.
    static HINSTANCE Instance();
    static void SetInstance(HINSTANCE instance);

    // The skin new windows take; the flat skin unless set otherwise. Never null.
    static Skin::cSkin* CurrentSkin();
    static void SetCurrentSkin(Skin::cSkin* skin);
    // The program's one flat skin.
    static Skin::cFlatSkin& FlatSkin();
};

} // namespace Window
