#pragma once

namespace Window {

// Changes the state of the item of one command in one target (a menu item,
// a tool-window button). A window's OnUpdateCommand receives one and calls
// the operations that apply; what it does not call stays as it is.
class cControlModifier
{
public:
    explicit cControlModifier(int command) : m_command(command) {}
    cControlModifier(const cControlModifier&) = delete;
    cControlModifier& operator=(const cControlModifier&) = delete;

    // The command whose item this modifier changes.
    int Command() const { return m_command; }

    virtual void SetVisible(bool visible) = 0;
    virtual void Enable(bool enabled) = 0;
    virtual void SetCheck(bool checked) = 0;
    virtual void SetRadio(bool checked) = 0;

protected:
    // Modifiers live on the stack of the code that updates the items.
    ~cControlModifier() = default;

private:
    int m_command;
};

} // namespace Window
