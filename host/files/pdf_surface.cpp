// The PDF surface: cairo draws the page into a stream kept in memory, so that the file is
// written whole or not at all. Numbers that are not finite never reach cairo (they would stop
// it for good); the plot is refused instead.
#include "host/files/pdf_surface.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <new>
#include <vector>

#include "host/drawing/font_metrics.h"
#include "platform/utf8.h"

namespace host {
namespace {

using svg::kPi;

bool Finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    try {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
}

// Text cairo takes: well-formed UTF-8 without control characters (a broken byte becomes
// U+FFFD, a control character a blank).
std::string Printable(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const size_t n = platform::utf8::Decode(text, i, cp);
        if (n == 0) {
            cp = 0xFFFD;
            ++i;
        } else {
            i += n;
        }
        platform::utf8::Append(out, cp < 0x20 || cp == 0x7F ? U' ' : cp);
    }
    return out;
}

// cairo and fontconfig keep the fonts they found for the life of the program; they are let go
// at its end, so that leak checks see nothing of them.
void ReleaseFontsAtExit() {
    static const bool registered = std::atexit([] {
                                       cairo_debug_reset_static_data();
                                       FcFini();
                                   }) == 0;
    (void)registered;
}

}  // namespace

struct PdfSurface::Cairo {
    std::string bytes;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    bool broken = false;  // a number was not finite

    // Whether the numbers may go to cairo; marks the page broken when not.
    bool Take(std::initializer_list<double> values) {
        if (Finite(values))
            return true;
        broken = true;
        return false;
    }
    void Ink(const svg::Pen& pen, double opacity) {
        cairo_set_source_rgba(cr, ((pen.colour >> 16) & 0xFF) / 255.0,
                              ((pen.colour >> 8) & 0xFF) / 255.0, (pen.colour & 0xFF) / 255.0,
                              std::clamp(opacity, 0.0, 1.0));
    }
};

PdfSurface::PdfSurface(double width, double height, const std::string& title)
    : cairo_(std::make_unique<Cairo>()) {
    ReleaseFontsAtExit();
    cairo_->surface = cairo_pdf_surface_create_for_stream(Append, &cairo_->bytes, width, height);
    cairo_pdf_surface_set_metadata(cairo_->surface, CAIRO_PDF_METADATA_TITLE,
                                   Printable(title).c_str());
    cairo_pdf_surface_set_metadata(cairo_->surface, CAIRO_PDF_METADATA_CREATOR, "armavo");
    cairo_->cr = cairo_create(cairo_->surface);
    cairo_t* cr = cairo_->cr;
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, kDejaVuSans.family, CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
}

PdfSurface::~PdfSurface() {
    if (cairo_->cr)
        cairo_destroy(cairo_->cr);
    if (cairo_->surface)
        cairo_surface_destroy(cairo_->surface);
}

bool PdfSurface::Finish(std::string& bytes, std::string& error) {
    cairo_status_t status = cairo_status(cairo_->cr);
    cairo_destroy(cairo_->cr);
    cairo_->cr = nullptr;
    cairo_surface_finish(cairo_->surface);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(cairo_->surface);
    if (cairo_->broken) {
        error = "arkusz zawierałby liczby nieskończone";
        return false;
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        error = std::string("biblioteka cairo zgłosiła błąd: ") + cairo_status_to_string(status);
        return false;
    }
    bytes = std::move(cairo_->bytes);
    return true;
}

void PdfSurface::MoveTo(double x, double y) {
    if (cairo_->Take({x, y}))
        cairo_move_to(cairo_->cr, x, y);
}

void PdfSurface::LineTo(double x, double y) {
    if (cairo_->Take({x, y}))
        cairo_line_to(cairo_->cr, x, y);
}

void PdfSurface::ArcTo(double r, bool large, bool sweep, double x, double y) {
    cairo_t* cr = cairo_->cr;
    double x1 = 0, y1 = 0;
    if (!cairo_->Take({r, x, y}) || !cairo_has_current_point(cr))
        return;
    cairo_get_current_point(cr, &x1, &y1);
    // The centre from the ends, the radius and the flags, as SVG's arc finds it; a radius
    // too short for the chord grows to half of it.
    const double hx = (x1 - x) / 2, hy = (y1 - y) / 2;
    const double half = hx * hx + hy * hy;
    if (half == 0 || r == 0) {
        cairo_line_to(cr, x, y);
        return;
    }
    r = std::max(std::fabs(r), std::sqrt(half));
    const double k = (large == sweep ? -1 : 1) * std::sqrt(std::max(0.0, (r * r - half) / half));
    const double cx = k * hy + (x1 + x) / 2, cy = -k * hx + (y1 + y) / 2;
    const double from = std::atan2(y1 - cy, x1 - cx), to = std::atan2(y - cy, x - cx);
    // Angles grow from the sheet's +x towards its +y axis, as the sweep turns.
    if (sweep)
        cairo_arc(cr, cx, cy, r, from, to);
    else
        cairo_arc_negative(cr, cx, cy, r, from, to);
}

void PdfSurface::EllipticTo(const svg::Elliptic& arc, double x, double y) {
    cairo_t* cr = cairo_->cr;
    if (!cairo_->Take(
            {arc.cx, arc.cy, arc.m[0], arc.m[1], arc.m[2], arc.m[3], arc.t0, arc.t1, x, y})) {
        return;
    }
    const double size = std::max(
        {std::fabs(arc.m[0]), std::fabs(arc.m[1]), std::fabs(arc.m[2]), std::fabs(arc.m[3])});
    const double det = arc.m[0] * arc.m[3] - arc.m[1] * arc.m[2];
    if (!(std::fabs(det) > 1e-9 * size * size)) {
        cairo_line_to(cr, x, y);  // flat: the ellipse is a line
        return;
    }
    // The unit circle carried by the arc's matrix onto the sheet.
    cairo_matrix_t m;
    cairo_matrix_init(&m, arc.m[0], arc.m[1], arc.m[2], arc.m[3], arc.cx, arc.cy);
    cairo_save(cr);
    cairo_transform(cr, &m);
    if (arc.t1 >= arc.t0)
        cairo_arc(cr, 0, 0, 1, arc.t0, arc.t1);
    else
        cairo_arc_negative(cr, 0, 0, 1, arc.t0, arc.t1);
    cairo_restore(cr);
}

void PdfSurface::ClosePath() {
    cairo_close_path(cairo_->cr);
}

void PdfSurface::StrokePath(const svg::Pen& pen, double width) {
    cairo_t* cr = cairo_->cr;
    if (!cairo_->Take({width})) {
        cairo_new_path(cr);
        return;
    }
    cairo_->Ink(pen, 1);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // The pattern's lengths; one that starts with a gap starts with a dash of no length.
    std::vector<double> dashes;
    if (!pen.dashes.empty() && pen.dashes.front() < 0)
        dashes.push_back(0);
    for (double dash : pen.dashes)
        dashes.push_back(std::fabs(dash));
    cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void PdfSurface::FillPath(const svg::Pen& pen, double opacity) {
    cairo_t* cr = cairo_->cr;
    cairo_->Ink(pen, opacity);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
}

void PdfSurface::Circle(double cx, double cy, double r, const svg::Pen& pen, double width) {
    cairo_t* cr = cairo_->cr;
    if (!cairo_->Take({cx, cy, r, width}) || r <= 0)
        return;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    StrokePath(pen, width);
}

void PdfSurface::Disc(double cx, double cy, double r, const svg::Pen& pen) {
    cairo_t* cr = cairo_->cr;
    if (!cairo_->Take({cx, cy, r}) || r <= 0)
        return;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    FillPath(pen, 1);
}

void PdfSurface::Text(const SheetText& text) {
    cairo_t* cr = cairo_->cr;
    if (!cairo_->Take({text.x, text.y, text.size, text.rotation}) || !text.runs)
        return;
    if (!(text.size > 1e-6))
        return;  // too small to see; a font of size 0 would stop cairo
    std::vector<std::string> pieces;
    double width = 0;
    cairo_save(cr);
    cairo_->Ink(text.pen, 1);
    cairo_set_font_size(cr, text.size);
    cairo_translate(cr, text.x, text.y);
    cairo_rotate(cr, -text.rotation * kPi / 180);  // anticlockwise as seen, the y axis down
    for (const svg::TextRun& run : *text.runs) {
        pieces.push_back(Printable(run.text));
        cairo_text_extents_t extents;
        cairo_text_extents(cr, pieces.back().c_str(), &extents);
        width += extents.x_advance;
    }
    double x = text.anchor == SheetText::Anchor::Middle ? -width / 2
               : text.anchor == SheetText::Anchor::End  ? -width
                                                        : 0;
    // Under- and overlines as the font places them, near its descent and above its capitals.
    const double em = text.size;
    const double cap = static_cast<double>(kDejaVuSans.capHeight) / kDejaVuSans.unitsPerEm;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const svg::TextRun& run = (*text.runs)[i];
        cairo_move_to(cr, x, 0);
        cairo_show_text(cr, pieces[i].c_str());
        double end = x, y = 0;
        cairo_get_current_point(cr, &end, &y);
        cairo_new_path(cr);
        cairo_set_line_width(cr, 0.05 * em);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        if (run.under) {
            cairo_move_to(cr, x, 0.12 * em);
            cairo_line_to(cr, end, 0.12 * em);
        }
        if (run.over) {
            cairo_move_to(cr, x, -(cap + 0.12) * em);
            cairo_line_to(cr, end, -(cap + 0.12) * em);
        }
        cairo_stroke(cr);
        x = end;
    }
    cairo_restore(cr);
}

}  // namespace host
