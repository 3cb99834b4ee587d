// The writer thread does idle work with its lock released. Whatever the reader does meanwhile
// without waking it (a job queued while the thread looked busy) must still be seen before the
// thread goes to sleep.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <cstring>
#include <mutex>

#include "payload/record_writer.h"

namespace {

class DiscardingOutput : public PayloadOutput {
public:
    bool Write(const void*, size_t) override { return true; }
    bool Finish(uint64_t) override { return true; }
};

TEST(RecordWriterTest, AJobQueuedDuringIdleWorkIsWrittenThoughNobodyWokeTheThread) {
    std::mutex mutex;
    std::condition_variable changed;
    bool idle = false, released = false;
    int calls = 0;
    // The first piece of idle work holds the thread until the job is queued, then says there
    // is no more: the thread must not go to sleep on the queued job.
    auto idleWork = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (calls++ == 0) {
            idle = true;
            changed.notify_all();
            changed.wait(lock, [&] { return released; });
        }
        return false;
    };
    RecordWriter writer(4, 2, 2, idleWork);
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return idle; });
    }
    DiscardingOutput output;
    writer.Begin(output);
    std::memcpy(writer.NextChunk(), "abcd", 4);
    writer.Commit(4, 0);  // the last chunk of the record: queued at once
    {
        std::lock_guard<std::mutex> lock(mutex);
        released = true;
    }
    changed.notify_all();
    std::future<size_t> written = std::async(std::launch::async, [&] { return writer.WaitWritten(0); });
    if (written.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the thread slept on the queued job";
        writer.Begin(output);  // wakes it, so that the test can end
    }
    EXPECT_EQ(written.get(), 1u);
}

}  // namespace
