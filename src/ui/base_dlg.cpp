#include "ui/base_dlg.h"

#include <QPainter>
#include <utility>

#include "ui/image_loader.h"
#include "ui/core/picture_ids.h"

namespace qv::ui {

BaseDlg::BaseDlg(QWidget* owner, Qt::WindowFlags flags) : LayeredWindow(owner, flags) {
  resize(surface_width_, surface_height_);
}

BaseDlg::~BaseDlg() = default;

void BaseDlg::UseFramePicture(QImage picture) {
  if (background_.isNull()) background_ = std::move(picture);
}

bool BaseDlg::Init() {
  if (background_.isNull()) background_ = LoadImageFromResource(kFramePicture);
  if (!background_.isNull()) {
    surface_width_ = background_.width();
    surface_height_ = background_.height();
  }
  resize(surface_width_, surface_height_);
  return !background_.isNull() && surface_width_ > 0 && surface_height_ > 0;
}

void BaseDlg::Draw(QImage& surface) {
  if (background_.isNull()) return;
  QPainter painter(&surface);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(surface.rect(), background_);
}

}  // namespace qv::ui
