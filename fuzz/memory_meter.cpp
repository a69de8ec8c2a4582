#include "fuzz/memory_meter.h"

#include <atomic>

namespace penwick::checks {

namespace {

std::atomic<size_t> inUse{0};
std::atomic<size_t> highest{0};
std::atomic<size_t> allocated{0};
std::atomic<bool> installed{false};

}  // namespace

void noteAllocated(size_t bytes) {
    const size_t now = inUse.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    allocated.fetch_add(bytes, std::memory_order_relaxed);
    size_t seen = highest.load(std::memory_order_relaxed);
    while (now > seen && !highest.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}

void noteFreed(size_t bytes) {
    inUse.fetch_sub(bytes, std::memory_order_relaxed);
}

bool meterInstalled() {
    return installed.load();
}

void setMeterInstalled() {
    installed.store(true);
}

PeakMeasure::PeakMeasure()
    : start_(inUse.load(std::memory_order_relaxed)),
      totalStart_(allocated.load(std::memory_order_relaxed)) {
    highest.store(start_, std::memory_order_relaxed);
}

size_t PeakMeasure::peak() const {
    const size_t top = highest.load(std::memory_order_relaxed);
    return top > start_ ? top - start_ : 0;
}

size_t PeakMeasure::total() const {
    return allocated.load(std::memory_order_relaxed) - totalStart_;
}

}  // namespace penwick::checks
