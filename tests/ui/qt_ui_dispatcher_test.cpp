#include "ui/qt/qt_ui_dispatcher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "temp_root.h"
#include "ui_dispatcher_contract.h"

namespace qv::ui {
namespace {

class QtUiDispatcherTest : public qv::test::TempRootTest {};

const test::UiLoop kQtLoop{[] { return QCoreApplication::exec(); },
                          [](int code) { QCoreApplication::exit(code); },
                          [] { QCoreApplication::processEvents(); }};

TEST_F(QtUiDispatcherTest, RunsWorkOnTheUiThreadInPostingOrderNeverInsidePost) {
  QtUiDispatcher dispatcher;
  test::ExpectPostingOrderOnTheUiThread(dispatcher, kQtLoop);
}

TEST_F(QtUiDispatcherTest, WorkLeftWhenTheLoopEndedIsDestroyedUnrun) {
  test::ExpectWorkLeftAtTheEndDestroyedUnrun<QtUiDispatcher>(kQtLoop);
}

}  // namespace
}  // namespace qv::ui
