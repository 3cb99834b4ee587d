#include "payload/inflate_stream.h"

#include <zlib.h>

#include "payload/engine_error.h"
#include "payload/input_prefetch.h"
#include "payload/payload_messages.h"

struct InflateStream::State {
    z_stream z{};
};

InflateStream::InflateStream(PayloadSource& source, uint64_t start, InputPrefetch* prefetch)
    : source_(source),
      prefetch_(prefetch),
      nextInput_(start),
      input_(kInputBufferSize),
      state_(std::make_unique<State>()) {
    // inflateInit checks the zlib version the code was compiled against.
    if (inflateInit(&state_->z) != Z_OK) throw EngineError(payload_messages::kDecompressionError);
}

InflateStream::~InflateStream() { inflateEnd(&state_->z); }

size_t InflateStream::Read(void* buffer, size_t count) {
    z_stream& z = state_->z;
    z.next_out = static_cast<Bytef*>(buffer);
    z.avail_out = static_cast<uInt>(count);
    while (z.avail_out > 0 && !ended_) {
        if (z.avail_in == 0) {
            if (sourceExhausted_) break;
            const uint8_t* block = nullptr;
            size_t got = 0;
            if (!prefetch_ || !prefetch_->Take(nextInput_, block, got)) {
                // Someone else may have moved the source since the last block.
                source_.Seek(nextInput_);
                got = source_.Read(input_.data(), input_.size());
                block = input_.data();
            }
            if (got == 0) {
                sourceExhausted_ = true;
                break;
            }
            nextInput_ += got;
            // zlib only reads its input, whatever the type says.
            z.next_in = const_cast<Bytef*>(block);
            z.avail_in = static_cast<uInt>(got);
        }
        int result = inflate(&z, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            ended_ = true;
        } else if (result != Z_OK && !(result == Z_BUF_ERROR && z.avail_in == 0)) {
            // Z_DATA_ERROR, Z_NEED_DICT (no dictionary is ever set), Z_MEM_ERROR, Z_STREAM_ERROR.
            throw EngineError(payload_messages::kDecompressionError);
        }
    }
    return count - z.avail_out;
}

uint64_t InflateStream::ConsumedInput() const { return state_->z.total_in; }
