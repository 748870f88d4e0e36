#pragma once
// Stand-ins for the monitor's surroundings: a change source fed by the test, and a table of
// files that the completeness check's probes look into. Both are thread-safe, because the
// monitor's worker thread uses them beside the test's thread.
#include "hotdir/FileProbes.h"
#include "platform/ChangeRecords.h"
#include "platform/DirectoryChangeSource.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pellucor::test {

class FakeChangeSource : public platform::ChangeSource {
public:
    struct Opened {
        std::string directory;
        bool watchSubtree;
        std::uint32_t notifyFilter;
    };

    void Open(const std::string& directory, bool watchSubtree, std::uint32_t notifyFilter) override {
        std::lock_guard lock(mutex_);
        if (failWith_) throw platform::ChangeSourceError(*failWith_);
        opened_ = Opened{directory, watchSubtree, notifyFilter};
        open_ = true;
        woken_ = false;
    }
    bool Read(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned) override {
        std::unique_lock lock(mutex_);
        idle_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return woken_ || !batches_.empty(); });
        idle_ = false;
        if (woken_) return false;
        const Batch batch = std::move(batches_.front());
        batches_.pop_front();
        std::copy_n(batch.bytes.begin(), std::min(batch.bytes.size(), buffer.size()), buffer.begin());
        bytesReturned = batch.bytesReturned;
        return true;
    }
    void Wake() override {
        std::lock_guard lock(mutex_);
        woken_ = true;
        changed_.notify_all();
    }
    void Close() override {
        std::lock_guard lock(mutex_);
        open_ = false;
        idle_ = false;
        ++closes_;
    }

    // One read's worth of records, packed as the real source packs them.
    void feed(const std::vector<std::pair<std::uint32_t, std::string>>& records) {
        std::vector<std::uint8_t> bytes(platform::ChangeBufferSize);
        platform::ChangeRecordWriter writer(bytes);
        for (const auto& [action, name] : records)
            if (!writer.append(action, name)) throw std::logic_error("test batch too big");
        feedRaw(std::move(bytes), writer.bytesUsed());
    }
    void feedRaw(std::vector<std::uint8_t> bytes, std::uint32_t bytesReturned) {
        std::lock_guard lock(mutex_);
        batches_.push_back({std::move(bytes), bytesReturned});
        changed_.notify_all();
    }
    // Returns once the worker has handled everything fed and is waiting for more.
    void waitIdle() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return batches_.empty() && idle_; });
    }

    void failNextOpen(std::string message) { failWith_ = std::move(message); }
    std::optional<Opened> opened() const { return opened_; }
    bool isOpen() const { return open_; }
    int closes() const { return closes_; }

private:
    struct Batch {
        std::vector<std::uint8_t> bytes;
        std::uint32_t bytesReturned;
    };
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> batches_;
    bool idle_ = false;
    bool woken_ = false;
    bool open_ = false;
    int closes_ = 0;
    std::optional<std::string> failWith_;
    std::optional<Opened> opened_;
};

// Files by full path: present or not, their size, whether a writer holds them.
class FakeFiles {
public:
    struct File {
        std::int64_t size = 0;
        bool writerOpen = false;
    };

    void put(const std::string& path, std::int64_t size, bool writerOpen = false) {
        std::lock_guard lock(mutex_);
        files_[path] = File{size, writerOpen};
    }
    void setSize(const std::string& path, std::int64_t size) {
        std::lock_guard lock(mutex_);
        files_.at(path).size = size;
    }
    void setWriter(const std::string& path, bool open) {
        std::lock_guard lock(mutex_);
        files_.at(path).writerOpen = open;
    }
    void remove(const std::string& path) {
        std::lock_guard lock(mutex_);
        files_.erase(path);
    }

    hotdir::FileProbes probes() {
        return hotdir::FileProbes{
            [this](const std::string& p) { return find(p).has_value(); },
            [this](const std::string& p) { return find(p) ? find(p)->size : 0; },
            [this](const std::string& p) { return find(p) && !find(p)->writerOpen; },
        };
    }

private:
    std::optional<File> find(const std::string& path) {
        std::lock_guard lock(mutex_);
        const auto it = files_.find(path);
        return it == files_.end() ? std::nullopt : std::optional<File>(it->second);
    }
    std::mutex mutex_;
    std::map<std::string, File> files_;
};

} // namespace pellucor::test
