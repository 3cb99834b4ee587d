#include "engine/full_temporary_base.h"

#include <gtest/gtest.h>

namespace {

struct BaseCase {
    const char* base;
    const char* programDir;
    const char* full;
};

TEST(FullTemporaryBase, EveryBaseBecomesAFullPathFromTheProgramsDirectory) {
    const BaseCase cases[] = {
        // No value and no system path: beside the engine.
        {"", "C:\\Apps\\Demo\\", "C:\\Apps\\Demo\\"},
        {"C:\\Temp\\", "D:\\Apps\\", "C:\\Temp\\"},
        {"\\\\srv\\share\\tmp\\", "C:\\Apps\\", "\\\\srv\\share\\tmp\\"},
        {"Temp\\", "C:\\Apps\\Demo\\", "C:\\Apps\\Demo\\Temp\\"},
        {"..\\Temp\\", "C:\\Apps\\Demo\\", "C:\\Apps\\Demo\\..\\Temp\\"},
        {"\\Temp\\", "D:\\Apps\\", "D:\\Temp\\"},
        {"\\Temp\\", "\\\\srv\\share\\apps\\", "\\\\srv\\share\\Temp\\"},
        {"d:Temp\\", "D:\\Apps\\", "D:\\Apps\\Temp\\"},
        {"E:Temp\\", "D:\\Apps\\", "E:\\Temp\\"},
        {"C:\\", "D:\\", "C:\\"},
    };
    for (const BaseCase& c : cases) {
        SCOPED_TRACE(c.base);
        EXPECT_EQ(FullTemporaryBase(c.base, c.programDir), c.full);
    }
}

}  // namespace
