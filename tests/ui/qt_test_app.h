// A Qt application for a test: offscreen (no display is used), made after the test's temporary
// root and gone before it.
#pragma once

#include <QApplication>
#include <memory>

#include "temp_root.h"

namespace qv::ui::test {

// Points Qt at the offscreen platform; call before any QApplication is made.
inline void UseOffscreenPlatform() { qputenv("QT_QPA_PLATFORM", "offscreen"); }

class QtAppTest : public qv::test::TempRootTest {
 protected:
  QtAppTest() {
    UseOffscreenPlatform();
    app_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setQuitOnLastWindowClosed(false);
  }

  static inline int argc_ = 1;
  static inline char arg0_[] = "qv_ui_tests";
  static inline char* argv_[] = {arg0_, nullptr};
  std::unique_ptr<QApplication> app_;
};

}  // namespace qv::ui::test
