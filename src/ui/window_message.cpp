#include "ui/window_message.h"

#include <QCoreApplication>

namespace qv::ui {

QEvent::Type WindowMessageEvent::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

WindowMessageEvent::WindowMessageEvent(uint32_t number, uintptr_t wparam, intptr_t lparam)
    : QEvent(EventType()), number_(number), wparam_(wparam), lparam_(lparam) {}

bool PostWindowMessage(QObject* target, uint32_t number, uintptr_t wparam, intptr_t lparam) {
  if (target == nullptr) return false;
  QCoreApplication::postEvent(target, new WindowMessageEvent(number, wparam, lparam));
  return true;
}

}  // namespace qv::ui
