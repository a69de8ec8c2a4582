// Replaces the global operator new and delete of the test program that links
// it, so that every byte the program allocates through them reaches the
// memory meter (fuzz/memory_meter.h). Each block keeps its size in front.
#include <cstdlib>
#include <new>

#include "fuzz/memory_meter.h"

namespace {

constexpr size_t kHeader = alignof(std::max_align_t);

void* allocate(size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) return nullptr;
    *static_cast<size_t*>(block) = size;
    penwick::checks::noteAllocated(size);
    return static_cast<char*>(block) + kHeader;
}

void release(void* pointer) {
    if (pointer == nullptr) return;
    void* block = static_cast<char*>(pointer) - kHeader;
    penwick::checks::noteFreed(*static_cast<size_t*>(block));
    std::free(block);
}

const bool kInstalled = (penwick::checks::setMeterInstalled(), true);

}  // namespace

void* operator new(size_t size) {
    void* p = allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
void* operator new[](size_t size) {
    void* p = allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, size_t) noexcept {
    release(p);
}
void operator delete[](void* p, size_t) noexcept {
    release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    release(p);
}
