#include "payload/record_writer.h"

RecordWriter::RecordWriter(size_t chunkSize, size_t chunksPerSlot, size_t slotCount, std::function<bool()> idleWork)
    : chunkSize_(chunkSize), idleWork_(std::move(idleWork)), chunksPerSlot_(chunksPerSlot), slots_(slotCount) {
    for (size_t i = 0; i < slotCount; ++i) {
        // Not zeroed: the reader fills every byte before it is written, and zeroing would only
        // touch the fresh pages once more.
        slots_[i].reset(new uint8_t[chunkSize * chunksPerSlot]);
        freeSlots_.push_back(i);
    }
    thread_ = std::thread([this] { Run(); });
}

RecordWriter::~RecordWriter() {
    Cancel();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    writerWakes_.notify_one();
    thread_.join();
}

void RecordWriter::Begin(PayloadOutput& output) {
    std::unique_lock<std::mutex> lock(mutex_);
    output_ = &output;
    cancelled_ = false;
    committed_ = 0;
    written_ = 0;
    failed_ = false;
    failedChunk_ = 0;
    failedWith_ = nullptr;
    const bool wake = idleWork_ && writerWaiting_;
    lock.unlock();
    if (wake) writerWakes_.notify_one();
}

uint8_t* RecordWriter::NextChunk() {
    if (!filling_) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (freeSlots_.empty()) {
            readerWaiting_ = true;
            readerWakes_.wait(lock);
            readerWaiting_ = false;
        }
        current_.Slot = freeSlots_.back();
        freeSlots_.pop_back();
        current_.FirstChunk = committed_;
        current_.Sizes.clear();
        filling_ = true;
    }
    return slots_[current_.Slot].get() + current_.Sizes.size() * chunkSize_;
}

void RecordWriter::Commit(size_t size, size_t chunksLeft) {
    current_.Sizes.push_back(size);
    // Inflating a chunk of compressed data takes some three times as long as writing it.
    constexpr size_t kInflatesPerWrite = 3;
    const size_t filled = current_.Sizes.size();
    if (filled == chunksPerSlot_ || filled >= kInflatesPerWrite * chunksLeft) Flush();
}

void RecordWriter::Flush() {
    if (!filling_) return;
    filling_ = false;
    std::unique_lock<std::mutex> lock(mutex_);
    if (current_.Sizes.empty() || failed_ || cancelled_) {
        // Nothing to write, or nothing more will be written for this record.
        ReleaseSlot(current_.Slot);
        return;
    }
    committed_ += current_.Sizes.size();
    queue_.push_back(std::move(current_));
    const bool wake = writerWaiting_;
    lock.unlock();
    if (wake) writerWakes_.notify_one();
}

size_t RecordWriter::WaitWritten(size_t known) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (written_ <= known && written_ < committed_ && !failed_ && !cancelled_) {
        readerWaiting_ = true;
        readerWaitsForChunk_ = true;
        readerWakes_.wait(lock);
        readerWaiting_ = false;
        readerWaitsForChunk_ = false;
    }
    return written_;
}

size_t RecordWriter::Written() {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

bool RecordWriter::Failed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return failed_;
}

size_t RecordWriter::FailedChunk() {
    std::lock_guard<std::mutex> lock(mutex_);
    return failedChunk_;
}

std::exception_ptr RecordWriter::FailedWith() {
    std::lock_guard<std::mutex> lock(mutex_);
    return failedWith_;
}

void RecordWriter::Cancel() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (filling_) {
        filling_ = false;
        ReleaseSlot(current_.Slot);
    }
    cancelled_ = true;
    for (const Job& job : queue_) ReleaseSlot(job.Slot);
    queue_.clear();
    while (busy_) {
        readerWaiting_ = true;
        readerWakes_.wait(lock);
        readerWaiting_ = false;
    }
    output_ = nullptr;
}

void RecordWriter::ReleaseSlot(size_t slot) { freeSlots_.push_back(slot); }

void RecordWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        bool idleWorkLeft = true;
        while (queue_.empty() && !stopping_) {
            if (idleWork_ && idleWorkLeft) {
                lock.unlock();
                idleWorkLeft = idleWork_();
                lock.lock();
                // A job or the stop may have come meanwhile, without a wake: look again.
                continue;
            }
            writerWaiting_ = true;
            writerWakes_.wait(lock);
            writerWaiting_ = false;
            idleWorkLeft = true;
        }
        if (queue_.empty()) return;
        Job job = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        WriteJob(job, *output_, lock);
        // Still under the lock that counted the last chunk: once the reader sees every chunk
        // written, the thread is done with the output.
        ReleaseSlot(job.Slot);
        busy_ = false;
        const bool wake = readerWaiting_;
        lock.unlock();
        if (wake) readerWakes_.notify_one();
        lock.lock();
    }
}

bool RecordWriter::WriteJob(const Job& job, PayloadOutput& output, std::unique_lock<std::mutex>& lock) {
    const uint8_t* data = slots_[job.Slot].get();
    for (size_t i = 0; i < job.Sizes.size(); ++i) {
        if (cancelled_ || failed_) return false;
        lock.unlock();
        bool ok = false;
        std::exception_ptr thrown;
        try {
            ok = output.Write(data + i * chunkSize_, job.Sizes[i]);
        } catch (...) {
            thrown = std::current_exception();
        }
        lock.lock();
        if (!ok) {
            failed_ = true;
            failedChunk_ = job.FirstChunk + i;
            failedWith_ = thrown;
            // Nothing after a failed chunk is written.
            for (const Job& dropped : queue_) ReleaseSlot(dropped.Slot);
            queue_.clear();
            return false;
        }
        ++written_;
        // A reader that waits for a free slot only gets one at the end of the job.
        if (readerWaitsForChunk_ && i + 1 < job.Sizes.size()) {
            lock.unlock();
            readerWakes_.notify_one();
            lock.lock();
        }
    }
    return true;
}
