// A read-only zlib decompression stream over a payload source, starting at a given offset. It
// reads its input in 64 KiB blocks and so reads ahead of the compressed data it needs: the
// caller positions the source itself afterwards. A block that another thread has read ahead
// (InputPrefetch) is taken from there instead of read again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "payload/payload_file_system.h"

class InputPrefetch;

class InflateStream {
public:
    static constexpr size_t kInputBufferSize = 65536;

    // Throws EngineError("error") when zlib cannot be set up. prefetch, when given, must have
    // begun this stream (InputPrefetch::Begin with start) and outlive it.
    InflateStream(PayloadSource& source, uint64_t start, InputPrefetch* prefetch = nullptr);
    ~InflateStream();
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    // Up to count bytes; fewer when the compressed stream or the source ends. Corrupt data throws
    // EngineError("error").
    size_t Read(void* buffer, size_t count);
    // Compressed bytes consumed so far (up to the end of the stream once it has ended).
    uint64_t ConsumedInput() const;
    bool Ended() const { return ended_; }

private:
    struct State;
    PayloadSource& source_;
    InputPrefetch* prefetch_;
    uint64_t nextInput_;  // file offset of the next input block
    std::vector<uint8_t> input_;
    std::unique_ptr<State> state_;
    bool ended_ = false;
    bool sourceExhausted_ = false;
};
