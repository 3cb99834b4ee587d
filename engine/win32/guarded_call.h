// Calls into code the engine does not control (an author's BeforeShow library) so that any
// exception it raises, a C++ exception or a system exception such as an access violation that it
// leaves unhandled, ends the call instead of the program.
#pragma once

// Runs call(context) on the current thread. Returns true when it returned normally, false when an
// exception ended it. Exceptions the called code handles itself are not touched. Not reentrant;
// meant for the main thread.
bool CallSwallowingExceptions(void (*call)(void* context), void* context);
