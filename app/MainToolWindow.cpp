#include "app/MainToolWindow.h"

#include "app/AboutDialog.h"
#include "app/CaptureFrame.h"
#include "app/ClipboardWriter.h"
#include "app/PreferenceDialog.h"
#include "app/WindowCaptureRect.h"
#include "app/capture/SaveDialogFilter.h"
#include "app/settings/win32/WindowsSettingsEnvironment.h"
#include "framework/application/Module.h"
#include "framework/core/PathHelpers.h"
#include "framework/gdi/GrabScreen.h"
#include "framework/painter/AlphaComposite.h"
#include "framework/painter/PictureList.h"
#include "framework/picturefile/BVPictureFileFactory.h"
#include "framework/window/Toolkit.h"
#include "resources/AboutResources.h"
#include "resources/PreferenceResources.h"
#include "resources/ToolWindowResource.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

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

// A 32-bit top-down DIB section holding picture composed over colour.
HBITMAP MakeButtonBitmap(const Painter::cPicture& picture, COLORREF colour)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.Width();
    info.bmiHeader.biHeight = -picture.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    const std::uint32_t face =
        0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | static_cast<std::uint32_t>(GetBValue(colour));
    auto* target = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            target[y * picture.Width() + x] = Painter::BlendNormal(face, picture.Pixel(x, y));
    return bitmap;
}

} // namespace

cMainToolWindow::cMainToolWindow() = default;

cMainToolWindow::~cMainToolWindow()
{
    StopWorkers();
    Destroy();
    if (m_accelerators != nullptr)
        DestroyAcceleratorTable(m_accelerators);
    for (HBITMAP bitmap : m_buttonBitmaps)
        DeleteObject(bitmap);
    if (m_bigIcon != nullptr)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon != nullptr)
        DestroyIcon(m_smallIcon);
}

const char16_t* cMainToolWindow::EnglishText(int id)
{
    switch (id) {
    case IDS_MSG_WELCOME: return u"Welcome Quillsnapper";
    case IDS_MSG_TRY_KEYBOARD_TO_MOVEING: return u"Try the arrow keys for moving.";
    case IDS_MSG_TRY_SHIFT_KEY: return u"with the Shift key to move 10 pixels";
    case IDS_MSG_TRY_CTRL_KEY: return u"with the Ctrl key to resize";
    case IDS_MSG_TRY_ENTER: return u"If you want to capture, press Enter key.";
    case IDS_MSG_COPYED_CLIPBOARD: return u"The image is copied to the clipboard.";
    case IDS_MSG_SAVED_FILE: return u"The image is saved.";
    case IDC_NORMAL_CAPTURE: return u"Rectangular Capture";
    case IDC_CAPTURE: return u"Capture";
    case IDC_CAPTURE_FRAME: return u"Rectangular Capture";
    case IDC_CAPTURE_FRAME_CANCEL: return u"Cancel";
    case IDC_CAPTURE_WINDOW: return u"Window Capture";
    case IDC_CAPTURE_FULL_SCREEN: return u"Full-screen Capture";
    case IDC_OPEN_SAVE_FOLDER: return u"Open Save Folder";
    case IDC_OPTIONS: return u"Options";
    case IDC_CHECK_CONFIRM_SAVING: return u"Confirm Saving";
    case IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM: return u"Send to associated program";
    case ID_ABOUT: return u"About Quillsnapper...";
    default: return u"";
    }
}

bool cMainToolWindow::Create(HINSTANCE instance, cSettingsRecord& settings, cCaptureFrame& frame)
{
    if (m_window != nullptr)
        return true;
    m_instance = instance;
    m_settings = &settings;
    m_frame = &frame;
    m_handOff = std::make_unique<cProgramHandOff>(settings);
    m_window = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN_TOOL_WINDOW), nullptr,
                                  &cMainToolWindow::DialogProc, reinterpret_cast<LPARAM>(this));
    return m_window != nullptr;
}

void cMainToolWindow::Destroy()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
    m_window = nullptr;
}

INT_PTR CALLBACK cMainToolWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<cMainToolWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_window = window;
        self->OnInitDialog();
        self->ApplyLanguage();
        // No control takes the focus: the window is not shown yet.
        return FALSE;
    }
    auto* self = reinterpret_cast<cMainToolWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->m_window = nullptr;
        self->m_notifyWindow.store(nullptr);
        return FALSE;
    }
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR cMainToolWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_INPUT:
        OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
        // The default processing cleans up after the raw input.
        return FALSE;
    case WM_SYSCOMMAND: {
        bool handled = false;
        OnSysCommand(wParam, lParam, handled);
        return handled ? TRUE : FALSE;
    }
    case WM_ACTIVATE:
        OnActivate(wParam, lParam);
        return FALSE;
    case WM_CLOSE:
        // The window lives until the application takes it down.
        PostQuitMessage(0);
        return TRUE;
    case WM_TIMER:
        // The pick timer steps window picking while the window is hidden.
        return TRUE;
    case WM_DESTROY:
        KillTimer(m_window, kPickTimer);
        return FALSE;
    case kSavedMessage:
        // Also DM_SETDEFID, which anyone may send: the message carries
        // nothing we read; the paths come from our own workers' list.
        OnSavedNotification();
        SetWindowLongPtrW(m_window, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE && m_endSession)
            m_endSession();
        return FALSE;
    default:
        return FALSE;
    }
}

void cMainToolWindow::OnInitDialog()
{
    m_notifyWindow.store(m_window);
    // The tool window's own icons (not the dialog class's, which every
    // dialog of the process shares).
    m_bigIcon = static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDI_QUILLSNAPPER), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    m_smallIcon = static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDI_QUILLSNAPPER), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));

    ACCEL keys[] = {
        {FVIRTKEY, 'R', IDC_CAPTURE_FRAME},        {FVIRTKEY, 'F', IDC_CAPTURE_FULL_SCREEN},
        {FVIRTKEY, 'W', IDC_CAPTURE_WINDOW},       {FVIRTKEY, VK_ESCAPE, IDC_CAPTURE_FRAME_CANCEL},
        {FVIRTKEY, VK_RETURN, IDC_CAPTURE},        {FVIRTKEY, VK_F10, IDC_OPTIONS},
    };
    if (m_accelerators == nullptr)
        m_accelerators = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));

    if (HMENU systemMenu = GetSystemMenu(m_window, FALSE))
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    ShowButton(IDC_CAPTURE, false);
    ShowButton(IDC_CAPTURE_FRAME_CANCEL, false);
    CreateToolTips();
    EnableWindow(GetDlgItem(m_window, IDC_CAPTURE_FRAME_CANCEL), FALSE);
    LoadButtonPictures();
    CheckDlgButton(m_window, IDC_CHECK_CONFIRM_SAVING, m_settings->ConfirmSaving ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_window, IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM,
                   m_settings->CheckedAssociatedProgram ? BST_CHECKED : BST_UNCHECKED);
    SetStatus(IDS_MSG_WELCOME);
}

void cMainToolWindow::ApplyLanguage()
{
    for (int id : {IDC_CHECK_CONFIRM_SAVING, IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM})
        SetDlgItemTextW(m_window, id, Wide(EnglishText(id)));
    SetWindowTextW(m_window, L"Vadrin Quillsnapper");
    if (HMENU systemMenu = GetSystemMenu(m_window, FALSE)) {
        DeleteMenu(systemMenu, ID_ABOUT, MF_BYCOMMAND);
        AppendMenuW(systemMenu, MF_STRING, ID_ABOUT, Wide(EnglishText(ID_ABOUT)));
    }
}

void cMainToolWindow::CreateToolTips()
{
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, m_instance, nullptr);
    if (m_toolTip == nullptr)
        return;
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, 300);
    for (const sButtonTile& button : kButtonTiles) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_window;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(m_window, button.id));
        tool.lpszText = const_cast<wchar_t*>(Wide(EnglishText(button.id)));
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(m_toolTip, TTM_ACTIVATE, TRUE, 0);
}

void cMainToolWindow::LoadButtonPictures()
{
    Application::cModule module(m_instance);
    Painter::cPicture strip;
    Painter::cPictureList tiles;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    if (module.LoadBitmapResource(strip, IDB_TOOL_TILES) && tiles.SplitStrip(strip)) {
        for (const sButtonTile& button : kButtonTiles) {
            HBITMAP bitmap = MakeButtonBitmap(*tiles[button.tile], face);
            if (bitmap == nullptr)
                continue;
            m_buttonBitmaps.push_back(bitmap);
            SendDlgItemMessageW(m_window, button.id, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        }
    }
    Painter::cPicture logo;
    if (module.LoadBitmapResource(logo, IDB_LOGO)) {
        if (HBITMAP bitmap = MakeButtonBitmap(logo, face)) {
            m_buttonBitmaps.push_back(bitmap);
            SendDlgItemMessageW(m_window, IDC_VADRIN, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        }
    }
}

void cMainToolWindow::SetStatus(int id)
{
    if (id == m_statusId)
        return;
    m_statusId = id;
    SetDlgItemTextW(m_window, IDC_STATUS, Wide(id == 0 ? u"" : EnglishText(id)));
}

void cMainToolWindow::ShowButton(int id, bool show)
{
    if (HWND button = GetDlgItem(m_window, id))
        ShowWindow(button, show ? SW_SHOWNA : SW_HIDE);
}

bool cMainToolWindow::PreTranslateMessage(MSG* message)
{
    if (m_window == nullptr)
        return false;
    if (m_frame != nullptr && m_frame->IsVisible() && message->message == WM_KEYDOWN &&
        message->wParam == VK_RETURN) {
        CaptureFramed();
        return true;
    }
    if (m_accelerators != nullptr) {
        MSG copy = *message;
        if (TranslateAcceleratorW(m_window, m_accelerators, &copy))
            return true;
    }
    return IsDialogMessageW(m_window, message) != FALSE;
}

void cMainToolWindow::OnCommand(int id, int code, HWND control)
{
    const bool fromAccelerator = control == nullptr && code == 1;
    if (control != nullptr && code != BN_CLICKED)
        return;
    if (control == nullptr && !fromAccelerator)
        return;
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
                return;
            break;
        default:
            return;
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
    case IDC_OPEN_SAVE_FOLDER:
        OpenSaveFolder();
        break;
    case IDC_CHECK_CONFIRM_SAVING:
        m_settings->ConfirmSaving = IsDlgButtonChecked(m_window, IDC_CHECK_CONFIRM_SAVING) == BST_CHECKED;
        break;
    case IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM:
        m_settings->CheckedAssociatedProgram =
            IsDlgButtonChecked(m_window, IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM) == BST_CHECKED;
        break;
    case IDC_VADRIN:
        ShellExecuteW(m_window, L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case IDC_OPTIONS:
        ShowOptions();
        break;
    default:
        // Drag-select (1005) and window picking (3001) arrive with their
        // own windows; OK and Cancel never end this window.
        break;
    }
}

void cMainToolWindow::OpenSaveFolder()
{
    // Folders only: the setting is never run as a program or document.
    const Container::cWideString& folder = m_settings->SaveFilePath;
    if (folder.IsEmpty() || !Storage::IsFolder(folder))
        return;
    ShellExecuteW(m_window, L"open", Wide(folder.Text()), nullptr, nullptr, SW_SHOWNORMAL);
}

void cMainToolWindow::OnRawInput(HRAWINPUT input)
{
    RAWINPUT record{};
    UINT size = sizeof(record);
    if (GetRawInputData(input, RID_INPUT, &record, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
        return;
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

void cMainToolWindow::OnSysCommand(WPARAM command, LPARAM, bool& handled)
{
    // The window cannot be minimised.
    if (command == 0 || (command & 0xFFF0) == SC_MINIMIZE) {
        handled = true;
        return;
    }
    if (command == ID_ABOUT) {
        ShowAbout();
        handled = true;
        return;
    }
    handled = false;
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
    cPreferenceDialog options(*m_settings, environment, languages);
    options.DoModalOwnedBy(IDD_OPTIONS, m_window);
    // Whatever the answer: the check boxes show the settings again.
    CheckDlgButton(m_window, IDC_CHECK_CONFIRM_SAVING, m_settings->ConfirmSaving ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_window, IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM,
                   m_settings->CheckedAssociatedProgram ? BST_CHECKED : BST_UNCHECKED);
    m_busy = false;
}

void cMainToolWindow::ShowAbout()
{
    // The About dialog is a toolkit dialog: the toolkit is brought up the
    // first time one is shown.
    if (!Window::cToolkit::IsInitialized())
        Window::cToolkit::Initialize();
    const bool wasBusy = m_busy;
    m_busy = true;
    cAboutDialog about;
    about.DoModalOwnedBy(IDD_APP_ABOUT, m_window);
    m_busy = wasBusy;
}

void cMainToolWindow::OnActivate(WPARAM wParam, LPARAM lParam)
{
    // Only a real activation while framing hands the activation on to the
    // frame, and never back to the window it came from.
    if (LOWORD(wParam) == WA_INACTIVE || m_frame == nullptr || !m_frame->IsVisible())
        return;
    HWND previous = reinterpret_cast<HWND>(lParam);
    if (previous == m_frame->Handle() || GetActiveWindow() == m_frame->Handle())
        return;
    SetActiveWindow(m_frame->Handle());
}

void cMainToolWindow::BeginFraming()
{
    if (m_frame != nullptr && !m_frame->IsVisible())
        m_frame->ShowNoActivate();
    EnableWindow(GetDlgItem(m_window, IDC_CAPTURE_FRAME_CANCEL), TRUE);
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
    if (active != nullptr && (active == m_window || (m_frame != nullptr && active == m_frame->Handle())))
        SetFocus(m_window);
}

void cMainToolWindow::RestoreIdle()
{
    KillTimer(m_window, kPickTimer);
    m_pickedWindow = nullptr;
    CancelFraming();
    if (!IsWindowVisible(m_window))
        ShowWindow(m_window, SW_SHOWNA);
}

void cMainToolWindow::HideForCapture()
{
    // Every window of the program goes first, then one wait for the desktop
    // to repaint what they covered.
    KillTimer(m_window, kPickTimer);
    if (m_frame != nullptr)
        m_frame->HideAll();
    if (IsWindowVisible(m_window))
        ShowWindow(m_window, SW_HIDE);
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
        if (GDI::GrabScreen(Painter::cRect(rect), picture))
            pictures.push_back(std::move(picture));
    }
    RestoreIdle();
    ProcessCaptures(pictures);
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
    if (pictures.empty())
        return;
    if (m_settings->CheckedCopyClipboard) {
        if (CopyToClipboard(pictures.back()) > 0)
            SetStatus(IDS_MSG_COPYED_CLIPBOARD);
    } else {
        SetStatus(0);
    }
    if (m_settings->ConfirmSaving)
        SaveWithDialog(pictures);
    else
        SaveInBackground(pictures);
}

int cMainToolWindow::CopyToClipboard(const Painter::cPicture& picture)
{
    return cClipboardWriter::Place(m_window, picture);
}

void cMainToolWindow::SaveWithDialog(std::vector<Painter::cPicture>& pictures)
{
    const bool wasBusy = m_busy;
    m_busy = true;
    const cSettingsRecord::sNaming naming = m_settings->Naming();
    const std::u16string filter = cSaveDialogFilter::DialogForm();
    std::vector<Container::cWideString> saved;
    Brimvale::cBVPictureFileFactory factory;
    for (const Painter::cPicture& picture : pictures) {
        const Container::cWideString proposed = m_namer.MakeCaptureFileName(naming);
        // Room for any path the dialog may return; the proposal is cut
        // to fit, never written past the buffer.
        std::vector<wchar_t> buffer(32768, L'\0');
        const std::size_t length = std::min(proposed.Length(), buffer.size() - 1);
        std::copy_n(reinterpret_cast<const wchar_t*>(proposed.Text()), length, buffer.begin());

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = m_window;
        dialog.lpstrFilter = Wide(filter.c_str());
        dialog.nFilterIndex = static_cast<DWORD>(cSaveDialogFilter::IndexOf(naming.format));
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrInitialDir = Wide(naming.folder.Text());
        dialog.lpstrDefExt = Wide(naming.format.Text());
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
        const bool chosen = GetSaveFileNameW(&dialog) != FALSE;
        m_namer.Release(proposed);
        if (!chosen)
            continue;

        const Container::cWideString path(reinterpret_cast<const char16_t*>(buffer.data()));
        std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(path));
        if (!file)
            continue;
        file->SetSaveOptions(PictureFile::sSaveOptions());
        if (file->Save(picture, path)) {
            saved.push_back(path);
            SetStatus(IDS_MSG_SAVED_FILE);
        }
    }
    if (m_settings->CheckedAssociatedProgram)
        SendToAssociatedProgram(saved);
    m_busy = wasBusy;
}

void cMainToolWindow::SaveInBackground(const std::vector<Painter::cPicture>& pictures)
{
    CollectFinishedWorkers();
    auto worker = std::make_unique<cSimplePictureSaveThread>(m_settings->Naming(), m_namer, this);
    if (!worker->Start() || !worker->SetQueue(pictures))
        return;
    worker->Wake();
    m_workers.push_back(std::move(worker));
}

void cMainToolWindow::CollectFinishedWorkers()
{
    // A worker that has been woken and not yet emptied its queue is never
    // collected.
    std::erase_if(m_workers, [](const std::unique_ptr<cSimplePictureSaveThread>& worker) {
        if (!worker->IsFinished())
            return false;
        worker->Stop();
        return true;
    });
}

void cMainToolWindow::StopWorkers()
{
    for (auto& worker : m_workers)
        worker->Stop();
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
