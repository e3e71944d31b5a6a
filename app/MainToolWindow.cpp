#include "app/MainToolWindow.h"

#include "app/AboutDialog.h"
#include "app/CaptureFrame.h"
#include "app/ClickWindow.h"
#include "app/ClipboardWriter.h"
#include "app/MarkWindow.h"
#include "app/NormalCaptureWindow.h"
#include "app/PreferenceDialog.h"
#include "app/WindowCaptureRect.h"
#include "app/capture/SaveDialogFilter.h"
#include "app/settings/win32/WindowsSettingsEnvironment.h"
#include "framework/application/Module.h"
#include "framework/core/PathHelpers.h"
#include "framework/gdi/GrabScreen.h"
#include "framework/painter/AlphaComposite.h"
#include "framework/painter/PictureList.h"
#include "framework/document/BVPictureFileFactory.h"
#include "framework/picturefile/PictureFile.h"
#include "framework/settings/LanguageTable.h"
#include "framework/window/Button.h"
#include "framework/window/FileDialog.h"
#include "framework/window/Toolkit.h"
#include "resources/AboutResources.h"
#include "resources/PreferenceResources.h"
#include "resources/ToolWindowResource.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <new>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// The picture buttons and the tile each one shows.
struct sButtonTile
{
    int id;
    int tile;
};
constexpr sButtonTile kButtonTiles[] = {
    {IDC_NORMAL_CAPTURE, 13}, {IDC_CAPTURE, 0},          {IDC_CAPTURE_FRAME, 1},    {IDC_CAPTURE_FRAME_CANCEL, 2},
    {IDC_CAPTURE_WINDOW, 3},  {IDC_CAPTURE_FULL_SCREEN, 4}, {IDC_OPEN_SAVE_FOLDER, 6}, {IDC_OPTIONS, 5},
};

// The buttons of the idle row, and those of the framing row.
constexpr int kIdleButtons[] = {IDC_CAPTURE_FRAME,       IDC_NORMAL_CAPTURE, IDC_CAPTURE_WINDOW,
                                IDC_CAPTURE_FULL_SCREEN, IDC_OPTIONS,        IDC_OPEN_SAVE_FOLDER};
constexpr int kFramingButtons[] = {IDC_CAPTURE, IDC_CAPTURE_FRAME_CANCEL};

// The home page the logo button opens.
const wchar_t kHomePage[] = L"https://www.vadrin.com/?from=Quillsnapper";

} // namespace

cMainToolWindow::cMainToolWindow() = default;

cMainToolWindow::~cMainToolWindow()
{
    StopWorkers();
    if (m_accelerators != nullptr)
        DestroyAcceleratorTable(m_accelerators);
    if (m_bigIcon != nullptr)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon != nullptr)
        DestroyIcon(m_smallIcon);
}

Container::cWideString cMainToolWindow::LanguageText(int id)
{
    const cLanguage* language = cLanguage::Current();
    const Container::cWideString* text = language != nullptr ? language->Text(id) : nullptr;
    if (text == nullptr)
        return Container::cWideString(u"");
    // Texts read "caption|description|tool tip": the caption is shown.
    const std::size_t bar = text->Find(u'|');
    return bar < text->Length() ? Container::cWideString(text->Text(), bar) : *text;
}

bool cMainToolWindow::Create(HINSTANCE instance, cSettingsRecord& settings, cCaptureFrame& frame)
{
    if (Handle() != nullptr)
        return true;
    m_instance = instance;
    m_settings = &settings;
    m_frame = &frame;
    m_handOff = std::make_unique<cProgramHandOff>(settings);
    return cDialog::Create(IDD_MAIN_TOOL_WINDOW, nullptr);
}

LRESULT cMainToolWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kSavedMessage:
        // Also DM_SETDEFID, which anyone may send: the message carries
        // nothing we read; the paths come from our own workers' list.
        OnSavedNotification();
        SetResult(1);
        return TRUE;
    case WM_SYSCOMMAND:
        if (HandleSysCommand(wParam))
            return TRUE;
        break;
    // The last capture on the clipboard, written when it is asked for.
    case WM_RENDERFORMAT:
        m_clipboard.RenderFormat(static_cast<UINT>(wParam));
        return TRUE;
    case WM_RENDERALLFORMATS:
        m_clipboard.RenderAll();
        return TRUE;
    case WM_DESTROYCLIPBOARD:
        m_clipboard.Release();
        return TRUE;
    case WM_NCDESTROY:
        m_notifyWindow.store(nullptr);
        break;
    default:
        break;
    }
    return cDialog::WindowProc(message, wParam, lParam);
}

void cMainToolWindow::OnClose()
{
    // The window lives until the application takes it down.
    PostQuitMessage(0);
}

void cMainToolWindow::OnDestroy()
{
    DestroyCaptureModeWindows();
    KillTimer(Handle(), kPickTimer);
    cDialog::OnDestroy();
}

void cMainToolWindow::OnEndSession(bool ending, LPARAM flags)
{
    if (ending && m_endSession)
        m_endSession();
    cDialog::OnEndSession(ending, flags);
}

bool cMainToolWindow::OnTimer(UINT_PTR id, LPARAM lParam)
{
    // The pick timer steps window picking while the window is hidden.
    if (id == kPickTimer) {
        if (!IsWindowVisible(Handle()))
            PickStep();
        return true;
    }
    return cDialog::OnTimer(id, lParam);
}

bool cMainToolWindow::OnInitDialog()
{
    // The title from the language, the template's controls as toolkit ones.
    cDialog::OnInitDialog();
    m_notifyWindow.store(Handle());
    // The tool window's own icons (not the dialog class's, which every
    // dialog of the process shares).
    m_bigIcon = static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDI_QUILLSNAPPER), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    m_smallIcon = static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDI_QUILLSNAPPER), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));

    ACCEL keys[] = {
        {FVIRTKEY, 'R', IDC_CAPTURE_FRAME},        {FVIRTKEY, 'F', IDC_CAPTURE_FULL_SCREEN},
        {FVIRTKEY, 'W', IDC_CAPTURE_WINDOW},       {FVIRTKEY, VK_ESCAPE, IDC_CAPTURE_FRAME_CANCEL},
        {FVIRTKEY, VK_RETURN, IDC_CAPTURE},        {FVIRTKEY, VK_F10, IDC_OPTIONS},
    };
    if (m_accelerators == nullptr)
        m_accelerators = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));

    if (HMENU systemMenu = GetSystemMenu(Handle(), FALSE))
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    ShowButton(IDC_CAPTURE, false);
    ShowButton(IDC_CAPTURE_FRAME_CANCEL, false);
    CreateToolTips();
    EnableWindow(GetDlgItem(Handle(), IDC_CAPTURE_FRAME_CANCEL), FALSE);
    LoadButtonPictures();
    CreateCaptureModeWindows();
    SetCheck(IDC_CHECK_CONFIRM_SAVING, m_settings->ConfirmSaving);
    SetCheck(IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM, m_settings->CheckedAssociatedProgram);
    SetStatus(IDS_MSG_WELCOME);
    // No control takes the focus: the window is not shown yet.
    return false;
}

void cMainToolWindow::ApplyLanguage()
{
    cDialog::ApplyLanguage();
    SetWindowTextW(Handle(), L"Vadrin Quillsnapper");
    if (HMENU systemMenu = GetSystemMenu(Handle(), FALSE)) {
        DeleteMenu(systemMenu, ID_ABOUT, MF_BYCOMMAND);
        AppendMenuW(systemMenu, MF_STRING, ID_ABOUT, Wide(LanguageText(ID_ABOUT).Text()));
    }
}

void cMainToolWindow::CreateToolTips()
{
    if (!m_toolTip.Create(Handle()))
        return;
    SetWindowPos(m_toolTip.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_toolTip.SetMaxTipWidth(300);
    m_toolTip.Activate(true);
    // The tips are the third part of each control's language text.
    SetToolTip(&m_toolTip);
}

void cMainToolWindow::LoadButtonPictures()
{
    Application::cModule module(m_instance);
    Painter::cPicture strip;
    auto button = [&](int id) { return dynamic_cast<Window::cButton*>(FromHandle(GetDlgItem(Handle(), id))); };
    if (module.LoadBitmapResource(strip, IDB_TOOL_TILES) && m_tiles.SplitStrip(strip)) {
        for (const sButtonTile& tile : kButtonTiles)
            if (Window::cButton* target = button(tile.id)) {
                // Picture buttons: the caption is the tool tip's business.
                target->SetShowTextWithImage(false);
                target->SetImage(*m_tiles[tile.tile]);
            }
    }
    if (module.LoadBitmapResource(m_logo, IDB_LOGO))
        if (Window::cButton* target = button(IDC_VADRIN)) {
            target->SetShowTextWithImage(false);
            target->SetImage(m_logo);
        }
}

void cMainToolWindow::SetCheck(int id, bool checked)
{
    if (auto* box = dynamic_cast<Window::cButton*>(FromHandle(GetDlgItem(Handle(), id))))
        box->SetCheck(checked ? BST_CHECKED : BST_UNCHECKED);
    else
        CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool cMainToolWindow::IsChecked(int id) const
{
    if (auto* box = dynamic_cast<Window::cButton*>(FromHandle(GetDlgItem(Handle(), id))))
        return box->GetCheck() == BST_CHECKED;
    return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

void cMainToolWindow::SetStatus(int id)
{
    if (id == m_statusId)
        return;
    m_statusId = id;
    SetDlgItemTextW(Handle(), IDC_STATUS, Wide(id == 0 ? u"" : LanguageText(id).Text()));
}

void cMainToolWindow::ShowButton(int id, bool show)
{
    if (HWND button = GetDlgItem(Handle(), id))
        ShowWindow(button, show ? SW_SHOWNA : SW_HIDE);
}

bool cMainToolWindow::PreTranslateMessage(MSG* message)
{
    if (Handle() == nullptr)
        return false;
    if (m_frame != nullptr && m_frame->IsVisible() && message->message == WM_KEYDOWN &&
        message->wParam == VK_RETURN) {
        CaptureFramed();
        return true;
    }
    if (m_frame != nullptr && m_frame->IsVisible() && message->message == WM_KEYDOWN &&
        (message->wParam == VK_LEFT || message->wParam == VK_UP || message->wParam == VK_RIGHT ||
         message->wParam == VK_DOWN)) {
        MoveFrameByKey(UINT(message->wParam));
        return true;
    }
    if (m_accelerators != nullptr) {
        MSG copy = *message;
        if (TranslateAcceleratorW(Handle(), m_accelerators, &copy))
            return true;
    }
    return cDialog::PreTranslateMessage(message);
}

bool cMainToolWindow::OnCommand(std::int32_t id, std::int32_t code, HWND control)
{
    const bool fromAccelerator = control == nullptr && code == 1;
    if (control != nullptr && code != BN_CLICKED)
        return true;
    if (control == nullptr && !fromAccelerator)
        return true;
    if (fromAccelerator) {
        switch (id) {
        case IDC_CAPTURE_FRAME:
        case IDC_CAPTURE_FRAME_CANCEL:
        case IDC_CAPTURE_WINDOW:
        case IDC_CAPTURE_FULL_SCREEN:
        case IDC_OPTIONS:
            break;
        case IDC_CAPTURE:
            if (m_frame == nullptr || !m_frame->IsVisible())
                return true;
            break;
        default:
            return true;
        }
    }
    switch (id) {
    case IDC_CAPTURE:
        CaptureFramed();
        break;
    case IDC_CAPTURE_FRAME:
        BeginFraming();
        break;
    case IDC_CAPTURE_FRAME_CANCEL:
        CancelFraming();
        break;
    case IDC_CAPTURE_FULL_SCREEN:
        CaptureFullScreen();
        break;
    case IDC_CAPTURE_WINDOW:
        StartWindowPick();
        break;
    case IDC_NORMAL_CAPTURE:
        if (!fromAccelerator)
            StartDragSelect();
        break;
    case IDC_OPEN_SAVE_FOLDER:
        OpenSaveFolder();
        break;
    case IDC_CHECK_CONFIRM_SAVING:
        m_settings->ConfirmSaving = IsChecked(IDC_CHECK_CONFIRM_SAVING);
        break;
    case IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM:
        m_settings->CheckedAssociatedProgram = IsChecked(IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM);
        break;
    case IDC_VADRIN:
        ShellExecuteW(Handle(), L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case IDC_OPTIONS:
        ShowOptions();
        break;
    default:
        // OK and Cancel never end this window.
        break;
    }
    return true;
}

void cMainToolWindow::OpenSaveFolder()
{
    // Folders only: the setting is never run as a program or document.
    const Container::cWideString& folder = m_settings->SaveFilePath;
    if (folder.IsEmpty() || !Storage::IsFolder(folder))
        return;
    ShellExecuteW(Handle(), L"open", Wide(folder.Text()), nullptr, nullptr, SW_SHOWNORMAL);
}

void cMainToolWindow::OnRawInput(const RAWINPUT& record)
{
    if (record.header.dwType != RIM_TYPEKEYBOARD)
        return;
    const UINT message = record.data.keyboard.Message;
    const USHORT key = record.data.keyboard.VKey;
    switch (message) {
    case WM_KEYDOWN:
        if (key == VK_SNAPSHOT && !m_printScreenHeld) {
            m_printScreenHeld = true;
            CaptureFullScreen();
        }
        break;
    case WM_KEYUP:
        if (key == VK_SNAPSHOT)
            m_printScreenHeld = false;
        else if (key == VK_MENU)
            m_altHeld = false;
        break;
    case WM_SYSKEYDOWN:
        if (key == VK_MENU) {
            m_altHeld = true;
        } else if (key == VK_SNAPSHOT && !m_printScreenHeld) {
            m_printScreenHeld = true;
            if (m_altHeld)
                CaptureWindowUnderCursor();
            else
                CaptureFullScreen();
        }
        break;
    case WM_SYSKEYUP:
        if (key == VK_MENU)
            m_altHeld = false;
        else if (key == VK_SNAPSHOT)
            m_printScreenHeld = false;
        break;
    default:
        break;
    }
}

bool cMainToolWindow::HandleSysCommand(WPARAM command)
{
    // The window cannot be minimised.
    if (command == 0 || (command & 0xFFF0) == SC_MINIMIZE)
        return true;
    if (command == ID_ABOUT) {
        ShowAbout();
        return true;
    }
    return false;
}

void cMainToolWindow::ShowOptions()
{
    if (m_busy || m_settings == nullptr)
        return;
    if (!Window::cToolkit::IsInitialized())
        Window::cToolkit::Initialize();
    m_busy = true;
    cWindowsSettingsEnvironment environment;
    cAppLanguage::sSources languages;
    languages.programFolder = cAboutDialog::ProgramFolder();
    const Container::cWideString languageBefore = m_settings->DefaultLanguage;
    cPreferenceDialog options(*m_settings, environment, languages);
    options.DoModalOwnedBy(IDD_OPTIONS, Handle());
    if (!(m_settings->DefaultLanguage == languageBefore) && m_languageChanged) {
        m_languageChanged();
        ApplyLanguage();
    }
    // Whatever the answer: the check boxes show the settings again.
    SetCheck(IDC_CHECK_CONFIRM_SAVING, m_settings->ConfirmSaving);
    SetCheck(IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM, m_settings->CheckedAssociatedProgram);
    m_busy = false;
}

void cMainToolWindow::ShowAbout()
{
    if (!Window::cToolkit::IsInitialized())
        Window::cToolkit::Initialize();
    const bool wasBusy = m_busy;
    m_busy = true;
    cAboutDialog about;
    about.DoModalOwnedBy(IDD_APP_ABOUT, Handle());
    m_busy = wasBusy;
}

void cMainToolWindow::OnActivate(std::int32_t state, Window::cWindow* other, bool minimized)
{
    cDialog::OnActivate(state, other, minimized);
    // Only a real activation while framing hands the activation on to the
    // frame, and never back to the window it came from.
    if (state == WA_INACTIVE || m_frame == nullptr || !m_frame->IsVisible())
        return;
    if ((other != nullptr && other->Handle() == m_frame->Handle()) || GetActiveWindow() == m_frame->Handle())
        return;
    SetActiveWindow(m_frame->Handle());
}

void cMainToolWindow::BeginFraming()
{
    if (m_frame != nullptr && !m_frame->IsVisible())
        m_frame->ShowNoActivate();
    EnableWindow(GetDlgItem(Handle(), IDC_CAPTURE_FRAME_CANCEL), TRUE);
    ShowButton(IDC_CAPTURE_FRAME, false);
    ShowButton(IDC_CAPTURE, true);
    ShowButton(IDC_NORMAL_CAPTURE, false);
    ShowButton(IDC_CAPTURE_WINDOW, false);
    ShowButton(IDC_CAPTURE_FULL_SCREEN, false);
    ShowButton(IDC_CAPTURE_FRAME_CANCEL, true);
    ShowButton(IDC_OPTIONS, false);
    ShowButton(IDC_OPEN_SAVE_FOLDER, false);
    SetStatus(IDS_MSG_TRY_KEYBOARD_TO_MOVEING);
}

void cMainToolWindow::CancelFraming()
{
    if (m_frame != nullptr)
        m_frame->HideAll();
    for (int id : kFramingButtons)
        ShowButton(id, false);
    for (int id : kIdleButtons)
        ShowButton(id, true);
    // Focus only within the program: never take it from another one.
    HWND active = GetActiveWindow();
    if (active != nullptr && (active == Handle() || (m_frame != nullptr && active == m_frame->Handle())))
        SetFocus(Handle());
}

void cMainToolWindow::RestoreIdle()
{
    KillTimer(Handle(), kPickTimer);
    m_pickedWindow = nullptr;
    HideCaptureModeWindows(false);
    CancelFraming();
    if (!IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_SHOWNA);
}

void cMainToolWindow::HideForCapture()
{
    // Every window of the program goes first, then one wait for the desktop
    // to repaint what they covered.
    KillTimer(Handle(), kPickTimer);
    if (m_frame != nullptr)
        m_frame->HideAll();
    HideCaptureModeWindows(true);
    if (IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_HIDE);
    Sleep(kHideWaitMs);
}

void cMainToolWindow::CaptureRects(const std::vector<Container::sRect>& rects)
{
    if (m_busy)
        return;
    m_busy = true;
    HideForCapture();
    GrabAndProcess(rects);
    m_busy = false;
}

void cMainToolWindow::GrabAndProcess(const std::vector<Container::sRect>& rects)
{
    std::vector<Painter::cPicture> pictures;
    for (const Container::sRect& rect : rects) {
        Painter::cPicture picture;
        if (GDI::GrabScreen(rect, picture))
            pictures.push_back(std::move(picture));
    }
    // A background save (and the clipboard's offer, which writes nothing
    // yet) comes before the windows, so the files do not wait for them to
    // come back; a save dialog comes after them.
    if (m_settings->ConfirmSaving) {
        RestoreIdle();
        ProcessCaptures(pictures);
    } else {
        ProcessCaptures(pictures);
        RestoreIdle();
    }
}

void cMainToolWindow::CaptureFullScreen()
{
    if (m_busy)
        return;
    const std::vector<Container::sRect> monitors = m_monitors ? m_monitors() : cMonitorList::Enumerate();
    if (monitors.empty()) {
        RestoreIdle();
        return;
    }
    CaptureRects(monitors);
}

void cMainToolWindow::CaptureWindowUnderCursor()
{
    if (m_busy)
        return;
    m_busy = true;
    // The program's own windows must not be the window found; they stay
    // hidden for the grab, so one wait serves both.
    HideForCapture();
    POINT point{};
    Container::sRect rect;
    const std::vector<Container::sRect> monitors = m_monitors ? m_monitors() : cMonitorList::Enumerate();
    if (GetCursorPos(&point) && cWindowCaptureRect::Find(point, monitors, rect))
        GrabAndProcess({rect});
    else
        RestoreIdle();
    m_busy = false;
}

void cMainToolWindow::CaptureFramed()
{
    if (m_frame == nullptr || m_busy)
        return;
    const Container::sRect rect = m_frame->FramedRect();
    if (rect.IsEmpty()) {
        RestoreIdle();
        return;
    }
    CaptureRects({rect});
}

void cMainToolWindow::ProcessCaptures(std::vector<Painter::cPicture>& pictures)
{
    // The pictures are shared, not copied, by whoever still needs them:
    // the clipboard below, the save dialog or the worker.
    std::vector<cSimplePictureSaveThread::tSharedPicture> shared;
    try {
        for (Painter::cPicture& picture : pictures)
            shared.push_back(std::make_shared<const Painter::cPicture>(std::move(picture)));
    } catch (const std::bad_alloc&) {
        shared.clear();
    }
    pictures.clear();
    if (shared.empty())
        return;
    // A background save is under way before the clipboard is filled, so
    // the files do not wait for the clipboard.
    const bool confirm = m_settings->ConfirmSaving;
    if (!confirm)
        SaveInBackground(shared);
    if (m_settings->CheckedCopyClipboard) {
        if (CopyToClipboard(shared.back()) > 0)
            SetStatus(IDS_MSG_COPYED_CLIPBOARD);
    } else {
        SetStatus(0);
    }
    if (confirm)
        SaveWithDialog(shared);
}

int cMainToolWindow::CopyToClipboard(const cSimplePictureSaveThread::tSharedPicture& picture)
{
    return m_clipboard.Offer(Handle(), picture);
}

void cMainToolWindow::ReleaseClipboard()
{
    m_clipboard.RenderAll();
}

void cMainToolWindow::SaveWithDialog(const std::vector<cSimplePictureSaveThread::tSharedPicture>& pictures)
{
    const bool wasBusy = m_busy;
    m_busy = true;
    const cSettingsRecord::sNaming naming = m_settings->Naming();
    std::vector<Container::cWideString> saved;
    Brimvale::cBVPictureFileFactory factory;
    for (const cSimplePictureSaveThread::tSharedPicture& picture : pictures) {
        const Container::cWideString proposed = m_namer.MakeCaptureFileName(naming);
        // The dialog's buffer grows to the proposal, however long the folder.
        Window::cFileDialog dialog(false, proposed.Text(), naming.format.Text(), naming.folder.Text(),
                                   OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER,
                                   cSaveDialogFilter::Text(),
                                   static_cast<DWORD>(cSaveDialogFilter::IndexOf(naming.format)));
        const bool chosen = dialog.DoModal(this) == IDOK;
        m_namer.Release(proposed);
        if (!chosen)
            continue;

        const Container::cWideString& path = dialog.FileName();
        std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(path));
        if (!file)
            continue;
        file->SetSaveOptions(PictureFile::sSaveOptions());
        if (file->Save(*picture, path)) {
            saved.push_back(path);
            SetStatus(IDS_MSG_SAVED_FILE);
        }
    }
    if (m_settings->CheckedAssociatedProgram)
        SendToAssociatedProgram(saved);
    m_busy = wasBusy;
}

void cMainToolWindow::SaveInBackground(const std::vector<cSimplePictureSaveThread::tSharedPicture>& pictures)
{
    CollectFinishedWorkers();
    auto worker = Thread::cThreadHolder<cSimplePictureSaveThread>::Create(m_settings->Naming(), m_namer, this);
    if (!worker || !worker->Start())
        return;
    if (!worker->SetQueue(pictures))
        return;
    worker->Wake();
    m_workers.push_back(std::move(worker));
}

void cMainToolWindow::CollectFinishedWorkers()
{
    // A worker that has been woken and not yet emptied its queue is never
    // collected.
    // Erasing a holder stops and joins its thread.
    std::erase_if(m_workers, [](const Thread::cThreadHolder<cSimplePictureSaveThread>& worker) {
        return worker->IsFinished();
    });
}

void cMainToolWindow::StopWorkers()
{
    // Releasing each holder saves its queue, then joins its thread.
    m_workers.clear();
    OnSavedNotification();
}

void cMainToolWindow::OnPictureSaved(const Container::cWideString& path)
{
    {
        std::lock_guard guard(m_savedLock);
        m_savedPaths.push_back(path);
    }
    if (HWND window = m_notifyWindow.load())
        PostMessageW(window, kSavedMessage, 0, 0);
}

void cMainToolWindow::OnSavedNotification()
{
    std::vector<Container::cWideString> paths;
    {
        std::lock_guard guard(m_savedLock);
        paths.swap(m_savedPaths);
    }
    // Saved files go to the associated program when that is asked for.
    if (m_settings != nullptr && m_settings->CheckedAssociatedProgram)
        SendToAssociatedProgram(paths);
}

void cMainToolWindow::SendToAssociatedProgram(const std::vector<Container::cWideString>& files)
{
    if (m_handOff == nullptr || files.empty())
        return;
    Container::cStringList list;
    for (const Container::cWideString& file : files)
        list.Append(file);
    m_handOff->SendToAssociatedProgram(list);
}
