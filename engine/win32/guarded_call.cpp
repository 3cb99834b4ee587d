#include "engine/win32/guarded_call.h"

#include <windows.h>

namespace {

// An exception the called code leaves unhandled reaches the top-level filter; the filter jumps
// back to the guard's frame, abandoning the foreign frames below it.
struct Guard {
    void* jump[5];
#if defined(__i386__)
    void* exceptionList;  // the frame-based handler chain to restore after the jump
#endif
};

Guard* g_activeGuard = nullptr;

LONG WINAPI ReturnToGuard(EXCEPTION_POINTERS*) {
    if (g_activeGuard) __builtin_longjmp(g_activeGuard->jump, 1);
    return EXCEPTION_CONTINUE_SEARCH;
}

#if defined(__i386__)
// fs:[0] heads the thread's chain of frame-based handlers.
void* CurrentExceptionList() {
    void* list;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(list));
    return list;
}
void RestoreExceptionList(void* list) { __asm__ volatile("movl %0, %%fs:0" : : "r"(list) : "memory"); }
#endif

// Separate frame for the jump target, so nothing of the caller lives in registers across it.
__attribute__((noinline)) bool RunGuarded(Guard& guard, void (*call)(void*), void* context) {
    if (__builtin_setjmp(guard.jump) != 0) {
#if defined(__i386__)
        RestoreExceptionList(guard.exceptionList);
#endif
        return false;
    }
    try {
        call(context);
    } catch (...) {
        return false;
    }
    return true;
}

}  // namespace

bool CallSwallowingExceptions(void (*call)(void* context), void* context) {
    Guard guard = {};
#if defined(__i386__)
    guard.exceptionList = CurrentExceptionList();
#endif
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(ReturnToGuard);
    Guard* const outer = g_activeGuard;
    g_activeGuard = &guard;
    const bool completed = RunGuarded(guard, call, context);
    g_activeGuard = outer;
    SetUnhandledExceptionFilter(previous);
    return completed;
}
