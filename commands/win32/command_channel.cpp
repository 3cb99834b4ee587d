// The command channel: the movie's orders arrive as WM_SETTEXT on the host window. Commands are
// carried out (window commands are posted to the host, registry commands run here) and answered 1;
// a "dde:" request for the system's web-page handler is answered 1 and nothing else; any other
// text is left to the default handling, which makes it the caption.
#include "commands/dde_request.h"
#include "commands/movie_command.h"
#include "commands/win32/registry_commands.h"
#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"

namespace {

bool IsDdeRequestParameter(WPARAM wParam) { return wParam == 0 || wParam == 1; }

}  // namespace

LRESULT TfrmMain::HandleSetText(WPARAM wParam, LPARAM lParam) {
    // A sender may pass no text at all: that is an empty text, never a pointer to follow.
    const char* source = reinterpret_cast<const char*>(lParam);
    const std::string text = source ? source : "";

    if (wParam == 0) {
        const MovieCommand command = ParseMovieCommand(text);
        if (command.Form != CommandForm::NotACommand) {
            // The no-wait form's sender goes on at once; the wait form's after the command.
            if (command.Form == CommandForm::NoWait) ReplyMessage(1);
            const bool waitForm = command.Form == CommandForm::Wait;
            if (!RunRegistryCommand(command.Body, waitForm, ProjectorPath, Placement.ExtractedFiles)) {
                // Window commands are posted, also in the wait form: the host carries them out
                // after this returns.
                const uint32_t id = WindowCommandId(RouteCommandBody(command.Body).Action);
                if (id != 0) PostMessageA(Host.Handle, WM_COMMAND, id, 0);
            }
            return 1;
        }
    }

    if (!IsDdeRequestParameter(wParam)) return 0;
    // Before the block exists (and after it is gone) no web-page handler is known: both names empty.
    const std::string application = SharedBlock ? ShortStringText(SharedBlock->DdeApplication) : std::string();
    const std::string topic = SharedBlock ? ShortStringText(SharedBlock->DdeTopic) : std::string();
    return IsAcceptedDdeRequest(text, application, topic) ? 1 : 0;
}
