#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace {

constexpr WPARAM kEscapeCharacter = 27;

}  // namespace

namespace hostmessages {

// A key pressed while the host has the focus hands the activation to the movie.
HandlerResult OnKeyDown(TfrmMain& main, const WindowMessage&) {
    if (main.ProjectorWindow) SetActiveWindow(main.ProjectorWindow);
    return kCallDefault;
}

// Esc typed into the host itself ends the run when ExitOnESC is on (the block keeps its copy).
HandlerResult OnChar(TfrmMain& main, const WindowMessage& message) {
    if (message.WParam == kEscapeCharacter && main.SharedBlock && main.SharedBlock->ExitOnEsc && main.ProjectorWindow)
        main.CloseProjector();
    return kCallDefault;
}

}  // namespace hostmessages
