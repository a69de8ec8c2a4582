#include "bench/raster_peers.h"

#include <agg_conv_curve.h>
#include <agg_path_storage.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_rendering_buffer.h>
#include <agg_scanline_u.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>

#include "bench/raster_workloads.h"

namespace penwick::bench {

namespace {

class AggPeer final : public RasterPeer {
  public:
    AggPeer(int width, int height)
        : memory_(size_t(width) * height * 4, 0xFF),
          buffer_(memory_.data(), unsigned(width), unsigned(height), width * 4),
          format_(buffer_),
          base_(format_),
          solid_(base_) {
        rasterizer_.filling_rule(agg::fill_non_zero);
    }

    void prepare(const std::vector<Path>& paths) override {
        paths_.clear();
        paths_.resize(paths.size());
        for (size_t i = 0; i < paths.size(); ++i) {
            agg::path_storage& storage = paths_[i];
            for (int32_t c = 0; c < paths[i].contours.count(); ++c) {
                forEachSegment(
                    paths[i].contours[c], [&](double x, double y) { storage.move_to(x, y); },
                    [&](double x, double y) { storage.line_to(x, y); },
                    [&](double cx, double cy, double x, double y) { storage.curve3(cx, cy, x, y); },
                    [&] { storage.close_polygon(); });
            }
        }
    }

    void fill(size_t i, uint32_t colour) override {
        rasterizer_.reset();
        agg::conv_curve<agg::path_storage> curves(paths_[i]);
        rasterizer_.add_path(curves);
        solid_.color(agg::rgba8((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF, 255));
        agg::render_scanlines(rasterizer_, scanline_, solid_);
    }

  private:
    using Format = agg::pixfmt_bgra32;
    std::vector<uint8_t> memory_;
    agg::rendering_buffer buffer_;
    Format format_;
    agg::renderer_base<Format> base_;
    agg::renderer_scanline_aa_solid<agg::renderer_base<Format>> solid_;
    agg::rasterizer_scanline_aa<> rasterizer_;
    agg::scanline_u8 scanline_;
    std::vector<agg::path_storage> paths_;
};

class FreeTypePeer final : public RasterPeer {
  public:
    explicit FreeTypePeer(PixelBuffer& target) : target_(target) { FT_Init_FreeType(&library_); }
    ~FreeTypePeer() override { FT_Done_FreeType(library_); }

    void prepare(const std::vector<Path>& paths) override {
        outlines_.clear();
        outlines_.resize(paths.size());
        for (size_t i = 0; i < paths.size(); ++i) {
            Outline& o = outlines_[i];
            for (int32_t c = 0; c < paths[i].contours.count(); ++c) {
                const auto& points = paths[i].contours[c].points;
                if (points.count() == 0) continue;
                for (int32_t k = 0; k < points.count(); ++k) {
                    // y is negated: FreeType's y grows upward.
                    o.points.push_back({FT_Pos(std::lround(double(points[k].x) * 64)),
                                        FT_Pos(-std::lround(double(points[k].y) * 64))});
                    o.tags.push_back(points[k].onCurve ? FT_CURVE_TAG_ON : FT_CURVE_TAG_CONIC);
                }
                o.ends.push_back(short(o.points.size() - 1));
            }
        }
    }

    void fill(size_t i, uint32_t colour) override {
        Outline& o = outlines_[i];
        FT_Outline outline{};
        outline.n_contours = short(o.ends.size());
        outline.n_points = short(o.points.size());
        outline.points = o.points.data();
        outline.tags = o.tags.data();
        outline.contours = o.ends.data();
        outline.flags = FT_OUTLINE_NONE;
        colour_ = colour;
        fill_ = target_.format().convert(colour);
        FT_Raster_Params params{};
        params.source = &outline;
        params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
        params.gray_spans = &FreeTypePeer::spans;
        params.user = this;
        params.clip_box = {0, -target_.height(), target_.width(), 0};
        FT_Outline_Render(library_, &outline, &params);
    }

  private:
    struct Outline {
        std::vector<FT_Vector> points;
        std::vector<char> tags;
        std::vector<short> ends;
    };

    static void spans(int y, int count, const FT_Span* spans, void* user) {
        auto* self = static_cast<FreeTypePeer*>(user);
        PixelBuffer& target = self->target_;
        const int row = -y - 1;
        if (row < 0 || row >= target.height()) return;
        const PixelFormat& format = target.format();
        uint8_t* base = target.row(row);
        for (int s = 0; s < count; ++s) {
            uint8_t* at = base + std::ptrdiff_t(spans[s].x) * 4;
            if (spans[s].coverage == 255) {
                format.fillRun(at, spans[s].len, self->fill_);
            } else {
                format.blendRun(at, spans[s].len, self->colour_, spans[s].coverage);
            }
        }
    }

    PixelBuffer& target_;
    FT_Library library_ = nullptr;
    std::vector<Outline> outlines_;
    uint32_t colour_ = 0, fill_ = 0;
};

class CairoPeer final : public RasterPeer {
  public:
    CairoPeer(int width, int height) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cr_ = cairo_create(surface_);
        cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
        cairo_set_tolerance(cr_, 0.25);
        cairo_set_source_rgb(cr_, 1, 1, 1);
        cairo_paint(cr_);
    }
    ~CairoPeer() override {
        for (cairo_path_t* p : paths_)
            cairo_path_destroy(p);
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }

    void prepare(const std::vector<Path>& paths) override {
        for (cairo_path_t* p : paths_)
            cairo_path_destroy(p);
        paths_.clear();
        for (const Path& path : paths) {
            cairo_new_path(cr_);
            double sx = 0, sy = 0;  // the current point, for the cubic form of a quadratic
            for (int32_t c = 0; c < path.contours.count(); ++c) {
                forEachSegment(
                    path.contours[c],
                    [&](double x, double y) {
                        cairo_move_to(cr_, x, y);
                        sx = x;
                        sy = y;
                    },
                    [&](double x, double y) {
                        cairo_line_to(cr_, x, y);
                        sx = x;
                        sy = y;
                    },
                    [&](double cx, double cy, double x, double y) {
                        cairo_curve_to(cr_, sx + 2.0 / 3 * (cx - sx), sy + 2.0 / 3 * (cy - sy),
                                       x + 2.0 / 3 * (cx - x), y + 2.0 / 3 * (cy - y), x, y);
                        sx = x;
                        sy = y;
                    },
                    [&] { cairo_close_path(cr_); });
            }
            paths_.push_back(cairo_copy_path(cr_));
        }
        cairo_new_path(cr_);
    }

    void fill(size_t i, uint32_t colour) override {
        cairo_set_source_rgb(cr_, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                             (colour & 0xFF) / 255.0);
        cairo_new_path(cr_);
        cairo_append_path(cr_, paths_[i]);
        cairo_fill(cr_);
    }

  private:
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::vector<cairo_path_t*> paths_;
};

}  // namespace

std::unique_ptr<RasterPeer> makeAggPeer(int width, int height) {
    return std::make_unique<AggPeer>(width, height);
}

std::unique_ptr<RasterPeer> makeFreeTypePeer(PixelBuffer& target) {
    return std::make_unique<FreeTypePeer>(target);
}

std::unique_ptr<RasterPeer> makeCairoPeer(int width, int height) {
    return std::make_unique<CairoPeer>(width, height);
}

}  // namespace penwick::bench
