// Compressed input read ahead by the writer thread in the time it has nothing to write, so that
// the reader, which sets the pace of an extraction, copies less out of the file. It is only ever
// a shortcut: the thread reads the very 64 KiB blocks the reader's InflateStream would read at
// the very same positions, keeps only those it read whole, and the reader takes a block when it
// is there and reads the block itself when it is not. A read that fails on the thread is simply
// dropped; the reader's own read then fails, or not, exactly as it would have without the thread.
// Nothing waits for anything here, so the thread is never woken for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "payload/payload_file_system.h"

class InputPrefetch {
public:
    // Reads from source, a handle of its own on the payload (nobody else moves it), into
    // blockCount blocks of blockSize bytes.
    InputPrefetch(std::unique_ptr<PayloadSource> source, size_t blockSize, size_t blockCount);
    InputPrefetch(const InputPrefetch&) = delete;
    InputPrefetch& operator=(const InputPrefetch&) = delete;

    // The reader: a stream starts, its input read in blocks from start on; the blocks worth
    // reading ahead are those that start before end. Drops what was read for the last one.
    void Begin(uint64_t start, uint64_t end);
    // The reader: the block at position, if it was read ahead. It stays valid until the next
    // call of Take or Begin.
    bool Take(uint64_t position, const uint8_t*& data, size_t& size);
    // The thread: reads the next block when there is one to read and room for it; false when
    // there is nothing to do.
    bool ReadOne();

private:
    struct Block {
        uint64_t Position;
        size_t Buffer;
    };
    static constexpr size_t kNone = static_cast<size_t>(-1);

    void ReturnLent();
    void DropReady();

    std::unique_ptr<PayloadSource> source_;
    const size_t blockSize_;
    std::vector<std::unique_ptr<uint8_t[]>> buffers_;

    std::mutex mutex_;
    std::vector<size_t> free_;
    std::deque<Block> ready_;  // in order of position
    size_t lent_ = kNone;      // the buffer the reader holds
    uint64_t next_ = 0;        // the next block to read
    uint64_t end_ = 0;
    uint64_t stream_ = 0;      // counts Begin calls: a block read for an earlier stream is dropped
};
