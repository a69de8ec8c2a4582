// A small pool of worker threads for drawing a picture in parts (horizontal
// bands, the shapes' outlines): the calling thread takes part, and returns
// only once every part is done.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace penwick {

class BandWorkers {
  public:
    // `threads` counts the calling thread: 1 starts no thread at all.
    explicit BandWorkers(int threads);
    ~BandWorkers();
    BandWorkers(const BandWorkers&) = delete;
    BandWorkers& operator=(const BandWorkers&) = delete;

    int threadCount() const { return int(workers_.size()) + 1; }

    // Runs job(0) ... job(count - 1), each exactly once, spread over the
    // threads, and returns when all have finished. A failure thrown by a job
    // is thrown again here once the others are done (the first one when
    // several fail). Calls from several threads take turns; a job must not
    // call run itself.
    void run(int count, const std::function<void(int)>& job);

    // The program's pool: as many threads as the machine has cores, or the
    // number in the environment variable PENWICK_THREADS (1 to 64).
    static BandWorkers& shared();
    // The thread count the shared pool takes from a PENWICK_THREADS value
    // (null when unset) and the machine's core count.
    static int threadCountFrom(const char* setting, unsigned cores);

  private:
    void work();
    void takeParts();

    std::vector<std::thread> workers_;
    std::mutex turn_;  // one run at a time
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    const std::function<void(int)>* job_ = nullptr;
    int count_ = 0;
    int next_ = 0;
    int busy_ = 0;  // workers still inside the current run
    uint64_t generation_ = 0;
    bool stopping_ = false;
    std::exception_ptr failure_;
};

}  // namespace penwick
