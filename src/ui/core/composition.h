// How a layered window's surface is composed (both backends compose the same way; they differ
// only in how text is rasterised and how the finished surface reaches the screen):
//
// - Pictures are drawn source-over, premultiplied: they keep their transparency, and their
//   opaque pixels are opaque on screen. A picture drawn at another size is filtered bilinearly,
//   sampling pixel centres and clamping at the edges of the source rectangle.
// - Text is rasterised into a layer of its own (a transparent surface of the same size) and then
//   merged: where the surface is transparent, the text's colour is added and the alpha stays 0,
//   so on screen the text adds its colour to what lies beneath the window and never takes the
//   mouse; over a picture the text is drawn source-over.
// - The pixels whose alpha is above 0 (the pictures) take the mouse; the rest lets it through.
//
// Pure functions; any thread.
#pragma once

#include "ui/core/geometry.h"
#include "ui/core/surface.h"

namespace qv::ui {

// Draws the `from` part of `picture` stretched over `to` on `target`, clipped to `target`.
// Nothing when either is null or either rectangle is empty; `from` is clipped to the picture.
void DrawPicture(Surface& target, const Surface& picture, const Rect& to, const Rect& from);
// The whole picture stretched over `to`.
void DrawPicture(Surface& target, const Surface& picture, const Rect& to);
// The whole picture at its own size with its top-left at `at`.
void DrawPictureAt(Surface& target, const Surface& picture, Point at);

// Premultiplied source-over of one pixel.
uint32_t SourceOver(uint32_t source, uint32_t target);

// `layer` (same size as `surface`) merged as text, as described above; nothing when the sizes
// differ.
void MergeTextLayer(Surface& surface, const Surface& layer);

// The pixels of `surface` with alpha above 0: rows with the same runs form one band.
Region OpaqueRegion(const Surface& surface);

}  // namespace qv::ui
