#pragma once

#include "framework/window/TreeBaseWindow.h"

namespace Window {

// A tree window of the registered class "MiraTree".
class cTreeWindow : public cTreeBaseWindow
{
public:
    Container::cWideString GetClassName() const override;
};

} // namespace Window
