// The stand-in hook library's one real duty: tell the engine that the movie is ready (WM_USER+4 to
// the host window) once the projector window is shown inside the host. Only the projector process
// ever does this; every other process the system-wide hooks reach decides once, cheaply, that it is
// a bystander and from then on only passes events on. The projector keeps the block mapped after
// the report, for the input reports of movie_input.h.
#pragma once

#include <windows.h>

#include "engine/shared_control_block.h"

namespace standin {

void RememberLibraryModule(HMODULE module);

// In the projector once the movie-ready report has gone: the engine's shared control block;
// nullptr in every other process and before the report.
const volatile SharedControlBlock* ShownMovieBlock();

// Called from the hook procedures on every event; never blocks.
void CheckMovieReady();

// Called from the get-message hook: hides the library's own timer tick from the projector and
// drives the check while the projector's queue is otherwise quiet.
void OnRetrievedMessage(MSG* msg);

}  // namespace standin
