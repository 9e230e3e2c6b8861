// ClientView's rendering: pictures first (source-over), then the texts merged from a layer of
// their own (added with alpha 0), so the opaque pixels of the finished surface are exactly those
// of the pictures and become the window's input region.
#include "ui/core/client_layout.h"
#include "ui/core/client_view.h"
#include "ui/core/composition.h"
#include "ui/core/progress_bar.h"

namespace qv::ui {

void ClientView::Render(Surface& surface, TextRenderer& text) {
  DrawPictures(surface);
  Surface layer(surface.width(), surface.height());
  if (!layer.IsNull()) {
    DrawTexts(layer, text);
    MergeTextLayer(surface, layer);
  }
  UseInputRegion(OpaqueRegion(surface));
}

void ClientView::UseInputRegion(Region region) {
  if (region == input_region_) return;
  input_region_ = std::move(region);
  if (created_) host_.SetInputRegion(input_region_);
}

void ClientView::DrawPictures(Surface& surface) {
  const Surface& close = close_hover_ ? close_hover_picture_.Get() : close_picture_.Get();
  DrawPictureAt(surface, close, close_rect_.TopLeft());
  const Surface& minimise =
      minimise_hover_ ? minimise_hover_picture_.Get() : minimise_picture_.Get();
  DrawPictureAt(surface, minimise, minimise_rect_.TopLeft());
  DrawPicture(surface, header_picture_, header_rect_);
  DrawProgressBar(surface, bar_sprite_.Get(), bar_rect_, shown_percent_);
}

void ClientView::DrawTexts(Surface& layer, TextRenderer& text) {
  text.DrawLine(layer, TitleFont(), kTitleColor, Rect{title_rect_.left, title_rect_.top, 1, 1},
                title_, false);
  DrawDescription(layer, text, description_, description_rect_, TextFont(), kTextColor,
                  description_wrap_);
  text.DrawLine(layer, TextFont(), kTextColor, Rect{status_rect_.left, status_rect_.top, 1, 1},
                status_line_, false);
  if (LinkShown()) text.DrawLine(layer, LinkFont(), link_color_, link_rect_, link_text_, true);
}

// The texts keep a transparent pixel's alpha at 0 and never lower a picture pixel's, so the
// pictures alone make the same region as a whole rendering, without laying out any text.
void ClientView::RefreshInputRegion() {
  Surface surface(window_rect_.width, window_rect_.height);
  if (surface.IsNull()) return;
  DrawPictures(surface);
  UseInputRegion(OpaqueRegion(surface));
}

}  // namespace qv::ui
