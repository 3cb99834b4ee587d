// The guard around an author's BeforeShow export: any exception ends the call, not the engine.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "engine/win32/guarded_call.h"

namespace {

void Returns(void* context) { *static_cast<int*>(context) = 1; }

void ThrowsCppException(void*) { throw std::runtime_error("from the library"); }

void WritesThroughNull(void* context) {
    *static_cast<int*>(context) = 2;
    volatile int* nowhere = nullptr;
    *nowhere = 3;
}

void RaisesSystemException(void*) { RaiseException(0xE0000001, EXCEPTION_NONCONTINUABLE, 0, nullptr); }

// Faults inside a system call that handles its own exception.
void HandlesItsOwnException(void* context) {
    int& result = *static_cast<int*>(context);
    result = IsBadReadPtr(nullptr, 4) ? 5 : 6;  // the system handles the fault inside the call
}

TEST(GuardedCall, NormalReturnIsReported) {
    int value = 0;
    EXPECT_TRUE(CallSwallowingExceptions(Returns, &value));
    EXPECT_EQ(value, 1);
}

TEST(GuardedCall, ExceptionsEndTheCallQuietly) {
    int value = 0;
    EXPECT_FALSE(CallSwallowingExceptions(ThrowsCppException, &value));
    EXPECT_FALSE(CallSwallowingExceptions(WritesThroughNull, &value));
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(CallSwallowingExceptions(RaisesSystemException, &value));
    // The engine goes on normally afterwards, guard after guard.
    value = 0;
    EXPECT_TRUE(CallSwallowingExceptions(Returns, &value));
    EXPECT_EQ(value, 1);
}

TEST(GuardedCall, ExceptionsHandledInsideTheCallAreLeftAlone) {
    int value = 0;
    EXPECT_TRUE(CallSwallowingExceptions(HandlesItsOwnException, &value));
    EXPECT_EQ(value, 5);
}

LONG WINAPI PassesEveryException(EXCEPTION_POINTERS*) { return EXCEPTION_CONTINUE_SEARCH; }

TEST(GuardedCall, PreviousTopLevelFilterIsRestored) {
    LPTOP_LEVEL_EXCEPTION_FILTER mine = PassesEveryException;
    LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(mine);
    int value = 0;
    CallSwallowingExceptions(WritesThroughNull, &value);
    EXPECT_EQ(SetUnhandledExceptionFilter(before), mine);
}

}  // namespace
