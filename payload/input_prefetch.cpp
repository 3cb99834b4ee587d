#include "payload/input_prefetch.h"

InputPrefetch::InputPrefetch(std::unique_ptr<PayloadSource> source, size_t blockSize, size_t blockCount)
    : source_(std::move(source)), blockSize_(blockSize) {
    for (size_t i = 0; i < blockCount; ++i) {
        // Not zeroed: a block is lent only when it was read whole.
        buffers_.emplace_back(new uint8_t[blockSize]);
        free_.push_back(i);
    }
}

void InputPrefetch::Begin(uint64_t start, uint64_t end) {
    std::lock_guard<std::mutex> lock(mutex_);
    ReturnLent();
    DropReady();
    next_ = start;
    end_ = end;
    ++stream_;
}

bool InputPrefetch::Take(uint64_t position, const uint8_t*& data, size_t& size) {
    std::lock_guard<std::mutex> lock(mutex_);
    ReturnLent();
    while (!ready_.empty() && ready_.front().Position < position) {
        free_.push_back(ready_.front().Buffer);
        ready_.pop_front();
    }
    if (ready_.empty() || ready_.front().Position != position) {
        // The reader reads this block itself: the thread goes on after it.
        if (next_ <= position) next_ = position + blockSize_;
        return false;
    }
    lent_ = ready_.front().Buffer;
    ready_.pop_front();
    data = buffers_[lent_].get();
    size = blockSize_;
    return true;
}

bool InputPrefetch::ReadOne() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (free_.empty() || next_ >= end_) return false;
    const size_t buffer = free_.back();
    free_.pop_back();
    const uint64_t position = next_;
    const uint64_t stream = stream_;
    next_ += blockSize_;
    lock.unlock();

    bool whole = false;
    try {
        source_->Seek(position);
        whole = source_->Read(buffers_[buffer].get(), blockSize_) == blockSize_;
    } catch (...) {
        // Left to the reader's own read.
    }

    lock.lock();
    if (whole && stream == stream_) {
        ready_.push_back({position, buffer});
    } else {
        free_.push_back(buffer);
        // Past the end of the file, or failing: the rest of the stream is left to the reader.
        if (stream == stream_) end_ = next_;
    }
    return true;
}

void InputPrefetch::ReturnLent() {
    if (lent_ == kNone) return;
    free_.push_back(lent_);
    lent_ = kNone;
}

void InputPrefetch::DropReady() {
    for (const Block& block : ready_) free_.push_back(block.Buffer);
    ready_.clear();
}
