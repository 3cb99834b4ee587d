// The reader writes large records on a writer thread, which also reads the reader's input ahead
// when it has nothing to write (through a source of its own, as limited as the reader's). Whatever
// the threads do, the reader's owner must see what a copy on one thread shows: the same callbacks
// with the same values in the same order, the same writes, each progress report only after its
// chunk is written, each file finished before the next one is offered, and failures and aborts
// that end at the same chunk.
// The expectation of every case is the log that the one-thread copy would make.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#include "payload/engine_error.h"
#include "payload/inflate_stream.h"
#include "payload/velexe_appender.h"
#include "payload_test_files.h"

namespace {

using namespace payload_test;

constexpr uint32_t kChunk = 65536;

struct Event {
    enum Kind { Overall, Offered, FileProgress, Write, Finish, Closed } Type;
    std::string Name;
    uint64_t Value;  // BytesDone, FileBytesDone or the bytes of a write
    bool operator==(const Event& other) const {
        return Type == other.Type && Name == other.Name && Value == other.Value;
    }
};

void PrintTo(const Event& e, std::ostream* out) {
    static const char* const kKinds[] = {"overall", "offered", "progress", "write", "finish", "closed"};
    *out << kKinds[e.Type] << " " << e.Name << " " << e.Value;
}

// Written from both threads.
class EventLog {
public:
    void Add(Event e) {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(std::move(e));
    }
    std::vector<Event> Events() {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.clear();
    }

private:
    std::mutex mutex_;
    std::vector<Event> events_;
};

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// The portable file system, logging every write, finish and close. The failingWrite-th write of
// the extraction (counted from 1) returns false, or throws when throwOnFail is set; the source
// throws "Stream read error" for a read across sourceLimit.
class LoggingFileSystem : public PayloadFileSystem {
public:
    explicit LoggingFileSystem(EventLog& log) : log_(log) {}
    size_t FailingWrite = 0;
    bool ThrowOnFail = false;
    uint64_t SourceLimit = UINT64_MAX;
    // A fresh extraction: no failure planned, writes counted from 1 again.
    void Reset() {
        FailingWrite = 0;
        ThrowOnFail = false;
        SourceLimit = UINT64_MAX;
        writes_ = 0;
    }

    std::string SelfPath() override { return PortablePayloadFileSystem().SelfPath(); }
    std::unique_ptr<PayloadSource> OpenSource(const std::string& path) override {
        return std::make_unique<LimitedSource>(PortablePayloadFileSystem().OpenSource(path), SourceLimit);
    }
    std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) override {
        return std::make_unique<Output>(*this, PortablePayloadFileSystem().CreateOutput(path), BaseName(path));
    }

    class LimitedSource : public PayloadSource {
    public:
        LimitedSource(std::unique_ptr<PayloadSource> inner, uint64_t limit) : inner_(std::move(inner)), limit_(limit) {}
        uint64_t Size() override { return inner_->Size(); }
        uint64_t Position() override { return inner_->Position(); }
        void Seek(uint64_t position) override { inner_->Seek(position); }
        size_t Read(void* buffer, size_t count) override {
            const uint64_t position = inner_->Position();
            if (position < limit_ && position + count > limit_) throw EngineError("Stream read error");
            return inner_->Read(buffer, count);
        }

    private:
        std::unique_ptr<PayloadSource> inner_;
        uint64_t limit_;
    };

private:
    class Output : public PayloadOutput {
    public:
        Output(LoggingFileSystem& owner, std::unique_ptr<PayloadOutput> inner, std::string name)
            : owner_(owner), inner_(std::move(inner)), name_(std::move(name)) {}
        ~Output() override { owner_.log_.Add({Event::Closed, name_, 0}); }
        bool Write(const void* data, size_t count) override {
            owner_.log_.Add({Event::Write, name_, count});
            if (++owner_.writes_ == owner_.FailingWrite) {
                if (owner_.ThrowOnFail) throw std::runtime_error("disk gone");
                return false;
            }
            return inner_->Write(data, count);
        }
        bool Finish(uint64_t time) override {
            owner_.log_.Add({Event::Finish, name_, 0});
            return inner_->Finish(time);
        }

    private:
        LoggingFileSystem& owner_;
        std::unique_ptr<PayloadOutput> inner_;
        std::string name_;
    };

    EventLog& log_;
    size_t writes_ = 0;  // only ever counted by one thread at a time
};

// Abort when the named file's progress reaches abortAt bytes.
struct AbortPoint {
    std::string Name;
    uint64_t Bytes = UINT64_MAX;
};

// The log of the one-thread copy: per file the overall report, the offer, the start report, then
// write and report chunk by chunk, finish, close and the overall report. It stops where the
// extraction stops: after the failingWrite-th write (then the file is closed), after the report
// at the abort point (then too), or before the chunk whose read fails (readFailChunk of the
// file named by the abort point's name, for simplicity the same file).
std::vector<Event> OneThreadLog(const std::vector<PackedFile>& files, size_t failingWrite, const AbortPoint& abort,
                                size_t readFailChunk = SIZE_MAX) {
    std::vector<Event> log;
    uint64_t bytesDone = 0;
    size_t writes = 0;
    for (const PackedFile& f : files) {
        const uint64_t size = f.Contents.size();
        log.push_back({Event::Overall, "", bytesDone});
        log.push_back({Event::Offered, f.FileName, 0});
        log.push_back({Event::FileProgress, f.FileName, 0});
        auto closed = [&] { log.push_back({Event::Closed, f.FileName, 0}); };
        if (f.FileName == abort.Name && abort.Bytes == 0) return closed(), log;
        uint64_t done = 0;
        for (size_t chunk = 0; done < size; ++chunk) {
            if (f.FileName == abort.Name && chunk == readFailChunk) return closed(), log;
            const uint64_t n = std::min<uint64_t>(kChunk, size - done);
            log.push_back({Event::Write, f.FileName, n});
            if (++writes == failingWrite) return closed(), log;
            done += n;
            log.push_back({Event::FileProgress, f.FileName, done});
            if (f.FileName == abort.Name && done == abort.Bytes) return closed(), log;
        }
        log.push_back({Event::Finish, f.FileName, 0});
        closed();
        bytesDone += size;
        log.push_back({Event::Overall, "", bytesDone});
    }
    return log;
}

std::vector<Event> Only(const std::vector<Event>& log, bool writes) {
    std::vector<Event> picked;
    for (const Event& e : log)
        if ((e.Type == Event::Write) == writes) picked.push_back(e);
    return picked;
}

class WriterThreadTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(dir_.File("out")); }

    std::string Out(const std::string& name) const { return dir_.File("out/") + name; }

    // Extracts files with every callback logged; returns the error text, empty when none.
    std::string Extract(const std::vector<PackedFile>& files, const AbortPoint& abort = {}) {
        WriteBytes(dir_.File("dist.exe"), BuildDistributable(EngineImage(), files));
        TVelExeAppender reader;
        reader.SourceIsSelf = false;
        reader.SourcePath = dir_.File("dist.exe");
        reader.TargetDir = dir_.File("out/");
        reader.SetFileSystem(fileSystem_);
        reader.ScanForTrailer = false;  // the session ends the file: keeps the search's reads off the limit
        reader.OnProgress = [&](TVelExeAppender& sender, const std::string&, int, bool&) {
            log_.Add({Event::Overall, "", sender.BytesDone});
        };
        reader.OnFile = [&](TVelExeAppender&, std::string& name, std::string&, bool&) {
            log_.Add({Event::Offered, name, 0});
        };
        reader.OnFileProgress = [&](TVelExeAppender& sender, const std::string& name, int, bool& stop) {
            log_.Add({Event::FileProgress, name, sender.FileBytesDone});
            stop = name == abort.Name && sender.FileBytesDone == abort.Bytes;
        };
        try {
            reader.ExtractSession("Session1");
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    // The callbacks and the writes each as the one-thread copy makes them, every report after the
    // write it reports, and every write between its file's offer and its finish (or close).
    void ExpectSameAsOneThread(const std::vector<Event>& expected) {
        const std::vector<Event> actual = log_.Events();
        EXPECT_EQ(Only(actual, false), Only(expected, false));
        EXPECT_EQ(Only(actual, true), Only(expected, true));
        std::string current;
        bool currentEnded = false;
        uint64_t written = 0;
        for (const Event& e : actual) {
            if (e.Type == Event::Offered) current = e.Name, currentEnded = false, written = 0;
            if (e.Type == Event::Finish || e.Type == Event::Closed) currentEnded = true;
            if (e.Type == Event::Write) {
                EXPECT_EQ(e.Name, current) << "a write outside its file's turn";
                EXPECT_FALSE(currentEnded) << "a write to " << e.Name << " after it was finished or closed";
                written += e.Value;
            }
            if (e.Type == Event::FileProgress) {
                EXPECT_LE(e.Value, written) << "progress ahead of the writes of " << e.Name;
            }
        }
    }

    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.File("out")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
    EventLog log_;
    LoggingFileSystem fileSystem_{log_};
};

TEST_F(WriterThreadTest, ManyFilesOfEverySizeComeOutAsFromOneThread) {
    // Around the chunk (64 KiB) and slot (1 MiB) boundaries, records whose last slots go to the thread
    // early, empty and raw ones, a few times over.
    const size_t sizes[] = {0, 1, 108, 109, 65535, 65536, 65537, 1u << 20, (1u << 20) + 1, (2u << 20) + 65539,
                           (5u << 20) + 12345};
    std::vector<PackedFile> files;
    for (int round = 0; round < 3; ++round)
        for (size_t size : sizes) {
            const uint32_t seed = static_cast<uint32_t>(files.size() + 1);
            files.push_back(File("f" + std::to_string(files.size()) + ".bin",
                                 seed % 2 ? RandomBytes(size, seed) : TextBytes(size), "",
                                 kSampleTime + seed * 10000000ull));
        }
    ASSERT_EQ(Extract(files), "");
    ExpectSameAsOneThread(OneThreadLog(files, 0, {}));
    for (const PackedFile& f : files) {
        SCOPED_TRACE(f.FileName);
        EXPECT_EQ(ReadBytes(Out(f.FileName)), f.Contents);
        EXPECT_EQ(FileTimeOf(Out(f.FileName)), f.LastWriteTime);
    }
}

// small.txt is write 1; big.bin's 21 chunks are writes 2 to 22; after.txt is never reached.
std::vector<PackedFile> SmallBigAfter() {
    return {File("small.txt", TextBytes(1000)), File("big.bin", RandomBytes(20 * kChunk + 1000, 3)),
            File("after.txt", TextBytes(500))};
}

TEST_F(WriterThreadTest, FailedWriteFailsAtThatChunkAndDeletesTheFile) {
    struct Case {
        size_t FailingWrite;
        bool Throws;
    };
    // First chunk, the second, the end and the start of a slot, the last chunk; one write that throws.
    for (Case c : {Case{2, false}, Case{3, false}, Case{17, false}, Case{18, false}, Case{22, false}, Case{7, true}}) {
        SCOPED_TRACE("write " + std::to_string(c.FailingWrite) + (c.Throws ? " throws" : ""));
        log_.Clear();
        fileSystem_.Reset();
        fileSystem_.FailingWrite = c.FailingWrite;
        fileSystem_.ThrowOnFail = c.Throws;
        std::filesystem::remove_all(dir_.File("out"));
        std::filesystem::create_directory(dir_.File("out"));

        EXPECT_EQ(Extract(SmallBigAfter()), c.Throws ? "disk gone" : "Extract error on " + Out("big.bin"));
        ExpectSameAsOneThread(OneThreadLog(SmallBigAfter(), c.FailingWrite, {}));
        EXPECT_EQ(OutFiles(), std::vector<std::string>{"small.txt"});
    }
}

TEST_F(WriterThreadTest, AbortMidFileStopsTheWritesAndDeletesTheFile) {
    // At the start, after the first chunk, at a slot's end, after the last whole chunk, at the end.
    for (uint64_t at : {uint64_t{0}, uint64_t{kChunk}, uint64_t{16} * kChunk, uint64_t{20} * kChunk,
                        uint64_t{20} * kChunk + 1000}) {
        SCOPED_TRACE("abort at " + std::to_string(at));
        log_.Clear();
        std::filesystem::remove_all(dir_.File("out"));
        std::filesystem::create_directory(dir_.File("out"));

        EXPECT_EQ(Extract(SmallBigAfter(), {"big.bin", at}), "");
        const std::vector<Event> expected = OneThreadLog(SmallBigAfter(), 0, {"big.bin", at});
        const std::vector<Event> actual = log_.Events();
        EXPECT_EQ(Only(actual, false), Only(expected, false));
        // The writer may have written ahead of the reports, but in order, and never after the close.
        const std::vector<Event> writes = Only(actual, true);
        ASSERT_GE(writes.size(), Only(expected, true).size());
        EXPECT_TRUE(std::equal(writes.begin(), writes.end(), Only(OneThreadLog(SmallBigAfter(), 0, {}), true).begin()));
        EXPECT_EQ(actual.back(), (Event{Event::Closed, "big.bin", 0}));
        EXPECT_EQ(OutFiles(), std::vector<std::string>{"small.txt"});
    }
}

// The chunk of big.bin whose read fails under the limit, found by the reader's own inflate.
size_t FirstFailingChunk(const std::string& dist, uint64_t dataStart, uint64_t limit, uint64_t size) {
    LoggingFileSystem::LimitedSource source(PortablePayloadFileSystem().OpenSource(dist), limit);
    source.Seek(dataStart);
    InflateStream inflater(source, dataStart);
    std::vector<uint8_t> chunk(kChunk);
    for (size_t i = 0; i * kChunk < size; ++i) {
        try {
            inflater.Read(chunk.data(), std::min<uint64_t>(kChunk, size - i * kChunk));
        } catch (const EngineError&) {
            return i;
        }
    }
    return SIZE_MAX;
}

TEST_F(WriterThreadTest, ReadFailureAheadOfTheWritesWaitsForThemAndLosesToAnEarlierFailureOrAbort) {
    const std::vector<PackedFile> files = SmallBigAfter();
    const std::vector<uint8_t> dist = BuildDistributable(EngineImage(), files);
    const uint64_t bigData = RecordOffsets(dist)[1] + kRecordHeaderSize;
    const uint64_t limit = bigData + 18 * kChunk + 100;  // in the second slot
    WriteBytes(dir_.File("dist.exe"), dist);
    const size_t failing = FirstFailingChunk(dir_.File("dist.exe"), bigData, limit, files[1].Contents.size());
    ASSERT_GE(failing, 5u);
    ASSERT_LT(failing, 21u);

    struct Case {
        const char* What;
        size_t FailingWrite;  // of the whole extraction: big.bin's chunk k is write k + 2
        AbortPoint Abort;
        std::string Error;
    };
    const Case cases[] = {
        {"the read failure", 0, {}, "Stream read error"},
        {"a write failure two chunks before", failing, {}, "disk gone"},
        {"an abort two chunks before", 0, {"big.bin", (failing - 2) * uint64_t{kChunk}}, ""},
        {"a write failure after it never happens", failing + 4, {}, "Stream read error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        log_.Clear();
        fileSystem_.Reset();
        fileSystem_.SourceLimit = limit;
        fileSystem_.FailingWrite = c.FailingWrite;
        fileSystem_.ThrowOnFail = true;
        std::filesystem::remove_all(dir_.File("out"));
        std::filesystem::create_directory(dir_.File("out"));

        EXPECT_EQ(Extract(files, c.Abort), c.Error);
        const AbortPoint stop = c.Abort.Name.empty() ? AbortPoint{"big.bin", UINT64_MAX} : c.Abort;
        const std::vector<Event> expected = OneThreadLog(files, c.FailingWrite, stop, failing);
        const std::vector<Event> actual = log_.Events();
        EXPECT_EQ(Only(actual, false), Only(expected, false));
        if (c.Abort.Name.empty()) {
            EXPECT_EQ(Only(actual, true), Only(expected, true));
        }
        EXPECT_EQ(OutFiles(), std::vector<std::string>{"small.txt"});
    }
}

}  // namespace
