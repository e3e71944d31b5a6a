#pragma once

#include "framework/core/WideString.h"
#include "framework/window/Static.h"

namespace Window {

// A clickable text: opens its web address, or without one tells its parent
// (STN_CLICKED). Only the text itself is the hit area. A link that is a tab
// stop keeps the focus, so Space can follow it.
class cLinkStatic : public cStatic
{
public:
    cLinkStatic() = default;

    void SetTarget(const Container::cWideString& target) { m_target = target; }
    const Container::cWideString& GetTarget() const { return m_target; }
    // Opens the target when it is an http: or https: address; with no
    // target, tells the parent when the style has SS_NOTIFY. Answers whether
    // it did either.
    bool Activate();
    // The text's rectangle in client coordinates, as the link draws it.
    Container::sRect GetHitArea() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttach(DWORD style) override;
    bool OnSetCursor(cWindow* window, std::int32_t hit, std::int32_t mouseMessage) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnSetFocus(cWindow* previous) override;
    void OnKillFocus(cWindow* next) override;

protected:
    void Draw(GDI::cPictureDC& dc, const Container::sRect& client) override;

private:
    bool HitAreaContains(std::int32_t x, std::int32_t y) const;

    Container::cWideString m_target;
    bool m_pressed = false;  // holds the capture after a press on the text
};

} // namespace Window
