// Writes a record's chunks into its output file on a thread of its own, while the reader inflates
// the next chunks: a small fixed ring of slots (a few chunks each) travels between the two, so
// memory stays flat whatever the record's size. Each chunk is written with one Write call of its
// own, in order, exactly as the reader would have written it itself.
//
// In the time it has nothing to write, the thread does the idle work it was given (reading the
// reader's input ahead), a piece per call, never holding up a write for more than one piece.
//
// The reader owns every decision: it learns which chunks are on disk (to report their progress
// only then) and whether a write failed (and at which chunk), and it cancels the rest on an abort
// or a failure of its own. The thread lives as long as the object; nothing the output throws
// leaves it: the exception is carried back to the reader with the chunk it belongs to.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "payload/payload_file_system.h"

class RecordWriter {
public:
    // idleWork, when given, does one piece of work and says whether there was any.
    RecordWriter(size_t chunkSize, size_t chunksPerSlot, size_t slotCount, std::function<bool()> idleWork = nullptr);
    // Cancels what is queued and ends the thread.
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Starts a record: its chunks go to output, which must outlive the record (until Cancel or
    // every committed chunk is written). Chunk numbers start again at 0. A waiting thread wakes
    // up for the idle work the new record may bring.
    void Begin(PayloadOutput& output);
    // Room for the next chunk (chunkSize bytes), waiting for a free slot when all are queued.
    uint8_t* NextChunk();
    // The chunk from NextChunk holds size bytes, and chunksLeft more chunks of the record follow.
    // A full slot goes to the thread, and so does a slot near the record's end that the reader
    // needs long enough for the rest to cover its writing: what is left to write when the last
    // chunk is read shrinks with each slot, and the reader hardly waits at the end of a record.
    void Commit(size_t size, size_t chunksLeft);
    // Hands a partly filled slot to the thread.
    void Flush();
    // Waits until more than known chunks are written, the record has failed, or every committed
    // chunk is written; returns the number of chunks written.
    size_t WaitWritten(size_t known);
    size_t Written();
    // The failure of the record: a write that returned false or threw, at chunk FailedChunk().
    bool Failed();
    size_t FailedChunk();
    // The exception the failing write threw; null when it returned false.
    std::exception_ptr FailedWith();
    // Drops the queued chunks and waits until the thread no longer touches the output.
    void Cancel();

private:
    struct Job {
        size_t Slot;
        size_t FirstChunk;
        std::vector<size_t> Sizes;
    };

    void Run();
    // Writes job's chunks; false when one failed or the record was cancelled.
    bool WriteJob(const Job& job, PayloadOutput& output, std::unique_lock<std::mutex>& lock);
    void ReleaseSlot(size_t slot);

    const size_t chunkSize_;
    const std::function<bool()> idleWork_;
    const size_t chunksPerSlot_;
    std::vector<std::unique_ptr<uint8_t[]>> slots_;

    std::mutex mutex_;
    std::condition_variable readerWakes_;
    std::condition_variable writerWakes_;
    bool readerWaiting_ = false;
    bool readerWaitsForChunk_ = false;  // the reader waits in WaitWritten
    bool writerWaiting_ = false;
    std::vector<size_t> freeSlots_;
    std::deque<Job> queue_;
    PayloadOutput* output_ = nullptr;
    bool busy_ = false;  // the thread is writing a job of the current record
    bool cancelled_ = false;
    bool stopping_ = false;
    size_t committed_ = 0;
    size_t written_ = 0;
    bool failed_ = false;
    size_t failedChunk_ = 0;
    std::exception_ptr failedWith_;

    // The slot being filled by the reader (only the reader touches these).
    bool filling_ = false;
    Job current_{};

    std::thread thread_;
};
