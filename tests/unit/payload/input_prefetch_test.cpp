// The writer thread's read-ahead may only ever save the reader a read: every block it lends must
// hold exactly what the reader's own read at that position would have returned, and a block it
// could not read whole must be left to the reader. The thread's side (ReadOne) is called here
// directly, so each case states the exact interleaving it tests.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <vector>

#include "payload/engine_error.h"
#include "payload/input_prefetch.h"

namespace {

constexpr size_t kBlock = 16;

// A payload in memory; reads that touch [FailFrom, FailTo) throw, and Reading runs inside each read.
class MemorySource : public PayloadSource {
public:
    explicit MemorySource(size_t size) : bytes_(size) { std::iota(bytes_.begin(), bytes_.end(), uint8_t{1}); }
    uint64_t FailFrom = UINT64_MAX, FailTo = UINT64_MAX;
    std::function<void()> Reading;
    std::vector<uint64_t> Reads;  // positions read

    uint64_t Size() override { return bytes_.size(); }
    uint64_t Position() override { return position_; }
    void Seek(uint64_t position) override { position_ = position; }
    size_t Read(void* buffer, size_t count) override {
        Reads.push_back(position_);
        if (Reading) Reading();
        if (position_ < FailTo && position_ + count > FailFrom) throw EngineError("Stream read error");
        const size_t n = position_ >= bytes_.size() ? 0 : std::min<size_t>(count, bytes_.size() - position_);
        std::copy_n(bytes_.begin() + static_cast<ptrdiff_t>(position_), n, static_cast<uint8_t*>(buffer));
        position_ += n;
        return n;
    }
    std::vector<uint8_t> At(uint64_t position) const {
        return {bytes_.begin() + static_cast<ptrdiff_t>(position),
                bytes_.begin() + static_cast<ptrdiff_t>(position + kBlock)};
    }

private:
    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
};

struct Prefetch {
    explicit Prefetch(size_t fileSize, size_t blocks = 4) {
        auto owned = std::make_unique<MemorySource>(fileSize);
        source = owned.get();
        prefetch = std::make_unique<InputPrefetch>(std::move(owned), kBlock, blocks);
    }
    // The block lent at position, empty when there is none.
    std::vector<uint8_t> Take(uint64_t position) {
        const uint8_t* data = nullptr;
        size_t size = 0;
        if (!prefetch->Take(position, data, size)) return {};
        return {data, data + size};
    }
    size_t ReadAll() {
        size_t n = 0;
        while (prefetch->ReadOne()) ++n;
        return n;
    }
    MemorySource* source;
    std::unique_ptr<InputPrefetch> prefetch;
};

TEST(InputPrefetchTest, LendsTheReadersBlocksAtTheReadersPositionsUpToTheStreamsEnd) {
    Prefetch p(200);
    p.prefetch->Begin(5, 5 + 3 * kBlock + 1);  // a stream on an odd offset, ending in its 4th block
    EXPECT_EQ(p.ReadAll(), 4u);
    EXPECT_EQ(p.source->Reads, (std::vector<uint64_t>{5, 21, 37, 53}));
    for (uint64_t at : {5, 21, 37, 53}) EXPECT_EQ(p.Take(at), p.source->At(at)) << at;
    EXPECT_FALSE(p.prefetch->ReadOne()) << "nothing past the stream's blocks";
}

TEST(InputPrefetchTest, LeavesToTheReaderWhatItCouldNotReadWhole) {
    struct Case {
        const char* Name;
        size_t FileSize;
        uint64_t FailFrom, FailTo;
    };
    // The third block is the stream's last: past the end of the file, or unreadable.
    for (const Case& c : {Case{"file ends", 2 * kBlock + 5, UINT64_MAX, UINT64_MAX},
                          Case{"read fails", 200, 2 * kBlock + 3, 2 * kBlock + 4}}) {
        SCOPED_TRACE(c.Name);
        Prefetch p(c.FileSize);
        p.source->FailFrom = c.FailFrom;
        p.source->FailTo = c.FailTo;
        p.prefetch->Begin(0, 10 * kBlock);
        EXPECT_EQ(p.ReadAll(), 3u) << "stops at the block it could not read";
        EXPECT_EQ(p.Take(0), p.source->At(0));
        EXPECT_EQ(p.Take(kBlock), p.source->At(kBlock));
        EXPECT_TRUE(p.Take(2 * kBlock).empty());
        EXPECT_TRUE(p.Take(3 * kBlock).empty());
    }
}

TEST(InputPrefetchTest, ABlockTheReaderReadItselfIsSkipped) {
    Prefetch p(200);
    p.prefetch->Begin(0, 8 * kBlock);
    EXPECT_TRUE(p.Take(0).empty());       // the thread has not come yet: the reader reads it
    EXPECT_TRUE(p.Take(kBlock).empty());  // and this one
    ASSERT_TRUE(p.prefetch->ReadOne());
    EXPECT_EQ(p.source->Reads, (std::vector<uint64_t>{2 * kBlock}));
    EXPECT_EQ(p.Take(2 * kBlock), p.source->At(2 * kBlock));
}

TEST(InputPrefetchTest, ALentBlockStaysUntouchedWhileTheRingIsFull) {
    Prefetch p(200, 2);
    p.prefetch->Begin(0, 8 * kBlock);
    EXPECT_EQ(p.ReadAll(), 2u);
    const uint8_t* lent = nullptr;
    size_t size = 0;
    ASSERT_TRUE(p.prefetch->Take(0, lent, size));
    EXPECT_FALSE(p.prefetch->ReadOne()) << "one block lent, one waiting: no room";
    EXPECT_EQ(std::vector<uint8_t>(lent, lent + size), p.source->At(0));
    EXPECT_EQ(p.Take(kBlock), p.source->At(kBlock));  // gives back the first
    EXPECT_TRUE(p.prefetch->ReadOne());
    EXPECT_EQ(p.Take(2 * kBlock), p.source->At(2 * kBlock));
}

TEST(InputPrefetchTest, ANewStreamDropsWhatWasReadForTheLastOneEvenInFlight) {
    Prefetch p(400);
    p.prefetch->Begin(0, 8 * kBlock);
    ASSERT_TRUE(p.prefetch->ReadOne());
    // The reader begins the next stream while the thread reads a block of the last one.
    p.source->Reading = [&] {
        p.source->Reading = nullptr;
        p.prefetch->Begin(100, 100 + 8 * kBlock);
    };
    ASSERT_TRUE(p.prefetch->ReadOne());
    EXPECT_TRUE(p.Take(0).empty());
    EXPECT_TRUE(p.Take(kBlock).empty());
    EXPECT_TRUE(p.prefetch->ReadOne());
    EXPECT_EQ(p.Take(100), p.source->At(100));
}

}  // namespace
