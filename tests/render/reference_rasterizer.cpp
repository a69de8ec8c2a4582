#include "tests/render/reference_rasterizer.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace penwick::reference {

namespace {

int biasedFloor(double v) {
    return int(std::nearbyint(v + -0.499000072479248));
}

struct Cell {
    int column;
    int next;  // index in the pool, -1 at the end
    int area;
    int carry;
};

struct Pt {
    float x, y;
};

Pt mid(Pt a, Pt b) {
    return {float((double(a.x) + double(b.x)) / 2), float((double(a.y) + double(b.y)) / 2)};
}

class Accumulator {
  public:
    Accumulator(int columns, int rows, int64_t pool)
        : columns_(columns), rows_(rows), heads_(size_t(rows), -1), minRow_(rows) {
        limit_ = pool < 0 ? int64_t(rows) * 128 : pool;
    }

    void addCell(int x, int row, int a, int c) {
        if (row < 0 || row >= rows_ || c == 0) return;
        if (x < 0) {
            x = 0;
            a = c;
        }
        if (x >= columns_) return;
        // Walk to the first cell with column >= x, remembering its predecessor.
        int previous = -1;
        int cell = heads_[size_t(row)];
        while (cell != -1 && pool_[size_t(cell)].column < x) {
            previous = cell;
            cell = pool_[size_t(cell)].next;
        }
        if (cell != -1 && pool_[size_t(cell)].column == x) {
            pool_[size_t(cell)].area += a;
            pool_[size_t(cell)].carry += c - a;
            return;
        }
        if (int64_t(pool_.size()) >= limit_) return;  // dropped
        pool_.push_back(Cell{x, cell, a, c - a});
        const int added = int(pool_.size() - 1);
        if (previous == -1) {
            heads_[size_t(row)] = added;
        } else {
            pool_[size_t(previous)].next = added;
        }
    }

    void rowSpan(double xa, double xb, int row, int c) {
        const double d = std::min(xa, xb), e = std::max(xa, xb);
        const int h = biasedFloor(d), k = biasedFloor(e);
        // A span ending a hair short of pixel k lies wholly in pixel h.
        if (h == k || (k == h + 1 && e < k)) {
            addCell(h, row, int((h + 1 - (d + e) / 2) * c), c);
            return;
        }
        const double g = 1 / (e - d);
        const int t = int((h + 1 - d) * (h + 1 - d) * g * 0.5 * c);
        if (t != 0) addCell(h, row, t, t);
        int sum = t;
        int i = h + 1;
        for (; i < k && i < columns_; ++i) {
            const int u = int((i + 0.5 - d) * c * g - sum);
            if (u != 0) {
                addCell(i, row, u, u);
                sum += u;
            }
        }
        addCell(i, row, int((1 - (e - k) * (e - k) * g * 0.5) * c - sum), c - sum);
    }

    void edge(double x0, double y0, double x1, double y1) {
        int w = 256 << 8;
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        } else {
            w = -w;
        }
        if (y1 <= 0 || y0 > rows_ || y0 == y1) return;
        const int r0 = biasedFloor(y0), r1 = biasedFloor(y1);
        minRow_ = std::min(minRow_, r0);
        maxRow_ = std::max(maxRow_, r1);
        if (r0 == r1) {
            const int c = int((y1 - y0) * w);
            if (c != 0) rowSpan(x0, x1, r0, c);
            return;
        }
        const double s = (x1 - x0) / (y1 - y0);
        const int last = std::min(r1, rows_);
        if (r0 >= 0) {
            const int c = int((r0 + 1 - y0) * w);
            if (c != 0) rowSpan(x0, x0 + (r0 + 1 - y0) * s, r0, c);
        }
        for (int r = std::max(r0 + 1, 0); r < last; ++r) {
            const double xa = x0 + (r - y0) * s;
            rowSpan(xa, xa + s, r, w);
        }
        if (r1 < rows_) {
            const int c = int((y1 - r1) * w);
            if (c != 0) rowSpan(x0 + (r1 - y0) * s, x1, r1, c);
        }
    }

    void line(Pt a, Pt b) { edge(a.x, a.y, b.x, b.y); }

    void curve(Pt p0, Pt p1, Pt p2) {
        if (p0.y <= 0 && p1.y <= 0 && p2.y <= 0) return;
        if (p0.x >= columns_ && p1.x >= columns_ && p2.x >= columns_) return;
        if (p0.y >= rows_ && p1.y >= rows_ && p2.y >= rows_) return;
        if (p0.x <= 0 && p1.x <= 0 && p2.x <= 0) {
            edge(0, p0.y, 0, p2.y);
            return;
        }
        const double dx = p1.x - (double(p0.x) + p2.x) / 2;
        const double dy = p1.y - (double(p0.y) + p2.y) / 2;
        if (0.25 * 0.25 < dx * dx + dy * dy) {
            const Pt m = {float((double(p0.x) + 2.0 * p1.x + p2.x) / 4),
                          float((double(p0.y) + 2.0 * p1.y + p2.y) / 4)};
            curve(p0, mid(p0, p1), m);
            curve(m, mid(p1, p2), p2);
            return;
        }
        line(p0, p2);
    }

    void contour(const DynArray<PathPoint>& points) {
        const int n = points.count();
        auto P = [&](int i) { return Pt{points[(i % n + n) % n].x, points[(i % n + n) % n].y}; };
        auto on = [&](int i) { return points[(i % n + n) % n].onCurve != 0; };
        for (int i = 0; i < n; ++i) {
            if (!on(i)) {
                curve(on(i - 1) ? P(i - 1) : mid(P(i - 1), P(i)), P(i),
                      on(i + 1) ? P(i + 1) : mid(P(i), P(i + 1)));
            } else if (on(i - 1)) {
                line(P(i - 1), P(i));
            }
            if (P(i - 1).x < 0) {
                int j = i;
                if (!(P(i).x <= 0)) continue;
                while (j + 1 < n && P(j + 1).x <= 0)
                    ++j;
                if (j - i >= 2) {
                    Pt from = on(i) ? P(i) : on(i + 1) ? P(i + 1) : mid(P(i), P(i + 1));
                    Pt to = P(j);
                    if (!on(j)) {
                        to = on(j - 1) ? P(j - 1) : mid(P(j), P(j - 1));
                        j -= 1;
                    }
                    line(from, to);
                    i = j;
                }
            }
        }
    }

    void sweep(PixelBuffer& target, uint32_t colour, double opacity) {
        const PixelFormat& f = target.format();
        const uint32_t fill = f.convert(colour | 0xFF000000u);
        const int A = int(opacity * 256.0);
        auto alphaOf = [&](int v) { return (std::min(v, 0xFFFF) * A) >> 16; };
        const int end = std::min({target.height(), rows_, maxRow_ + 1});
        for (int row = std::max(minRow_, 0); row < end; ++row) {
            if (heads_[size_t(row)] == -1) continue;
            uint8_t* base = target.row(row);
            int m = 0, x = 0;
            auto span = [&](int to) {
                for (int px = x; px < to; ++px) {
                    const int v = std::abs(m);
                    if (v == 0) continue;
                    const int alpha = alphaOf(v);
                    uint8_t* at = base + px * f.bytesPerPixel;
                    if (alpha >= 255) {
                        storePixel(at, f.bytesPerPixel, fill);
                    } else {
                        f.blend(at, colour, alpha);
                    }
                }
            };
            for (int i = heads_[size_t(row)]; i != -1; i = pool_[size_t(i)].next) {
                const Cell& cell = pool_[size_t(i)];
                span(cell.column);
                const int v = std::abs(m + cell.area);
                if (v > 0) f.blend(base + cell.column * f.bytesPerPixel, colour, alphaOf(v));
                m += cell.area + cell.carry;
                x = cell.column + 1;
            }
            span(columns_);
        }
    }

  private:
    int columns_, rows_;
    std::vector<int> heads_;
    std::vector<Cell> pool_;
    int64_t limit_ = 0;
    int minRow_;
    int maxRow_ = 0;
};

}  // namespace

void fill(PixelBuffer& target, const Path& path, uint32_t colour, double opacity,
          int64_t poolCells) {
    if (target.isEmpty()) return;
    const RectF b = path.bounds();
    if (target.width() <= b.left || target.height() <= b.top || b.right <= 0 || b.bottom <= 0)
        return;
    Accumulator acc(target.width(), target.height(), poolCells);
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        if (path.contours[c].points.count() > 0) acc.contour(path.contours[c].points);
    }
    acc.sweep(target, colour | 0xFF000000u, opacity);
}

}  // namespace penwick::reference
