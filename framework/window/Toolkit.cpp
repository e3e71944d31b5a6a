#include "framework/window/Toolkit.h"

#include <commctrl.h>

#include "framework/window/WindowClass.h"
#include "framework/window/skin/FlatSkin.h"

namespace Window {

namespace {

HINSTANCE g_instance = nullptr;
Skin::cSkin* g_skin = nullptr;
bool g_initialized = false;

} // namespace

Skin::cFlatSkin& cToolkit::FlatSkin()
{
    static Skin::cFlatSkin skin;
    return skin;
}

bool cToolkit::Initialize(HINSTANCE resourceModule)
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);
    g_skin = &FlatSkin();
    const bool registered = cWindowClass::RegisterAll();
    g_skin->Initialize();
    g_skin->SetGlyphPictureId(Skin::cSkin::GlyphPictureResource);
    if (resourceModule == nullptr || !g_skin->LoadGlyphPicture(resourceModule))
        g_skin->LoadGlyphPicture(Instance());
    g_initialized = true;
    return registered;
}

bool cToolkit::IsInitialized() { return g_initialized; }

HINSTANCE cToolkit::Instance() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }

void cToolkit::SetInstance(HINSTANCE instance) { g_instance = instance; }

Skin::cSkin* cToolkit::CurrentSkin() { return g_skin ? g_skin : &FlatSkin(); }

void cToolkit::SetCurrentSkin(Skin::cSkin* skin) { g_skin = skin; }

} // namespace Window
