// Text on a layered surface, as the windows' composition expects it: text is drawn into a layer
// of its own and then added to the surface's colour where the surface is transparent, leaving the
// alpha there at 0. On screen such pixels add their colour to what lies beneath (the main window's
// dark panel), and they never take the mouse. Over a picture, text is drawn source-over.
//
// UI thread (fonts are used).
#pragma once

#include <QImage>
#include <QPainter>
#include <functional>

namespace qv::ui {

// Runs `draw` on a transparent layer of `surface`'s size, then merges the layer into `surface`.
void DrawLayeredText(QImage& surface, const std::function<void(QPainter&)>& draw);

// The merge alone: `layer` (same size and format as `surface`) added as described above.
void MergeTextLayer(QImage& surface, const QImage& layer);

}  // namespace qv::ui
