/* Not part of the engine: an executable that would not start on Windows XP (it imports functions
   XP lacks and asks for subsystem 6.0), to show that the XP check refuses such a file. */
#include <windows.h>

int main(void) {
    SRWLOCK lock;
    InitializeSRWLock(&lock);
    return (int)(GetTickCount64() & 1);
}
