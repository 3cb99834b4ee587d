// MulDiv as Windows computes it, for the portable geometry rules.
#pragma once

#include <cstdint>

// (a * b) / c with a 64-bit intermediate, rounded half away from zero. Returns -1 when c is 0 or
// the result does not fit (|result| > 2147483647), as Windows does.
int32_t PortableMulDiv(int32_t a, int32_t b, int32_t c);
