#pragma once

#include "framework/core/WideString.h"
#include "framework/window/Dialog.h"

// The list of the open-source libraries the program contains (template
// 121): a heading above a read-only box with the built-in list, or with the
// text of Copyright.txt next to the program when there is one.
class cCopyrightDialog : public Window::cDialog
{
public:
    // programFolder: where Copyright.txt is looked for.
    explicit cCopyrightDialog(Container::cWideString programFolder);
    ~cCopyrightDialog() override;

    void ApplyLanguage() override;
    bool OnInitDialog() override;

private:
    Container::cWideString m_programFolder;
};
