#include "model/shape_list.h"

#include <cassert>

namespace penwick {

namespace {

constexpr int32_t kChunkMask = ShapeList::kChunkSize - 1;

}  // namespace

ShapeList::Top& ShapeList::ownTop() {
    if (!top_) {
        top_ = std::make_shared<Top>();
    } else if (top_.use_count() > 1) {
        top_ = std::make_shared<Top>(*top_);
    }
    return *top_;
}

ShapeList::Chunk& ShapeList::ownChunk(int32_t c) {
    std::shared_ptr<Chunk>& chunk = ownTop().chunks[c];
    if (chunk.use_count() > 1) chunk = std::make_shared<Chunk>(*chunk);
    return *chunk;
}

const ShapeList::Handle& ShapeList::handle(int32_t i) const {
    return (*top_->chunks[i >> kChunkShift])[i & kChunkMask];
}

const Shape& ShapeList::operator[](int32_t i) const {
    assert(i >= 0 && i < count());
    return *handle(i);
}

Shape& ShapeList::edit(int32_t i) {
    assert(i >= 0 && i < count());
    Handle& h = ownChunk(i >> kChunkShift)[i & kChunkMask];
    if (h.use_count() > 1) h = std::make_shared<Shape>(std::as_const(*h));
    return *h;
}

void ShapeList::appendHandle(Handle h) {
    Top& top = ownTop();
    // Every chunk but the last is full, so a count on a chunk boundary means
    // the last one is full too (or there is none).
    if ((top.count & kChunkMask) == 0) top.chunks.append(std::make_shared<Chunk>());
    ownChunk(top.chunks.count() - 1).append(std::move(h));
    ++top.count;
}

int32_t ShapeList::append(const Shape& shape) {
    // The copy is made before anything moves; shape may belong to this list.
    appendHandle(std::make_shared<Shape>(shape));
    return count() - 1;
}

int32_t ShapeList::append(Shape&& shape) {
    appendHandle(std::make_shared<Shape>(std::move(shape)));
    return count() - 1;
}

DynArray<ShapeList::Handle> ShapeList::handlesFrom(int32_t i) const {
    DynArray<Handle> handles;
    for (; i < count(); ++i)
        handles.append(handle(i));
    return handles;
}

void ShapeList::rebuildFrom(int32_t keep, DynArray<Handle>&& tail) {
    assert(keep >= 0 && keep <= count());
    if (keep == 0 && tail.isEmpty()) {
        clear();
        return;
    }
    Top& top = ownTop();
    const int32_t chunksKept = (keep + kChunkMask) >> kChunkShift;
    top.chunks.removeAt(chunksKept, top.chunks.count());
    top.count = keep;
    if ((keep & kChunkMask) != 0) ownChunk(chunksKept - 1).removeAt(keep & kChunkMask, kChunkSize);
    for (Handle& h : tail)
        appendHandle(std::move(h));
}

void ShapeList::insertAt(int32_t i, Shape shape) {
    assert(i >= 0);
    if (i >= count()) {
        append(std::move(shape));
        return;
    }
    DynArray<Handle> tail;
    tail.append(std::make_shared<Shape>(std::move(shape)));
    for (int32_t j = i; j < count(); ++j)
        tail.append(handle(j));
    rebuildFrom(i, std::move(tail));
}

void ShapeList::insertAll(int32_t i, DynArray<Shape>&& shapes) {
    assert(i >= 0);
    if (i >= count()) {
        for (Shape& shape : shapes)
            append(std::move(shape));
        return;
    }
    DynArray<Handle> tail;
    for (Shape& shape : shapes)
        tail.append(std::make_shared<Shape>(std::move(shape)));
    for (int32_t j = i; j < count(); ++j)
        tail.append(handle(j));
    rebuildFrom(i, std::move(tail));
}

void ShapeList::removeAt(int32_t i, int32_t n) {
    assert(i >= 0 && n >= 0);
    if (int64_t(i) + n >= count()) {
        if (i < count()) rebuildFrom(i, {});
    } else if (n > 0) {
        rebuildFrom(i, handlesFrom(i + n));
    }
}

Shape ShapeList::take(int32_t i) {
    assert(i >= 0 && i < count());
    Handle h = handle(i);
    removeAt(i);
    if (h.use_count() == 1) return std::move(*h);
    return *h;
}

ShapeList& ShapeList::operator=(DynArray<Shape>&& shapes) {
    clear();
    for (Shape& shape : shapes)
        append(std::move(shape));
    return *this;
}

}  // namespace penwick
