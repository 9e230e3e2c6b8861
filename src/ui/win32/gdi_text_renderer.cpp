#include "ui/win32/gdi_text_renderer.h"

#include <algorithm>
#include <string>

#include "ui/core/composition.h"
#include "ui/win32/dib_section.h"

namespace qv::ui::win32 {
namespace {

constexpr UINT kMeasureFormat = DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kDrawFormat = DT_SINGLELINE | DT_NOPREFIX;

const wchar_t* WideData(std::u16string_view text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return reinterpret_cast<const wchar_t*>(text.data());
}

int WideLength(std::u16string_view text) {
  return static_cast<int>(std::min<size_t>(text.size(), INT32_MAX));
}

uint32_t Scaled(uint32_t channel, uint32_t coverage) { return (channel * coverage + 127) / 255; }

}  // namespace

GdiTextRenderer::GdiTextRenderer() : measuring_dc_(CreateCompatibleDC(nullptr)) {}

GdiTextRenderer::~GdiTextRenderer() {
  if (measuring_dc_ != nullptr) DeleteDC(measuring_dc_);
  for (const auto& [unused, font] : fonts_) DeleteObject(font);
}

HFONT GdiTextRenderer::FontFor(const FontSpec& wanted) {
  for (const auto& [known, font] : fonts_) {
    if (known == wanted) return font;
  }
  const std::wstring face(wanted.face.begin(), wanted.face.end());
  HFONT font = CreateFontW(-wanted.pixels, 0, 0, 0, FW_NORMAL, wanted.italic ? TRUE : FALSE,
                           wanted.underline ? TRUE : FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face.c_str());
  if (font != nullptr) fonts_.emplace_back(wanted, font);
  return font;
}

Size GdiTextRenderer::Measure(const FontSpec& font, std::u16string_view text) {
  HFONT handle = FontFor(font);
  if (measuring_dc_ == nullptr || handle == nullptr) return Size{};
  const HGDIOBJ previous = SelectObject(measuring_dc_, handle);
  RECT rect{0, 0, 0, 0};
  DrawTextW(measuring_dc_, WideData(text), WideLength(text), &rect, kMeasureFormat);
  SelectObject(measuring_dc_, previous);
  return Size{static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top)};
}

void GdiTextRenderer::DrawLine(Surface& layer, const FontSpec& font, Color color, const Rect& box,
                               std::u16string_view text, bool clip) {
  if (layer.IsNull() || text.empty()) return;
  // The part of the layer the text may touch: the box, or everything right of and below its
  // top-left corner when the text is not clipped.
  const Rect reach = clip ? box : Rect::FromEdges(box.left, box.top, layer.width(), layer.height());
  const Rect area = reach.Intersected(layer.Bounds());
  HFONT handle = FontFor(font);
  if (area.IsEmpty() || handle == nullptr) return;
  DibSection dib(area.GetSize());
  if (!dib.valid()) return;
  const HGDIOBJ previous = SelectObject(dib.dc(), handle);
  SetBkMode(dib.dc(), TRANSPARENT);
  SetTextColor(dib.dc(), RGB(255, 255, 255));
  const int x = box.left - area.left;
  const int y = box.top - area.top;
  RECT rect{x, y, x + box.width, y + box.height};
  DrawTextW(dib.dc(), WideData(text), WideLength(text), &rect,
            kDrawFormat | (clip ? 0u : static_cast<UINT>(DT_NOCLIP)));
  SelectObject(dib.dc(), previous);
  dib.Flush();
  for (int row = 0; row < area.height; ++row) {
    const uint32_t* from = dib.Row(row);
    uint32_t* to = layer.Row(area.top + row) + area.left;
    for (int column = 0; column < area.width; ++column) {
      const uint32_t drawn = from[column];
      const uint32_t coverage =
          std::max({PixelRed(drawn), PixelGreen(drawn), PixelBlue(drawn)});
      if (coverage == 0) continue;
      const uint32_t pixel = PremultipliedPixel(coverage, Scaled(color.red, coverage),
                                                Scaled(color.green, coverage),
                                                Scaled(color.blue, coverage));
      to[column] = SourceOver(pixel, to[column]);
    }
  }
}

}  // namespace qv::ui::win32
