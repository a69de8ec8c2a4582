#include "render/band_workers.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace penwick {

namespace {

constexpr int kMaxThreads = 64;

}  // namespace

BandWorkers::BandWorkers(int threads) {
    const int extra = std::clamp(threads, 1, kMaxThreads) - 1;
    workers_.reserve(size_t(extra));
    for (int i = 0; i < extra; ++i)
        workers_.emplace_back([this] { work(); });
}

BandWorkers::~BandWorkers() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

int BandWorkers::threadCountFrom(const char* setting, unsigned cores) {
    if (setting != nullptr && *setting != '\0') {
        char* end = nullptr;
        const long n = std::strtol(setting, &end, 10);
        if (*end == '\0' && n >= 1) return int(std::min<long>(n, kMaxThreads));
    }
    return std::clamp(int(std::min<unsigned>(cores, kMaxThreads)), 1, kMaxThreads);
}

BandWorkers& BandWorkers::shared() {
    static BandWorkers pool(
        threadCountFrom(std::getenv("PENWICK_THREADS"), std::thread::hardware_concurrency()));
    return pool;
}

// Takes parts until none is left; called with mutex_ held, returns with it held.
void BandWorkers::takeParts() {
    while (next_ < count_) {
        const int part = next_++;
        const std::function<void(int)>& job = *job_;
        mutex_.unlock();
        std::exception_ptr failed;
        try {
            job(part);
        } catch (...) {
            failed = std::current_exception();
        }
        mutex_.lock();
        if (failed && !failure_) failure_ = failed;
    }
}

void BandWorkers::work() {
    std::unique_lock lock(mutex_);
    // Runs counted from the pool's start, not from this thread's: a run may
    // begin before the thread first gets here.
    uint64_t seen = 0;
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
        if (stopping_) return;
        seen = generation_;
        takeParts();
        if (--busy_ == 0) finished_.notify_all();
    }
}

void BandWorkers::run(int count, const std::function<void(int)>& job) {
    if (count <= 0) return;
    std::lock_guard turn(turn_);
    if (workers_.empty() || count == 1) {
        for (int part = 0; part < count; ++part)
            job(part);
        return;
    }
    std::unique_lock lock(mutex_);
    job_ = &job;
    count_ = count;
    next_ = 0;
    busy_ = int(workers_.size());
    failure_ = nullptr;
    ++generation_;
    wake_.notify_all();
    takeParts();
    finished_.wait(lock, [&] { return busy_ == 0; });
    job_ = nullptr;
    count_ = 0;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace penwick
