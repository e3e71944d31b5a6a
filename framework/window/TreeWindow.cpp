#include "framework/window/TreeWindow.h"

namespace Window {

Container::cWideString cTreeWindow::GetClassName() const
{
    return u"MiraTree";
}

} // namespace Window
