#include "window/mul_div.h"

int32_t PortableMulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t multiplicand = a;
    int64_t divisor = c;
    // A positive divisor keeps the rounding rule to one sign test.
    if (divisor < 0) {
        multiplicand = -multiplicand;
        divisor = -divisor;
    }
    const int64_t product = multiplicand * b;  // |a * b| <= 2^62: no overflow
    const int64_t half = divisor / 2;
    const int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > 2147483647 || result < -2147483647) return -1;
    return static_cast<int32_t>(result);
}
