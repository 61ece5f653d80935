#include "ui/win/painter.h"

#include <algorithm>
#include <cmath>

#include "common/win/gdiplus.h"
#include "common/win/wide_text.h"
#include "ui/palette.h"

namespace torvane::ui::win {

namespace {

namespace gp = Gdiplus;

constexpr int kCentiPointsPerInch = 72 * 100;
constexpr Rgb kHoverPlate{226, 232, 240};
constexpr Rgb kTextBoxBorder = palette::kFrameLine;
constexpr float kGlyphPenAt96 = 1.6f;

gp::Color ToGp(Rgb c) { return gp::Color(255, c.r, c.g, c.b); }

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }

void Fill(HDC dc, const RECT& r, Rgb c) {
    SetDCBrushColor(dc, ToColorRef(c));
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

uint8_t Mix(uint8_t from, uint8_t to, int step, int steps) {
    return static_cast<uint8_t>(from + (to - from) * step / steps);
}

// The tint is drawn row by row with plain GDI, and only the rows the clip
// leaves: the skin sits behind the clock, repainted every second.
void PaintSkin(HDC dc, const Element& e, const Rect& px, const Dpi& dpi) {
    Fill(dc, ToRECT(px), e.style.background);
    const int rows = dpi.Px(e.style.tintHeight);
    if (rows <= 0) return;
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION) return;
    const Rgb from = e.style.hoverColor, to = e.style.background;
    const int first = std::max<int>(px.top, clip.top), last = std::min<int>(px.top + rows, clip.bottom);
    for (int y = first; y < last; ++y) {
        const int step = y - px.top;
        Fill(dc, RECT{px.left, y, px.right(), y + 1},
             Rgb{Mix(from.r, to.r, step, rows), Mix(from.g, to.g, step, rows), Mix(from.b, to.b, step, rows)});
    }
}

void PaintText(HDC dc, const Element& e, const Rect& px, FontCache& fonts) {
    if (e.text.empty()) return;
    std::wstring text = Utf8ToWide(e.text);
    // Panel lines end in CR LF; a line label shows only its text.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    RECT r = ToRECT(px);
    if (e.style.filled) Fill(dc, r, e.style.background);
    SelectObject(dc, fonts.Get(e.style.fontCentiPt, e.style.bold));
    SetTextColor(dc, ToColorRef(e.style.color));
    SetBkMode(dc, TRANSPARENT);
    const int lineHeight = MulDiv(e.style.fontCentiPt, fonts.dpi().value(), kCentiPointsPerInch);
    UINT format = DT_NOPREFIX | DT_LEFT | DT_TOP;
    // A wrapped label shows whole lines only, the last one ending in "…" when
    // more follows; its tooltip holds the rest.
    format |= px.height > 2 * lineHeight ? (DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS)
                                         : (DT_SINGLELINE | DT_END_ELLIPSIS);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// Chevrons pointing left (-1) or right (+1), one or two of them.
void Chevrons(gp::Graphics& g, const gp::Pen& pen, gp::RectF box, int direction, int count) {
    const gp::REAL h = box.Height * 0.28f, w = box.Width * 0.16f, gap = box.Width * 0.2f;
    const gp::REAL cy = box.Y + box.Height / 2, cx = box.X + box.Width / 2;
    for (int i = 0; i < count; ++i) {
        const gp::REAL tip = cx + direction * w + (count == 2 ? (i - 0.5f) * gap : 0.f);
        gp::PointF pts[3] = {{tip - direction * 2 * w, cy - h}, {tip, cy}, {tip - direction * 2 * w, cy + h}};
        g.DrawLines(&pen, pts, 3);
    }
}

void Gear(gp::Graphics& g, const gp::Pen& pen, gp::RectF box) {
    const gp::REAL cx = box.X + box.Width / 2, cy = box.Y + box.Height / 2;
    const gp::REAL r = box.Width * 0.26f, tooth = box.Width * 0.46f;
    g.DrawEllipse(&pen, cx - r, cy - r, 2 * r, 2 * r);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265358979 / 4;
        const auto c = static_cast<gp::REAL>(std::cos(a)), s = static_cast<gp::REAL>(std::sin(a));
        g.DrawLine(&pen, cx + c * r, cy + s * r, cx + c * tooth, cy + s * tooth);
    }
}

void Pill(HDC dc, gp::Graphics& g, const Element& e, const Rect& px, Rgb ink, FontCache& fonts) {
    gp::SolidBrush fill(ToGp(ink));
    gp::GraphicsPath pill;
    const gp::REAL d = static_cast<gp::REAL>(px.height);
    const gp::REAL x = static_cast<gp::REAL>(px.left), y = static_cast<gp::REAL>(px.top);
    pill.AddArc(x, y, d, d, 90.f, 180.f);
    pill.AddArc(x + static_cast<gp::REAL>(px.width) - d, y, d, d, 270.f, 180.f);
    pill.CloseFigure();
    g.FillPath(&fill, &pill);
    g.Flush();
    RECT r = ToRECT(px);
    SelectObject(dc, fonts.Get(e.style.fontCentiPt, true));
    SetTextColor(dc, ToColorRef(e.style.background));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = Utf8ToWide(e.text);
    DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PaintButton(HDC dc, const Element& e, const Rect& px, FontCache& fonts) {
    const bool hover = e.look == Look::Hover;
    const Rgb ink = hover ? e.style.hoverColor : e.style.color;
    gp::Graphics g(dc);
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    const gp::RectF box(static_cast<gp::REAL>(px.left), static_cast<gp::REAL>(px.top),
                        static_cast<gp::REAL>(px.width), static_cast<gp::REAL>(px.height));
    gp::Pen pen(ToGp(ink), kGlyphPenAt96 * static_cast<gp::REAL>(fonts.dpi().value()) / kDesignDpi);
    pen.SetStartCap(gp::LineCapRound);
    pen.SetEndCap(gp::LineCapRound);
    pen.SetLineJoin(gp::LineJoinRound);
    const Glyph glyph = e.style.glyph;
    if (hover && glyph != Glyph::Close && glyph != Glyph::Collapse && glyph != Glyph::Pill) {
        const gp::REAL grow = static_cast<gp::REAL>(fonts.dpi().Scale(2));
        gp::SolidBrush plate(ToGp(kHoverPlate));
        g.FillEllipse(&plate, box.X - grow, box.Y - grow, box.Width + 2 * grow, box.Height + 2 * grow);
    }
    switch (glyph) {
        case Glyph::Close:
            g.DrawLine(&pen, box.X, box.Y, box.X + box.Width, box.Y + box.Height);
            g.DrawLine(&pen, box.X + box.Width, box.Y, box.X, box.Y + box.Height);
            break;
        case Glyph::Collapse:
        case Glyph::PreviousYear: Chevrons(g, pen, box, -1, 2); break;
        case Glyph::PreviousMonth: Chevrons(g, pen, box, -1, 1); break;
        case Glyph::NextMonth: Chevrons(g, pen, box, +1, 1); break;
        case Glyph::NextYear: Chevrons(g, pen, box, +1, 2); break;
        case Glyph::Settings: Gear(g, pen, box); break;
        case Glyph::Refresh: {
            const gp::REAL inset = box.Width * 0.22f;
            g.DrawArc(&pen, box.X + inset, box.Y + inset, box.Width - 2 * inset, box.Height - 2 * inset, 30.f, 300.f);
            break;
        }
        case Glyph::Pill: Pill(dc, g, e, px, ink, fonts); break;
        case Glyph::None: break;
    }
}

// A part of a bitmap stretched onto the surface as it is, without smoothing.
void PaintBitmap(HDC dc, HDC memory, const DrawOp& op, int dx, int dy, const BitmapSource& bitmaps) {
    HBITMAP bitmap = bitmaps ? bitmaps(op.bitmap) : nullptr;
    if (!bitmap || !memory) return;
    const HGDIOBJ old = SelectObject(memory, bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, op.x1 + dx, op.y1 + dy, op.x2 - op.x1, op.y2 - op.y1, memory, op.source.left, op.source.top,
               op.source.width, op.source.height, SRCCOPY);
    SelectObject(memory, old);
}

void PaintSurface(HDC dc, const Rect& px, const DrawList& ops, FontCache& fonts, const BitmapSource& bitmaps) {
    const int dx = px.left, dy = px.top;
    const RECT clip = ToRECT(px);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DC_PEN));
    torvane::win::UniqueMemoryDC memory;
    for (const DrawOp& op : ops) {
        switch (op.kind) {
            case DrawKind::Clear: Fill(dc, clip, op.color); break;
            case DrawKind::FillRect: Fill(dc, {op.x1 + dx, op.y1 + dy, op.x2 + dx, op.y2 + dy}, op.color); break;
            case DrawKind::Line:
                SetDCPenColor(dc, ToColorRef(op.color));
                MoveToEx(dc, op.x1 + dx, op.y1 + dy, nullptr);
                LineTo(dc, op.x2 + dx, op.y2 + dy);
                break;
            case DrawKind::Text: {
                SelectObject(dc, fonts.Get(op.fontCentiPt, op.bold));
                SetTextColor(dc, ToColorRef(op.color));
                const std::wstring text = Utf8ToWide(op.text);
                TextOutW(dc, op.x1 + dx, op.y1 + dy, text.c_str(), static_cast<int>(text.size()));
                break;
            }
            case DrawKind::Bitmap:
                if (!memory) memory.reset(CreateCompatibleDC(dc));
                PaintBitmap(dc, memory.get(), op, dx, dy, bitmaps);
                break;
        }
    }
    RestoreDC(dc, saved);
}

void PaintElement(HDC dc, const Element& e, const Rect& px, const Dpi& dpi, FontCache& fonts,
                  const SurfaceSource& surfaces, PictureCache* pictures, const BitmapSource& bitmaps) {
    switch (e.kind) {
        case ElementKind::Skin: PaintSkin(dc, e, px, dpi); break;
        case ElementKind::FrameLine: Fill(dc, ToRECT(px), e.style.color); break;
        case ElementKind::Label: PaintText(dc, e, px, fonts); break;
        case ElementKind::Button: PaintButton(dc, e, px, fonts); break;
        case ElementKind::Surface:
            if (const DrawList* ops = surfaces ? surfaces(e.id) : nullptr) PaintSurface(dc, px, *ops, fonts, bitmaps);
            break;
        case ElementKind::TextBox: {
            RECT r = ToRECT(px);
            InflateRect(&r, 1, 1);
            Fill(dc, r, kTextBoxBorder);
            break;
        }
        case ElementKind::Picture:
            if (pictures) pictures->Draw(dc, e.picture, px, dpi);
            break;
        case ElementKind::List:
        case ElementKind::Placeholder: break;
    }
}

}  // namespace

HDC BackBuffer::Get(HDC reference, int width, int height) {
    if (dc_ && width == width_ && height == height_) return dc_.get();
    if (dc_ && original_) SelectObject(dc_.get(), original_);
    bitmap_.reset();
    dc_.reset(CreateCompatibleDC(reference));
    bitmap_.reset(CreateCompatibleBitmap(reference, width, height));
    original_ = dc_ && bitmap_ ? SelectObject(dc_.get(), bitmap_.get()) : nullptr;
    width_ = width;
    height_ = height;
    return dc_.get();
}

void PaintWindow(HWND hwnd, const ElementSet& elements, const Dpi& dpi, FontCache& fonts,
                 BackBuffer& buffer, const SurfaceSource& surfaces, PictureCache* pictures,
                 const BitmapSource& bitmaps) {
    // Buttons and pictures draw with GDI+; it starts with the first paint.
    torvane::win::EnsureGdiplus();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HDC memory = buffer.Get(dc, client.right, client.bottom);
    if (memory) {
        const RECT& d = ps.rcPaint;
        const Rect dirty{d.left, d.top, d.right - d.left, d.bottom - d.top};
        const int saved = SaveDC(memory);
        IntersectClipRect(memory, d.left, d.top, d.right, d.bottom);
        for (const Element& e : elements) {
            const Rect px = dpi.Px(e.rect);
            if (e.visible && px.Intersects(dirty)) PaintElement(memory, e, px, dpi, fonts, surfaces, pictures, bitmaps);
        }
        RestoreDC(memory, saved);
        // Real controls and features' own windows paint themselves; keep the
        // back buffer off them.
        for (const Element& e : elements) {
            const bool ownWindow =
                e.kind == ElementKind::TextBox || e.kind == ElementKind::List || e.kind == ElementKind::Placeholder;
            if (!e.visible || !ownWindow) continue;
            const Rect px = dpi.Px(e.rect);
            ExcludeClipRect(dc, px.left, px.top, px.right(), px.bottom());
        }
        BitBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, memory, d.left, d.top, SRCCOPY);
    }
    EndPaint(hwnd, &ps);
}

int MeasureTextHeight(HDC dc, FontCache& fonts, int centiPt, const wchar_t* sample) {
    HGDIOBJ old = SelectObject(dc, fonts.Get(centiPt, false));
    SIZE size{};
    GetTextExtentPoint32W(dc, sample, static_cast<int>(wcslen(sample)), &size);
    SelectObject(dc, old);
    return size.cy;
}

}  // namespace torvane::ui::win
