#include "window/win32/setup_dialog.h"

#include <exception>
#include <string>

#include "engine/win32/dialog_loop.h"
#include "engine/win32/gdi_handles.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/tfrm_main.h"
#include "payload/win32/password_dialog.h"
#include "window/setup_layout.h"
#include "window/setup_values.h"

const char kSetupDialogTemplate[] = "SETUP_DIALOG";
const char kSetupDialogCreateError[] = "Error creating Setup dialog";

namespace {

constexpr int kIconPlaceholderId = 1;
constexpr int kNoticeId = 3;
constexpr int kInfoLineId = 4;
constexpr int kVersionLabelId = 5;
const char kCaptionSuffix[] = " - Setup";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

// One showing of the dialog: its own copies of the per-user options, loaded afresh from the
// settings and the registry, the password gate's verdict, and the dialog's GDI objects.
class TfrmSetup {
public:
    explicit TfrmSetup(TfrmMain& main) : main_(main) { current_ = this; }
    virtual ~TfrmSetup() {
        // Left by a quit request while open: the window must not outlive the object it points to.
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        current_ = nullptr;
    }
    TfrmSetup(const TfrmSetup&) = delete;
    TfrmSetup& operator=(const TfrmSetup&) = delete;

    static TfrmSetup* Current() { return current_; }
    HWND Window() const { return window_; }

    bool Run() {
        const HWND created = CreateDialogParamA(GetModuleHandleA(nullptr), kSetupDialogTemplate, main_.Host.Handle,
                                                DialogProcedure, reinterpret_cast<LPARAM>(this));
        // A dialog the password gate refused is already gone again.
        if (!created || !IsWindow(created)) {
            window_ = nullptr;
            if (passwordAccepted_) MessageBoxA(nullptr, kSetupDialogCreateError, kErrorBoxCaption, MB_OK);
        } else {
            window_ = created;
            const std::string caption = screenName_ + kCaptionSuffix;
            SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
            ShowCheckBoxes();
            if (passwordAccepted_) ShowWindow(window_, SW_SHOWNORMAL);
            RunDialogLoop(window_);
        }
        // Saved whatever happened above: a refused password or a failed dialog writes the values
        // as loaded.
        const bool changed = SaveSetupValues(main_.UserSettings.get(), options_);
        if (failure_) std::rethrow_exception(failure_);
        return changed;
    }

private:
    static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            reinterpret_cast<TfrmSetup*>(lParam)->Initialise(dialog);
            return TRUE;
        }
        auto* self = reinterpret_cast<TfrmSetup*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (!self) return FALSE;
        switch (message) {
            case WM_COMMAND:
                self->OnCheckBoxCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
                return FALSE;
            case WM_CTLCOLORSTATIC:
                SetTextColor(reinterpret_cast<HDC>(wParam), kWhite);
                SetBkColor(reinterpret_cast<HDC>(wParam), kBlack);
                return reinterpret_cast<INT_PTR>(self->brush_.get());
            case WM_CTLCOLORDLG:
                return reinterpret_cast<INT_PTR>(self->brush_.get());
            case WM_PAINT: {
                PAINTSTRUCT paint;
                const HDC dc = BeginPaint(dialog, &paint);
                if (self->icon_) DrawIcon(dc, self->iconPosition_.x, self->iconPosition_.y, self->icon_);
                EndPaint(dialog, &paint);
                return TRUE;
            }
            case WM_ACTIVATE:
                if (LOWORD(wParam) == WA_INACTIVE) SendMessageA(dialog, WM_CANCELMODE, 0, 0);
                return FALSE;
            case WM_NEXTDLGCTL:
                MessageBeep(0);
                return FALSE;
            case WM_CLOSE:
                DestroyWindow(dialog);
                return TRUE;
            case WM_DESTROY:
                self->brush_.reset();
                self->font_.reset();
                return FALSE;
            default:
                return FALSE;
        }
    }

    void Initialise(HWND dialog) {
        // The loader and the gate run inside the dialog's creation, where an exception must not
        // unwind through the system's frames: it is kept and raised again after the save step.
        try {
            LoadOptions();
            passwordAccepted_ = main_.AskPassword();
        } catch (...) {
            failure_ = std::current_exception();
            passwordAccepted_ = false;
        }
        if (!passwordAccepted_) {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            return;
        }

        font_.reset(CreateFontA(12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, "MS Sans Serif"));
        const WPARAM font = reinterpret_cast<WPARAM>(font_.get());
        SendMessageA(dialog, WM_SETFONT, font, FALSE);
        brush_.reset(CreateSolidBrush(kBlack));
        window_ = dialog;
        for (int id : {kNoticeId, kInfoLineId, kVersionLabelId}) SendDlgItemMessageA(dialog, id, WM_SETFONT, font, FALSE);

        for (const SetupCheckBox& box : kSetupCheckBoxes) {
            OptionSwitch& option = options_.*box.Option;
            const HWND control = GetDlgItem(dialog, box.Id);
            option.CheckBoxHandle = reinterpret_cast<uintptr_t>(control);
            SendMessageA(control, WM_SETFONT, font, FALSE);
            const POINT place = PlaceInDialog(control);
            option.CheckBoxX = place.x;
            option.CheckBoxY = place.y;
        }
        MoveCheckBoxesIntoGaps();
        ReplaceIconPlaceholder();
    }

    // The dialog's own option records and screen name; the main object's password settings and
    // caption are refreshed from the same file, for the gate that follows.
    void LoadOptions() {
        Options loaded = main_.Opt;
        main_.LoadSettings(loaded);
        options_.Sound = loaded.Sound;
        options_.Midi = loaded.Midi;
        options_.MidiLoop = loaded.MidiLoop;
        options_.Interaction = loaded.Interaction;
        options_.RightClickMenu = loaded.RightClickMenu;
        options_.KeyInteraction = loaded.KeyInteraction;
        screenName_ = loaded.ScreenName;
        main_.Opt.ScreenName = loaded.ScreenName;
        main_.Opt.Password = loaded.Password;
        main_.Opt.AlignmentX = loaded.AlignmentX;
        main_.Opt.PWEditLabel = loaded.PWEditLabel;
        main_.Opt.PWrong = loaded.PWrong;
    }

    POINT PlaceInDialog(HWND control) const {
        RECT rect{};
        GetWindowRect(control, &rect);
        POINT place{rect.left, rect.top};
        ScreenToClient(window_, &place);
        return place;
    }

    void MoveCheckBoxesIntoGaps() {
        const SetupOptions before = options_;
        CloseSetupLayoutGaps(options_);
        for (OptionSwitch SetupOptions::*member : {&SetupOptions::Interaction, &SetupOptions::KeyInteraction,
                                                   &SetupOptions::RightClickMenu, &SetupOptions::Sound,
                                                   &SetupOptions::Midi}) {
            OptionSwitch& option = options_.*member;
            if (!SetWindowPos(reinterpret_cast<HWND>(option.CheckBoxHandle), nullptr, option.CheckBoxX,
                              option.CheckBoxY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
                option.CheckBoxX = (before.*member).CheckBoxX;
                option.CheckBoxY = (before.*member).CheckBoxY;
            }
        }
    }

    void ReplaceIconPlaceholder() {
        const HWND placeholder = GetDlgItem(window_, kIconPlaceholderId);
        if (placeholder) {
            iconPosition_ = PlaceInDialog(placeholder);
            DestroyWindow(placeholder);
        }
        icon_ = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
        SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    }

    // Each box's visibility, state and check mark as its record says.
    void ShowCheckBoxes() {
        for (OptionSwitch SetupOptions::*member : {&SetupOptions::Sound, &SetupOptions::Midi, &SetupOptions::Interaction,
                                                   &SetupOptions::RightClickMenu, &SetupOptions::KeyInteraction}) {
            const OptionSwitch& option = options_.*member;
            const HWND control = reinterpret_cast<HWND>(option.CheckBoxHandle);
            if (!control) continue;
            const bool shown = (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
            if (shown != option.UserChoosable)
                ShowWindow(control, option.UserChoosable ? SW_SHOW : SW_HIDE);
            EnableWindow(control, option.Enabled);
            const SetupCheckBox& box = *BoxOf(member);
            SendMessageA(control, BM_SETCHECK, SetupBoxChecked(box, options_) ? BST_CHECKED : BST_UNCHECKED, 0);
            InvalidateRect(control, nullptr, TRUE);
        }
    }

    static const SetupCheckBox* BoxOf(OptionSwitch SetupOptions::*member) {
        for (const SetupCheckBox& box : kSetupCheckBoxes)
            if (box.Option == member) return &box;
        return nullptr;
    }

    void OnCheckBoxCommand(int id, HWND control) {
        const SetupCheckBox* box = FindSetupCheckBox(id);
        if (!box || !control) return;
        const bool checked = (SendMessageA(control, BM_GETSTATE, 0, 0) & 1) != 0;
        SetSetupBoxChecked(*box, checked, options_);
        if (id != kMouseInteractionBoxId) return;
        // The projector's right-click menu is only offered together with mouse interaction; its
        // check mark stays as it is.
        const HWND rightClick = reinterpret_cast<HWND>(options_.RightClickMenu.CheckBoxHandle);
        options_.RightClickMenu.Enabled = checked;
        EnableWindow(rightClick, checked);
        InvalidateRect(control, nullptr, FALSE);
        InvalidateRect(rightClick, nullptr, FALSE);
    }

    static inline TfrmSetup* current_ = nullptr;
    TfrmMain& main_;
    HWND window_ = nullptr;
    SetupOptions options_;
    std::string screenName_;
    bool passwordAccepted_ = false;
    UniqueGdiObject font_;
    UniqueGdiObject brush_;
    HICON icon_ = nullptr;
    POINT iconPosition_{};
    std::exception_ptr failure_;
};

HWND OpenSetupDialogWindow() {
    const TfrmSetup* setup = TfrmSetup::Current();
    return setup && setup->Window() && IsWindow(setup->Window()) ? setup->Window() : nullptr;
}

bool TfrmMain::ShowSetupDialog() {
    TfrmSetup setup(*this);
    return setup.Run();
}

namespace hostmessages {

HandlerResult OnSetupCommand(TfrmMain& main, const WindowMessage&) {
    if (const HWND open = OpenSetupDialogWindow()) {
        SetFocus(open);
        return kCallDefault;
    }
    if (main.ShowSetupDialog()) {
        // The run ends with the projector; the program entry then runs the engine again, which
        // reads the new values.
        PostMessageA(main.ProjectorWindow, WM_CLOSE, 0, 0);
        Program().RestartFlag = true;
    }
    return kCallDefault;
}

}  // namespace hostmessages
