#include "ui/client_layout.h"

namespace qv::ui {

QRect EdgeRect(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

QRect TitleRect() { return EdgeRect(16, 3, 320, 50); }
QRect HeaderRect(int client_width) { return EdgeRect(0, 30, client_width, 235); }
QRect DescriptionRect() { return EdgeRect(16, 265, 536, 345); }
QRect ProgressBarRect() { return EdgeRect(16, 345, 543, 355); }
QRect StatusRect() { return EdgeRect(16, 360, 360, 385); }
QRect LinkRect() { return EdgeRect(200, 360, 320, 385); }
QRect CloseButtonRect(int client_width) {
  return EdgeRect(client_width - 23, 8, client_width - 7, 24);
}
QRect MinimiseButtonRect(int client_width) {
  return EdgeRect(client_width - 44, 8, client_width - 28, 24);
}

}  // namespace qv::ui
