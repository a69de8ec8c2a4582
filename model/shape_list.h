// The sketch's shapes in drawing order, shared between copies of the list.
//
// Copying a list costs one reference, whatever it holds, so a snapshot of a
// page of a million points is as cheap as one of an empty page. The copies
// share everything until one of them changes, and then only what the change
// touches is copied:
//
//   list ──> top: count, chunk 0, chunk 1, ... ──> chunk: up to 64 handles
//                                                       ──> one Shape each
//
// Every level is shared by reference and copied on the first write while
// someone else still holds it. Changing shape i copies the top (one pointer
// per 64 shapes), the chunk of i and shape i itself, when they are shared;
// appending copies the top and the last chunk. Inserting or removing in the
// middle moves every later shape by one, so the chunks from that point on are
// rebuilt (handles only, never the shapes).
//
// Reading never copies; writing through the non-const operator[], edit() or
// last() copies first. Prefer the const access for reading: on a non-const
// list operator[] is a write. A reference obtained for writing is valid only
// until the list is next copied or changed; a write through it after a copy
// would reach the copy too.
//
// The counts that decide whether something is shared are plain reference
// counts, exact on the one thread that owns a sketch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <utility>

#include "model/dyn_array.h"
#include "model/shape.h"

namespace penwick {

class ShapeList {
  public:
    // Shapes per chunk; a power of two, so that shape i is found with a shift
    // and a mask.
    static constexpr int32_t kChunkShift = 6;
    static constexpr int32_t kChunkSize = 1 << kChunkShift;

    ShapeList() = default;

    int32_t count() const { return top_ ? top_->count : 0; }
    bool isEmpty() const { return count() == 0; }

    const Shape& operator[](int32_t i) const;
    const Shape& last() const { return (*this)[count() - 1]; }

    // Shape i for writing: shared parts are copied first.
    Shape& edit(int32_t i);
    Shape& operator[](int32_t i) { return edit(i); }
    Shape& last() { return edit(count() - 1); }

    int32_t append(const Shape& shape);
    int32_t append(Shape&& shape);
    // Inserts before position i; appends when i >= count.
    void insertAt(int32_t i, Shape shape);
    // Inserts all of shapes, in order, before position i (appends when i >=
    // count), moving every later shape once.
    void insertAll(int32_t i, DynArray<Shape>&& shapes);
    // Removes n shapes from i; when i + n reaches the end the list is
    // truncated to i shapes.
    void removeAt(int32_t i, int32_t n = 1);
    // Removes every shape for which remove() is true, keeping the order of
    // the rest; returns the number removed. Nothing is copied when no shape
    // matches.
    template <class Predicate>
    int32_t removeIf(Predicate remove);
    // Removes shape i and gives it back, moved when no one else holds it.
    Shape take(int32_t i);
    void clear() { top_.reset(); }

    // Replaces the whole list.
    ShapeList& operator=(DynArray<Shape>&& shapes);

    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Shape;
        using difference_type = std::ptrdiff_t;
        using pointer = const Shape*;
        using reference = const Shape&;

        const_iterator() = default;
        const Shape& operator*() const { return (*list_)[i_]; }
        const Shape* operator->() const { return &(*list_)[i_]; }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator was = *this;
            ++i_;
            return was;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

      private:
        friend class ShapeList;
        const_iterator(const ShapeList* list, int32_t i) : list_(list), i_(i) {}
        const ShapeList* list_ = nullptr;
        int32_t i_ = 0;
    };

    // Iteration is read-only; write through edit(i).
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, count()}; }

  private:
    using Handle = std::shared_ptr<Shape>;
    using Chunk = DynArray<Handle>;
    struct Top {
        DynArray<std::shared_ptr<Chunk>> chunks;  // all full but the last
        int32_t count = 0;
    };

    // This list's own top, copied first when shared.
    Top& ownTop();
    // Chunk c of this list's own top, copied first when shared.
    Chunk& ownChunk(int32_t c);
    const Handle& handle(int32_t i) const;
    void appendHandle(Handle h);
    // Keeps the first `keep` shapes and appends the handles of `tail`.
    void rebuildFrom(int32_t keep, DynArray<Handle>&& tail);
    // The handles of shapes i, i + 1, ... to the end.
    DynArray<Handle> handlesFrom(int32_t i) const;

    std::shared_ptr<Top> top_;  // null for an empty list that never held a shape
};

template <class Predicate>
int32_t ShapeList::removeIf(Predicate remove) {
    int32_t first = 0;
    while (first < count() && !remove(std::as_const(*this)[first]))
        ++first;
    if (first == count()) return 0;
    DynArray<Handle> kept;
    for (int32_t i = first + 1; i < count(); ++i) {
        if (!remove(std::as_const(*this)[i])) kept.append(handle(i));
    }
    const int32_t removed = count() - first - kept.count();
    rebuildFrom(first, std::move(kept));
    return removed;
}

}  // namespace penwick
