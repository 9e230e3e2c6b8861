// ClientDlg's rendering: pictures first (source-over), then the texts (added with alpha 0), so
// the opaque pixels of the finished surface are exactly those of the pictures and become the
// window's input region.
#include <QPainter>

#include "ui/client_dlg.h"
#include "ui/description_wrap.h"
#include "ui/input_region.h"
#include "ui/layered_text.h"
#include "ui/progress_bar.h"
#include "ui/qt_text.h"

namespace qv::ui {
namespace {

// A text that starts at `origin` and is not clipped.
constexpr int kUnclipped = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;

void DrawLine(QPainter& painter, const QPoint& origin, std::u16string_view text) {
  painter.drawText(QRect(origin, QSize(1, 1)), kUnclipped, ToQString(text));
}

}  // namespace

void ClientDlg::Draw(QImage& surface) {
  {
    QPainter painter(&surface);
    DrawPictures(painter);
  }
  DrawLayeredText(surface, [this](QPainter& painter) { DrawTexts(painter); });
  UseInputRegion(OpaqueRegion(surface));
}

void ClientDlg::UseInputRegion(const QRegion& region) {
  if (region == input_region_) return;
  input_region_ = region;
  if (created_) SetInputShape(*this, input_region_);
}

void ClientDlg::DrawPictures(QPainter& painter) {
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QImage& close = close_hover_ ? close_hover_image_.Get() : close_image_.Get();
  if (!close.isNull()) painter.drawImage(close_rect_.topLeft(), close);
  const QImage& minimise = minimise_hover_ ? minimise_hover_image_.Get() : minimise_image_.Get();
  if (!minimise.isNull()) painter.drawImage(minimise_rect_.topLeft(), minimise);
  if (!header_image_.isNull()) painter.drawImage(header_rect_, header_image_);
  DrawProgressBar(painter, bar_sprite_.Get(), bar_rect_, shown_percent_);
}

void ClientDlg::DrawTexts(QPainter& painter) {
  painter.setFont(title_font_);
  painter.setPen(title_color_);
  DrawLine(painter, title_rect_.topLeft(), title_);

  DrawDescription(painter, description_, description_rect_, description_font_, text_color_,
                  description_wrap_);

  painter.setFont(status_font_);
  painter.setPen(text_color_);
  DrawLine(painter, status_rect_.topLeft(), status_line_);

  if (LinkShown()) {
    painter.setFont(link_font_);
    painter.setPen(link_color_);
    painter.drawText(link_rect_, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     ToQString(link_text_));
  }
}

// The texts keep a transparent pixel's alpha at 0 and never lower a picture pixel's, so the
// pictures alone make the same region as a whole rendering, without laying out any text.
void ClientDlg::RefreshInputRegion() {
  QImage surface(size(), QImage::Format_ARGB32_Premultiplied);
  if (surface.isNull()) return;
  surface.fill(Qt::transparent);
  {
    QPainter painter(&surface);
    DrawPictures(painter);
  }
  UseInputRegion(OpaqueRegion(surface));
}

bool ClientDlg::TakesMouseAt(const QPoint& client_point) const {
  return input_region_.contains(client_point);
}

}  // namespace qv::ui
