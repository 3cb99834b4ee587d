#include "payload/win32/password_dialog.h"

#include "engine/win32/gdi_handles.h"
#include "payload/password_hash.h"

const char kPasswordDialogTemplate[] = "PW_DIALOG";
const char kPasswordDialogCreateError[] = "Error creating PW dialog";
const char kErrorBoxCaption[] = "Error";

namespace {

constexpr int kMaxEntryLength = 1023;

}  // namespace

// One prompt: the dialog window, its bold label font and the outcome. The dialog reaches it
// through its DWLP_USER slot, the edit field through its GWLP_USERDATA slot.
class TfrmPWDialog {
public:
    explicit TfrmPWDialog(const PasswordPromptTexts& texts) : texts_(texts) {}
    virtual ~TfrmPWDialog() {
        // Left by a quit request while open: the window must not outlive the object it points to.
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
    }
    TfrmPWDialog(const TfrmPWDialog&) = delete;
    TfrmPWDialog& operator=(const TfrmPWDialog&) = delete;

    std::string Run(HWND owner, const DialogLoop& runLoop) {
        window_ = CreateDialogParamA(GetModuleHandleA(nullptr), kPasswordDialogTemplate, owner, DialogProcedure,
                                     reinterpret_cast<LPARAM>(this));
        if (!window_) {
            MessageBoxA(nullptr, kPasswordDialogCreateError, kErrorBoxCaption, MB_OK);
            return kPasswordCancelMarker;
        }
        SetWindowTextA(window_, texts_.Caption.c_str());
        ShowWindow(window_, SW_SHOWNORMAL);
        runLoop(window_);
        return accepted_ ? entered_ : std::string(kPasswordCancelMarker);
    }

private:
    static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            reinterpret_cast<TfrmPWDialog*>(lParam)->Initialise(dialog);
            return TRUE;  // the first tab stop, the edit field, gets the focus
        }
        auto* self = reinterpret_cast<TfrmPWDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (!self) return FALSE;
        switch (message) {
            case WM_COMMAND:
                if (LOWORD(wParam) == kPasswordOkId) {
                    self->Accept();
                } else if (LOWORD(wParam) == kPasswordCancelId) {
                    self->accepted_ = false;
                    SendMessageA(dialog, WM_CLOSE, 0, 0);
                }
                return TRUE;
            case WM_ACTIVATE:
                if (LOWORD(wParam) == WA_INACTIVE) SendMessageA(dialog, WM_CANCELMODE, 0, 0);
                return FALSE;
            case WM_CLOSE:
                DestroyWindow(dialog);
                return TRUE;
            case WM_DESTROY:
                self->font_.reset();
                return FALSE;
            default:
                return FALSE;
        }
    }

    // Enter in the edit field accepts: its key-down is swallowed, its character accepts.
    static LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TfrmPWDialog*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
        if (message == WM_KEYDOWN && wParam == VK_RETURN) return 0;
        if (message == WM_CHAR && wParam == '\r') {
            self->Accept();
            return 0;
        }
        return CallWindowProcA(self->originalEditProcedure_, edit, message, wParam, lParam);
    }

    void Initialise(HWND dialog) {
        window_ = dialog;
        font_.reset(CreateFontA(12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif"));
        SendDlgItemMessageA(dialog, kPasswordLabelId, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
        SetDlgItemTextA(dialog, kPasswordLabelId, texts_.Label.c_str());

        // Centred on the work area's size; its origin is not added.
        RECT outer{};
        GetWindowRect(dialog, &outer);
        const int width = outer.right - outer.left;
        const int height = outer.bottom - outer.top;
        RECT workArea{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
        const int workWidth = workArea.right - workArea.left;
        const int workHeight = workArea.bottom - workArea.top;
        SetWindowPos(dialog, nullptr, workWidth / 2 - width / 2, workHeight / 2 - height / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

        const HWND edit = GetDlgItem(dialog, kPasswordEditId);
        SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        originalEditProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProcedure)));
        if (!originalEditProcedure_) MessageBeep(MB_ICONASTERISK);

        SendMessageA(dialog, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), "MAINICON")));
    }

    void Accept() {
        char text[kMaxEntryLength + 1] = {};
        GetDlgItemTextA(window_, kPasswordEditId, text, sizeof text);
        entered_ = text;
        SecureZeroMemory(text, sizeof text);
        accepted_ = true;
        SendMessageA(window_, WM_CLOSE, 0, 0);
    }

    PasswordPromptTexts texts_;
    HWND window_ = nullptr;
    UniqueGdiObject font_;
    WNDPROC originalEditProcedure_ = nullptr;
    std::string entered_;
    bool accepted_ = false;
};

std::string PromptPassword(HWND owner, const PasswordPromptTexts& texts, const DialogLoop& runLoop) {
    TfrmPWDialog dialog(texts);
    return dialog.Run(owner, runLoop);
}
