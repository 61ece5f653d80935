#include "calendar/win/painter.h"

#include <cmath>

#include "common/win/gdiplus.h"

#include "common/win/wide_text.h"

namespace torvane::calendar::win {

namespace {

namespace gp = Gdiplus;

constexpr int kPointsPerInch = 72;
constexpr int kCentiPerPoint = 100;
constexpr int kHeaderBandHeight = 150;      // the tinted top of the calendar skin
constexpr Rgb kHeaderTintTop{224, 234, 255};
constexpr Rgb kHoverPlate{226, 232, 240};
constexpr float kGlyphPen = 1.6f;
constexpr int kTextBoxBorder = 1;

gp::Color ToGp(Rgb c) { return gp::Color(255, c.r, c.g, c.b); }

void Fill(HDC dc, const RECT& r, Rgb c) {
    SetDCBrushColor(dc, ToColorRef(c));
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

RECT ToRect(const Rect& r, int dx = 0, int dy = 0) {
    return {r.left + dx, r.top + dy, r.left + dx + r.width, r.top + dy + r.height};
}

// The calendar skin: a soft tint behind the header fading into the page.
void PaintSkin(HDC dc, const Element& e) {
    Fill(dc, ToRect(e.rect), e.style.background);
    if (e.id != Ctl::Image1) return;
    gp::Graphics g(dc);
    gp::RectF band(static_cast<gp::REAL>(e.rect.left), 0.f, static_cast<gp::REAL>(e.rect.width),
                   static_cast<gp::REAL>(kHeaderBandHeight));
    gp::LinearGradientBrush brush(band, ToGp(kHeaderTintTop), ToGp(e.style.background),
                                  gp::LinearGradientModeVertical);
    g.FillRectangle(&brush, band);
}

void PaintText(HDC dc, const Element& e, FontCache& fonts) {
    if (e.text.empty()) return;
    std::wstring text = Utf8ToWide(e.text);
    // Panel lines end in CR LF; a line label shows only its text.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    RECT r = ToRect(e.rect);
    if (e.style.filled) Fill(dc, r, e.style.background);
    SelectObject(dc, fonts.Get(e.style.fontCentiPt, e.style.bold));
    SetTextColor(dc, ToColorRef(e.style.color));
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_NOPREFIX | DT_LEFT | DT_TOP;
    format |= (e.rect.height > 2 * e.style.fontCentiPt * fonts.dpi() / (kPointsPerInch * kCentiPerPoint))
                  ? DT_WORDBREAK
                  : (DT_SINGLELINE | DT_END_ELLIPSIS);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// Chevrons pointing left (-1) or right (+1), one or two of them.
void Chevrons(gp::Graphics& g, const gp::Pen& pen, gp::RectF box, int direction, int count) {
    const gp::REAL h = box.Height * 0.28f, w = box.Width * 0.16f, gap = box.Width * 0.2f;
    const gp::REAL cy = box.Y + box.Height / 2, cx = box.X + box.Width / 2;
    for (int i = 0; i < count; ++i) {
        gp::REAL tip = cx + direction * w + (count == 2 ? (i - 0.5f) * gap : 0.f);
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
        const gp::REAL c = static_cast<gp::REAL>(std::cos(a)), s = static_cast<gp::REAL>(std::sin(a));
        g.DrawLine(&pen, cx + c * r, cy + s * r, cx + c * tooth, cy + s * tooth);
    }
}

void Refresh(gp::Graphics& g, const gp::Pen& pen, gp::RectF box) {
    const gp::REAL inset = box.Width * 0.22f;
    g.DrawArc(&pen, box.X + inset, box.Y + inset, box.Width - 2 * inset, box.Height - 2 * inset, 30.f, 300.f);
}

void PaintButton(HDC dc, const Element& e, FontCache& fonts) {
    const bool hover = e.look == ButtonLook::Hover;
    const Rgb ink = hover ? e.style.hoverColor : e.style.color;
    gp::Graphics g(dc);
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    gp::RectF box(static_cast<gp::REAL>(e.rect.left), static_cast<gp::REAL>(e.rect.top),
                  static_cast<gp::REAL>(e.rect.width), static_cast<gp::REAL>(e.rect.height));
    gp::Pen pen(ToGp(ink), kGlyphPen);
    pen.SetStartCap(gp::LineCapRound);
    pen.SetEndCap(gp::LineCapRound);
    pen.SetLineJoin(gp::LineJoinRound);
    if (hover && e.id != Ctl::I1 && e.id != Ctl::I11) {
        gp::SolidBrush plate(ToGp(kHoverPlate));
        g.FillEllipse(&plate, box.X - 2, box.Y - 2, box.Width + 4, box.Height + 4);
    }
    switch (e.id) {
        case Ctl::I1:
            g.DrawLine(&pen, box.X, box.Y, box.X + box.Width, box.Y + box.Height);
            g.DrawLine(&pen, box.X + box.Width, box.Y, box.X, box.Y + box.Height);
            break;
        case Ctl::I11: Chevrons(g, pen, box, -1, 2); break;
        case Ctl::c1: Gear(g, pen, box); break;
        case Ctl::Image7: Refresh(g, pen, box); break;
        case Ctl::Image2_0: Chevrons(g, pen, box, -1, 2); break;
        case Ctl::Image2_1: Chevrons(g, pen, box, -1, 1); break;
        case Ctl::Image2_2: Chevrons(g, pen, box, +1, 1); break;
        case Ctl::Image2_3: Chevrons(g, pen, box, +1, 2); break;
        case Ctl::Image2_4: {
            // The today button: a pill with its caption.
            gp::SolidBrush fill(ToGp(ink));
            gp::GraphicsPath pill;
            const gp::REAL d = box.Height;
            pill.AddArc(box.X, box.Y, d, d, 90.f, 180.f);
            pill.AddArc(box.X + box.Width - d, box.Y, d, d, 270.f, 180.f);
            pill.CloseFigure();
            g.FillPath(&fill, &pill);
            RECT r = ToRect(e.rect);
            SelectObject(dc, fonts.Get(kLabelFontCentiPt, true));
            SetTextColor(dc, ToColorRef(kPanelBackground));
            SetBkMode(dc, TRANSPARENT);
            std::wstring text = Utf8ToWide(e.text);
            g.Flush();
            DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            break;
        }
        default: break;
    }
}

void PaintGrid(HDC dc, const Element& e, const DrawList& ops, FontCache& fonts) {
    const int dx = e.rect.left, dy = e.rect.top;
    RECT clip = ToRect(e.rect);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    SetBkMode(dc, TRANSPARENT);
    for (const DrawOp& op : ops) {
        switch (op.kind) {
            case DrawKind::Clear: Fill(dc, clip, op.color); break;
            case DrawKind::FillRect: Fill(dc, {op.x1 + dx, op.y1 + dy, op.x2 + dx, op.y2 + dy}, op.color); break;
            case DrawKind::Line: {
                SetDCPenColor(dc, ToColorRef(op.color));
                SelectObject(dc, GetStockObject(DC_PEN));
                MoveToEx(dc, op.x1 + dx, op.y1 + dy, nullptr);
                LineTo(dc, op.x2 + dx, op.y2 + dy);
                break;
            }
            case DrawKind::Text: {
                SelectObject(dc, fonts.Get(op.fontCentiPt, op.bold));
                SetTextColor(dc, ToColorRef(op.color));
                std::wstring text = Utf8ToWide(op.text);
                TextOutW(dc, op.x1 + dx, op.y1 + dy, text.c_str(), static_cast<int>(text.size()));
                break;
            }
        }
    }
    RestoreDC(dc, saved);
}

}  // namespace

FontCache::~FontCache() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(int centiPt, bool bold) {
    auto [it, added] = fonts_.try_emplace({centiPt, bold}, nullptr);
    if (added) {
        const int height = -MulDiv(centiPt, dpi_, kPointsPerInch * kCentiPerPoint);
        it->second = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                 GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 Utf8ToWide(kFontFace).c_str());
    }
    return it->second;
}

COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

void PaintWindow(HDC dc, const FrmMain& model, FontCache& fonts) {
    for (const Element& e : model.elements()) {
        if (!e.visible || e.rect.width <= 0 || e.rect.height <= 0) continue;
        switch (e.kind) {
            case ElementKind::Skin: PaintSkin(dc, e); break;
            case ElementKind::FrameLine: Fill(dc, ToRect(e.rect), e.style.color); break;
            case ElementKind::Label: PaintText(dc, e, fonts); break;
            case ElementKind::Button: PaintButton(dc, e, fonts); break;
            case ElementKind::Grid: PaintGrid(dc, e, model.gridDrawList(), fonts); break;
            case ElementKind::TextBox: {
                RECT r = ToRect(e.rect);
                InflateRect(&r, kTextBoxBorder, kTextBoxBorder);
                Fill(dc, r, kFrameLine);
                break;
            }
            case ElementKind::Picture:
            case ElementKind::List:
            case ElementKind::Placeholder: break;
        }
    }
}

int MeasureHeaderHeight(HDC dc, FontCache& fonts) {
    HGDIOBJ old = SelectObject(dc, fonts.Get(kGridFontCentiPt, false));
    SIZE size{};
    GetTextExtentPoint32W(dc, L"星期", 2, &size);
    SelectObject(dc, old);
    return size.cy;
}

}  // namespace torvane::calendar::win
