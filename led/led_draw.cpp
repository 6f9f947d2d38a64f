// How the lamp paints itself: through an off-screen bitmap, so a change of Value never flickers.

#include <new>
#include <vector>

#include "led/led_ctrl.h"

namespace glimmet {

namespace gdi = plat::gdi;
using gdi::Brush;
using gdi::DC;
using gdi::Pen;
using gdi::Point;
using gdi::Rect;

namespace {

Rect Shrunk(const Rect& r, int by) { return Rect{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

}  // namespace

CLedCtrl::BevelColors CLedCtrl::Colors(bool newLook) {
  if (newLook)
    return BevelColors{gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT), gdi::GetSysColor(gdi::COLOR_BTNSHADOW),
                       gdi::GetSysColor(gdi::COLOR_WINDOWFRAME)};
  return BevelColors{0x00FFFFFF, 0x00808080, 0x00000000};
}

void CLedCtrl::OnDraw(DC& dc, const Rect& bounds, const Rect&) {
  // Nothing is drawn (or allocated) for an empty, inverted or absurdly large area.
  if (!gdi::BitmapSizeOk(bounds.Width(), bounds.Height())) return;
  const int w = static_cast<int>(bounds.Width());
  const int h = static_cast<int>(bounds.Height());
  const Rect r{0, 0, w, h};

  std::unique_ptr<DC> mem = dc.CreateCompatibleDC();
  const int saved = mem->SaveDC();
  std::shared_ptr<gdi::Bitmap> bitmap = dc.CreateCompatibleBitmap(w, h);
  if (!bitmap) {
    mem->RestoreDC(saved);
    return;
  }
  mem->SelectBitmap(bitmap);

  // An unknown shape (from stored data) fills nothing: the new bitmap shows as it was made.
  const Brush back = Brush::Solid(TranslateColor(GetBackColor()));
  if (bevelShapeOuter_ == 0) mem->FillRect(r, back);
  else if (bevelShapeOuter_ == 1) mem->FillRect(r, Brush::Solid(TranslateColor(AmbientBackColor())));

  // Outer rings, one pixel each; on a rectangle that has collapsed the primitives draw what
  // they draw for an inverted box.
  Rect q = bevelOuter_ == 2 ? Shrunk(r, 1) : r;
  for (int i = 0; i < bevelWidthOuter_; ++i) {
    DrawBevel(*mem, bevelOuter_, bevelShapeOuter_, q, newLook_);
    q = Shrunk(q, 1);
  }
  if (bevelWidthOuter_ != 0 && bevelShapeOuter_ == 1) {
    mem->SelectPen(Pen::Null());
    mem->SelectBrush(back);
    mem->Ellipse(q.left, q.top, q.right + 1, q.bottom + 1);
  }

  int d = borderWidth_;
  if (bevelOuter_ != 0 && bevelWidthOuter_ != 0) d = bevelWidthOuter_ + borderWidth_ + (bevelOuter_ == 2 ? 1 : 0);
  Rect p = Shrunk(r, d);
  if (bevelInner_ != 0) {
    for (int i = 0; i < bevelWidthInner_; ++i) {
      DrawBevel(*mem, bevelInner_, bevelShapeInner_, p, newLook_);
      p = Shrunk(p, 1);
    }
  }

  // The face colour is taken as the RGB value it holds, never as a system colour.
  const std::uint32_t face = !GetEnabled() ? disabledColor_ : value_ ? onColor_ : offColor_;
  const Brush lamp = Brush::Solid(face);
  mem->SelectBrush(lamp);
  if (bevelShapeInner_ == 0) {
    mem->FillRect(p, lamp);
  } else if (bevelShapeInner_ == 1) {
    mem->SelectPen(Pen::Null());
    mem->Ellipse(p.left, p.top, p.right + 1, p.bottom + 1);
  }

  dc.BitBlt(bounds.left, bounds.top, w, h, *mem, 0, 0, gdi::SRCCOPY);
  mem->RestoreDC(saved);
}

void CLedCtrl::DrawBevel(DC& dc, std::int16_t style, std::int16_t shape, const Rect& r, bool newLook) {
  if (shape == 0) DrawRectBevel(dc, style, r, newLook);
  else if (shape == 1) DrawEllipseBevel(dc, style, r, newLook);
}

void CLedCtrl::DrawRectBevel(DC& dc, std::int16_t style, const Rect& r, bool newLook) {
  if (style < 1 || style > 4) return;
  const BevelColors c = Colors(newLook);
  const Pen light = Pen::Solid(c.light);
  const Pen shadow = Pen::Solid(c.shadow);
  const Pen dark = Pen::Solid(c.dark);
  const int l = r.left, t = r.top, rt = r.right, b = r.bottom;
  const Pen old = dc.CurrentPen();
  auto line = [&dc](const Pen& pen, std::initializer_list<Point> points) {
    dc.SelectPen(pen);
    dc.Polyline(std::span<const Point>(points.begin(), points.size()));
  };
  switch (style) {
    case 1:
      line(light, {{l, b - 2}, {l, t}, {rt, t}});
      line(shadow, {{l, b - 1}, {rt - 1, b - 1}, {rt - 1, t}});
      break;
    case 2:
      line(shadow, {{l, b - 2}, {l, t}, {rt - 2, t}});
      line(shadow, {{l + 2, b - 2}, {rt - 2, b - 2}, {rt - 2, t + 1}});
      line(light, {{l + 1, t + 1}, {rt - 1, t + 1}, {rt - 1, b - 1}, {l + 1, b - 1}, {l + 1, t + 1}});
      break;
    case 3:
      line(shadow, {{l, b - 2}, {l, t}, {rt, t}});
      line(light, {{l, b - 1}, {rt - 1, b - 1}, {rt - 1, t}});
      break;
    case 4:
      line(dark, {{l, t}, {rt - 1, t}, {rt - 1, b - 1}, {l, b - 1}, {l, t}});
      break;
  }
  dc.SelectPen(old);
}

void CLedCtrl::DrawEllipseBevel(DC& dc, std::int16_t style, const Rect& r, bool newLook) {
  if (style < 1 || style > 4) return;
  const BevelColors c = Colors(newLook);
  const int l = r.left, t = r.top, rt = r.right + 1, b = r.bottom + 1;
  const Pen oldPen = dc.CurrentPen();
  const Brush oldBrush = dc.CurrentBrush();
  if (style == 1 || style == 3) {
    const Brush fill = Brush::Solid(style == 1 ? c.shadow : c.light);
    const Brush chord = Brush::Solid(style == 1 ? c.light : c.shadow);
    dc.SelectPen(Pen::Null());
    dc.SelectBrush(fill);
    dc.Ellipse(l, t, rt, b);
    dc.SelectBrush(chord);
    dc.Chord(l, t, rt, b, rt, t, l, b);
  } else {
    dc.SelectPen(Pen::Solid(c.dark));
    dc.SelectBrush(Brush::Hollow());
    dc.Ellipse(l, t, rt, b);
  }
  dc.SelectPen(oldPen);
  dc.SelectBrush(oldBrush);
}

void CLedCtrl::OnDrawMetafile(DC& dc, const Rect& bounds) {
  int cx = 0, cy = 0;
  if (!GetControlSize(&cx, &cy)) return;
  std::unique_ptr<DC> display = DC::Display();
  std::unique_ptr<DC> mem = display->CreateCompatibleDC();
  std::shared_ptr<gdi::Bitmap> bitmap =
      gdi::CreateBitmap(cx, cy, mem->GetDeviceCaps(gdi::PLANES), mem->GetDeviceCaps(gdi::BITSPIXEL));
  if (!bitmap) return;
  std::shared_ptr<gdi::Bitmap> old = mem->SelectBitmap(bitmap);
  const Rect area{0, 0, cx, cy};
  OnDraw(*mem, area, area);
  DrawBitmapAsDib(dc, *mem, bounds);
  mem->SelectBitmap(old);
}

void CLedCtrl::DrawBitmapAsDib(DC& target, DC& memory, const Rect& bounds) {
  // The bitmap selected in the memory context (handed back by selecting a placeholder).
  std::shared_ptr<gdi::Bitmap> current = memory.SelectBitmap(gdi::CreateBitmap(1, 1, 1, 1));
  memory.SelectBitmap(current);

  gdi::BitmapDesc desc;
  if (!gdi::GetObject(current.get(), &desc)) return;
  if (!gdi::BitmapSizeOk(bounds.Width(), bounds.Height())) return;

  // Contexts here are 24 or 32 bits deep, which need no colour table; GetDIBits refuses other
  // depths and the picture is then left out.
  const std::uint32_t rowBytes = gdi::DibRowBytes(desc.width, desc.bitsPixel);
  const std::uint64_t imageBytes = std::uint64_t{rowBytes} * static_cast<std::uint64_t>(desc.height);
  if (rowBytes == 0 || imageBytes > std::uint64_t{4} * gdi::kMaxBitmapPixels) return;

  std::vector<std::uint8_t> pixels;
  try {
    pixels.resize(static_cast<std::size_t>(imageBytes));
  } catch (const std::bad_alloc&) {
    return;  // no picture in the metafile
  }

  gdi::BitmapInfoHeader header;
  header.biSize = 40;
  header.biWidth = desc.width;
  header.biHeight = desc.height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<std::uint16_t>(desc.bitsPixel);
  header.biCompression = 0;
  header.biSizeImage = 0;

  if (memory.GetDIBits(current.get(), 0, desc.height, pixels, &header, gdi::DIB_RGB_COLORS) != desc.height) return;
  target.StretchDIBits(bounds.left, bounds.top, static_cast<int>(bounds.Width()), static_cast<int>(bounds.Height()), 0,
                       0, desc.width, desc.height, pixels, header, gdi::DIB_RGB_COLORS, gdi::SRCCOPY);
}

}  // namespace glimmet
