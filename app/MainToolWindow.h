#pragma once

#include <windows.h>

#include "app/MonitorList.h"
#include "app/ProgramHandOff.h"
#include "app/capture/CaptureFileNamer.h"
#include "app/ClipboardWriter.h"
#include "app/capture/SimplePictureSaveThread.h"
#include "app/settings/SettingsRecord.h"
#include "framework/core/Geometry.h"
#include "framework/core/WideString.h"
#include "framework/painter/Picture.h"
#include "framework/painter/PictureList.h"
#include "framework/window/Dialog.h"
#include "framework/window/ToolTip.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class cCaptureFrame;

// The program's tool window: a top-most toolkit dialog from template 115
// with the capture buttons, two check boxes, the logo button and a status
// line. It
// turns clicks, accelerator keys and the global Print Screen keys (raw
// input) into captures, grabs the screen and hands the pictures to the
// clipboard, the save dialog or a background save worker.
class cMainToolWindow : public Window::cDialog, public cSimplePictureSaveThread::cListener
{
public:
    // The window picker's highlight and click catcher, the drag-select overlay.
    class cMarkWindow;
    class cClickWindow;
    class cNormalCaptureWindow;
    // Status texts (language ids).
    enum eStatus : int
    {
        IDS_MSG_WELCOME = 32778,
        IDS_MSG_TRY_KEYBOARD_TO_MOVEING = 32779,
        IDS_MSG_TRY_SHIFT_KEY = 32780,
        IDS_MSG_TRY_CTRL_KEY = 32781,
        IDS_MSG_TRY_ENTER = 32782,
        IDS_MSG_COPYED_CLIPBOARD = 32783,
        IDS_MSG_SAVED_FILE = 32784,
    };
    // Sent (posted) by the save workers' notifications: WM_USER + 1.
    static constexpr UINT kSavedMessage = WM_USER + 1;
    // The pick timer of window picking.
    static constexpr UINT_PTR kPickTimer = 0;
    // The wait after hiding the program's windows, so the desktop repaints.
    static constexpr DWORD kHideWaitMs = 550;

    cMainToolWindow();
    cMainToolWindow(const cMainToolWindow&) = delete;
    cMainToolWindow& operator=(const cMainToolWindow&) = delete;
    // Stops and joins every save worker (pending pictures are written).
    ~cMainToolWindow() override;

    // Creates the dialog from template 115 without owner, hidden.
    bool Create(HINSTANCE instance, cSettingsRecord& settings, cCaptureFrame& frame);
    bool IsVisible() const { return Handle() != nullptr && IsWindowVisible(Handle()); }

    // Offered every queued message while the window is visible: Enter while
    // framing, the accelerator keys, dialog navigation.
    bool PreTranslateMessage(MSG* message) override;

    // The status line: the text of a language id (0: empty); nothing is
    // rewritten when the id is the one shown.
    void SetStatus(int id);
    int StatusId() const { return m_statusId; }
    // The current language's text of an id (its caption part); empty if none.
    static Container::cWideString LanguageText(int id);

    // The rows of buttons.
    void BeginFraming();
    void CancelFraming();
    void RestoreIdle();
    // Hides the frame, its companions and the tool window, then waits for
    // the desktop to repaint.
    void HideForCapture();

    // Capture modes (MainToolWindowModes.cpp).
    // Arrow keys while framing: move by 1 (10 with Shift), resize with Ctrl.
    void MoveFrameByKey(UINT key);
    // Window picking: the highlight follows the window under the pointer.
    void StartWindowPick();
    void PickStep();
    void CapturePicked();
    HWND PickedWindow() const { return m_pickedWindow; }
    // Drag-select on a frozen copy of the monitor under the pointer.
    void StartDragSelect();
    // Escape or Enter while a capture mode hides the tool window.
    void OnCaptureModeKey(bool enter);
    // The focus to the tool window (within the program), and a repaint.
    void FocusAndRepaint();

    // Captures.
    void CaptureRects(const std::vector<Container::sRect>& rects);
    void CaptureFullScreen();
    void CaptureWindowUnderCursor();
    void CaptureFramed();
    // After a capture: the clipboard and saving (a dialog for each picture,
    // or a worker). The pictures are taken over (pictures is left empty).
    void ProcessCaptures(std::vector<Painter::cPicture>& pictures);
    // Answers the number of clipboard formats placed. The picture is
    // offered and written when a program pastes it, or when the program
    // ends (ReleaseClipboard).
    int CopyToClipboard(const cSimplePictureSaveThread::tSharedPicture& picture);
    // Writes what is still only offered on the clipboard, so that it
    // outlives the program.
    void ReleaseClipboard();

    // Stops and joins every save worker: pictures handed over are written.
    void StopWorkers();
    std::size_t WorkerCount() const { return m_workers.size(); }

    // The monitors captures use (tests hand in their own).
    void SetMonitorSource(cMonitorList::tSource source) { m_monitors = std::move(source); }

    // Worker thread: a file was saved (posted to the window, never sent).
    void OnPictureSaved(const Container::cWideString& path) override;

    // True while a capture runs or a save dialog is open: no capture starts then.
    bool IsBusy() const { return m_busy; }
    // Called when the session ends (WM_ENDSESSION with TRUE).
    void SetEndSessionHandler(std::function<void()> handler) { m_endSession = std::move(handler); }
    // Called when the options dialog chose another interface language; the
    // handler loads it, and the tool window then shows its texts.
    void SetLanguageHandler(std::function<void()> handler) { m_languageChanged = std::move(handler); }
    // Hands saved files (possibly none) to the associated program.
    void SendToAssociatedProgram(const std::vector<Container::cWideString>& files);
    // The hand-off to the associated program; null before Create.
    cProgramHandOff* HandOff() const { return m_handOff.get(); }

    // ---- Toolkit operations -------------------------------------------------
    bool OnInitDialog() override;
    void ApplyLanguage() override;
    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRawInput(const RAWINPUT& input) override;
    void OnActivate(std::int32_t state, Window::cWindow* other, bool minimized) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnEndSession(bool ending, LPARAM flags) override;
    bool OnTimer(UINT_PTR id, LPARAM lParam) override;
    // Enter and Escape never end this window.
    void OnOK() override {}
    void OnCancel() override {}

private:
    void CreateCaptureModeWindows();
    void DestroyCaptureModeWindows();
    // Hides the highlight and the click catcher; with overlay also the
    // drag-select overlay.
    void HideCaptureModeWindows(bool overlay);
    // True when the system command was the tool window's own to handle.
    bool HandleSysCommand(WPARAM command);
    // The About dialog, modal, owned by the tool window.
    void ShowAbout();
    // The options dialog, modal, owned by the tool window (button 3056, F10).
    void ShowOptions();
    void OnSavedNotification();
    void LoadButtonPictures();
    void SetCheck(int id, bool checked);
    bool IsChecked(int id) const;
    void CreateToolTips();
    void ShowButton(int id, bool show);
    void GrabAndProcess(const std::vector<Container::sRect>& rects);
    void SaveWithDialog(const std::vector<cSimplePictureSaveThread::tSharedPicture>& pictures);
    void SaveInBackground(const std::vector<cSimplePictureSaveThread::tSharedPicture>& pictures);
    void CollectFinishedWorkers();
    void OpenSaveFolder();

    HINSTANCE m_instance = nullptr;
    cSettingsRecord* m_settings = nullptr;
    cCaptureFrame* m_frame = nullptr;

    std::vector<Thread::cThreadHolder<cSimplePictureSaveThread>> m_workers;
    cCaptureFileNamer m_namer;
    cClipboardWriter m_clipboard;
    int m_statusId = -1;
    // The button tiles cut from bitmap 109, and the logo of bitmap 134.
    Painter::cPictureList m_tiles;
    Painter::cPicture m_logo;
    Window::cToolTip m_toolTip;
    HACCEL m_accelerators = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    bool m_printScreenHeld = false;
    bool m_altHeld = false;
    bool m_busy = false;
    HWND m_pickedWindow = nullptr;
    std::unique_ptr<cMarkWindow> m_markWindow;
    std::unique_ptr<cClickWindow> m_clickWindow;
    std::unique_ptr<cNormalCaptureWindow> m_dragSelect;
    cMonitorList::tSource m_monitors;
    std::function<void()> m_endSession;
    std::function<void()> m_languageChanged;
    // The window the workers post to; read on their threads.
    std::atomic<HWND> m_notifyWindow{nullptr};

    // Paths saved by the workers, handed over by OnPictureSaved.
    std::mutex m_savedLock;
    std::vector<Container::cWideString> m_savedPaths;
    // The hand-off of saved files to the associated program.
    std::unique_ptr<cProgramHandOff> m_handOff;
};
