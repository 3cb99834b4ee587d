#include "payload/password_hash.h"

#include <cmath>

const char kPasswordCancelMarker[] = "\x01" "CanCel" "\x0E";

namespace {

// The runtime library's linear congruential generator the stored hashes were made with.
class HashGenerator {
public:
    explicit HashGenerator(uint32_t seed) : state_(seed) {}
    // 0 <= result < range, for range from 1 to 2^31 - 1: the upper half of state * range.
    uint32_t Next(uint32_t range) {
        state_ = state_ * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state_) * range) >> 32);
    }

private:
    uint32_t state_;
};

bool IsTrimmed(unsigned char c) { return c <= 32; }

}  // namespace

int32_t PasswordHash(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsTrimmed(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && IsTrimmed(static_cast<unsigned char>(text[end - 1]))) --end;

    HashGenerator seeded(463);
    uint32_t sum = seeded.Next(715827882);
    for (std::size_t i = begin; i < end; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        // Double precision decides every byte the same way: no product lies near an integer.
        const uint32_t range = static_cast<uint32_t>(std::trunc((std::sin(static_cast<double>(byte)) + 2.0) * 121141.0));
        sum += seeded.Next(range);
    }
    HashGenerator final(sum);
    return static_cast<int32_t>(final.Next(static_cast<uint32_t>(kPasswordHashLimit)));
}
