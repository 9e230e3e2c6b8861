#include "ui/qt/window_message.h"

#include <QCoreApplication>
#include <atomic>

namespace qv::ui {
namespace {

// Every post releases through this counter; SyncWithPosters acquires it.
std::atomic<uint64_t> posts{0};

}  // namespace

QEvent::Type WindowMessageEvent::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

WindowMessageEvent::WindowMessageEvent(uint32_t number, uintptr_t wparam, intptr_t lparam)
    : QEvent(EventType()), number_(number), wparam_(wparam), lparam_(lparam) {}

bool PostWindowMessage(QObject* target, uint32_t number, uintptr_t wparam, intptr_t lparam) {
  if (target == nullptr) return false;
  auto* event = new WindowMessageEvent(number, wparam, lparam);
  posts.fetch_add(1, std::memory_order_release);
  QCoreApplication::postEvent(target, event);
  return true;
}

void SyncWithPosters() { posts.load(std::memory_order_acquire); }

}  // namespace qv::ui
