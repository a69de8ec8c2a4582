// The growable array in which every level of the model keeps its children.
//
// It owns its elements and copies them deeply. Its capacity is observable and
// follows one growth rule: a request for n elements when the capacity is
// smaller grows the buffer to n + n/4, or to n + 262144 once n is 1048580 or
// more. So arrays of 1 to 3 elements grow exactly to the size asked for.
// Shrinking never releases the buffer; only clear() does.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>
#include <vector>

namespace penwick {

template <class T>
class DynArray {
  public:
    DynArray() = default;

    int32_t count() const { return int32_t(items_.size()); }
    int32_t capacity() const { return int32_t(items_.capacity()); }
    bool isEmpty() const { return items_.empty(); }

    // The capacity a request for n elements grows to.
    static int32_t grownCapacity(int32_t n) {
        int64_t step = n < 1048580 ? n / 4 : 262144;
        return int32_t(std::min<int64_t>(int64_t(n) + step, INT32_MAX));
    }

    // Elements coming into use are default values; those falling out of use
    // are destroyed.
    void resize(int32_t n) {
        assert(n >= 0);
        reserveFor(n);
        items_.resize(size_t(n));
    }

    int32_t append(const T& value) {
        if (capacity() <= count()) {
            // value may live in this array: copy it before the buffer moves.
            T copy(value);
            reserveFor(count() + 1);
            items_.push_back(std::move(copy));
        } else {
            items_.push_back(value);
        }
        return count() - 1;
    }

    int32_t append(T&& value) {
        reserveFor(count() + 1);
        items_.push_back(std::move(value));
        return count() - 1;
    }

    // Inserts before position i; appends when i >= count.
    void insertAt(int32_t i, T value) {
        assert(i >= 0);
        if (i >= count()) {
            append(std::move(value));
            return;
        }
        reserveFor(count() + 1);
        items_.insert(items_.begin() + i, std::move(value));
    }

    // Element i, growing the array to i + 1 elements first when needed.
    T& at(int32_t i) {
        assert(i >= 0);
        if (i >= count()) resize(i + 1);
        return items_[size_t(i)];
    }

    T& operator[](int32_t i) {
        assert(i >= 0 && i < count());
        return items_[size_t(i)];
    }
    const T& operator[](int32_t i) const {
        assert(i >= 0 && i < count());
        return items_[size_t(i)];
    }

    T& last() {
        assert(!items_.empty());
        return items_.back();
    }
    const T& last() const {
        assert(!items_.empty());
        return items_.back();
    }

    // Removes n elements from i; when i + n reaches the end the array is
    // truncated to i elements.
    void removeAt(int32_t i, int32_t n = 1) {
        assert(i >= 0 && n >= 0);
        if (int64_t(i) + n >= count()) {
            if (i < count()) items_.resize(size_t(i));
        } else if (n > 0) {
            items_.erase(items_.begin() + i, items_.begin() + i + n);
        }
    }

    // Removes every element for which remove() is true, keeping the order of
    // the rest; returns the number removed.
    template <class Predicate>
    int32_t removeIf(Predicate remove) {
        auto end = std::remove_if(items_.begin(), items_.end(), remove);
        int32_t removed = int32_t(items_.end() - end);
        items_.erase(end, items_.end());
        return removed;
    }

    // Destroys all elements and releases the buffer.
    void clear() { std::vector<T>().swap(items_); }

    T* items() { return items_.data(); }
    const T* items() const { return items_.data(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    void reserveFor(int32_t n) {
        if (capacity() < n) items_.reserve(size_t(grownCapacity(n)));
    }

    std::vector<T> items_;
};

}  // namespace penwick
