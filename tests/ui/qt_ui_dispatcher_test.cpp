#include "ui/qt/qt_ui_dispatcher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>
#include <thread>
#include <vector>

#include "temp_root.h"

namespace qv::ui {
namespace {

class QtUiDispatcherTest : public qv::test::TempRootTest {};

TEST_F(QtUiDispatcherTest, RunsWorkOnTheUiThreadInPostingOrderNeverInsidePost) {
  QtUiDispatcher dispatcher;
  const std::thread::id ui_thread = std::this_thread::get_id();
  std::vector<int> order;  // UI thread only
  bool all_on_ui_thread = true;

  dispatcher.Post([&] { order.push_back(0); });
  EXPECT_TRUE(order.empty());  // posted from the UI thread itself: still not run at once
  std::thread worker([&] {
    for (int i = 1; i <= 200; ++i) {
      dispatcher.Post([&, i] {
        all_on_ui_thread = all_on_ui_thread && std::this_thread::get_id() == ui_thread;
        order.push_back(i);
      });
    }
    dispatcher.Post([] { QCoreApplication::exit(7); });
  });
  EXPECT_EQ(QCoreApplication::exec(), 7);
  worker.join();

  ASSERT_EQ(order.size(), 201u);
  for (int i = 0; i <= 200; ++i) EXPECT_EQ(order[i], i);
  EXPECT_TRUE(all_on_ui_thread);
}

TEST_F(QtUiDispatcherTest, WorkLeftWhenTheLoopEndedIsDestroyedUnrun) {
  auto owned = std::make_shared<int>(1);
  const std::weak_ptr<int> watch = owned;
  bool ran = false;
  {
    QtUiDispatcher dispatcher;
    dispatcher.Post([] { QCoreApplication::exit(0); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    std::thread late([&dispatcher, &ran, owned = std::move(owned)]() mutable {
      dispatcher.Post([&ran, owned = std::move(owned)] { ran = true; });
    });
    late.join();
    EXPECT_FALSE(watch.expired());  // queued, holding what it owns
  }
  EXPECT_TRUE(watch.expired());
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace qv::ui
