// The Qt progress window's timers and messages: the view's numbered timers run as Qt timers of
// the window, its messages as posted window messages, also from worker threads.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimerEvent>
#include <atomic>
#include <string>
#include <thread>

#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

using ClientDlgStatusTest = ClientDlgTest;

TEST_F(ClientDlgStatusTest, StatusReportStartsTheRefreshAndTheLinkTimerOnce) {
  view_->UpdateStatus(0, 5, u"Downloading...");
  DeliverMessages();
  const int refresh = dlg_->TimerId(ClientView::kRefreshTimer);
  const int offer_link = dlg_->TimerId(ClientView::kOfferLinkTimer);
  EXPECT_NE(refresh, 0);
  EXPECT_NE(offer_link, 0);
  EXPECT_NE(refresh, offer_link);
  EXPECT_EQ(dlg_->TimerId(ClientView::kFinishTimer), 0);

  view_->UpdateStatus(0, 6, u"Downloading...");
  DeliverMessages();
  EXPECT_EQ(dlg_->TimerId(ClientView::kRefreshTimer), refresh);
  EXPECT_EQ(dlg_->TimerId(ClientView::kOfferLinkTimer), offer_link)
      << "the link timer is not restarted";
}

TEST_F(ClientDlgStatusTest, CompletionIsShownThenTheFinishTimerQuitsThroughTheDelegate) {
  ShowStatus(0, 100, u"Installation completed.");
  EXPECT_EQ(view_->StatusLine(), u"Installation completed. 100%");
  EXPECT_EQ(dlg_->TimerId(ClientView::kRefreshTimer), 0);
  const int finish = dlg_->TimerId(ClientView::kFinishTimer);
  ASSERT_NE(finish, 0);
  EXPECT_EQ(delegate_.quits, 0) << "the completed status stays on screen first";

  FireTimer(ClientView::kFinishTimer);
  EXPECT_EQ(delegate_.quits, 1);
  EXPECT_EQ(dlg_->TimerId(ClientView::kFinishTimer), 0);
  // An expiry already queued for the stopped timer is not the view's any more.
  QTimerEvent late(finish);
  QCoreApplication::sendEvent(dlg_.get(), &late);
  EXPECT_EQ(delegate_.quits, 1);
}

TEST_F(ClientDlgStatusTest, StatusAndGameFromWorkerThreadsArriveWhole) {
  // Workers hand over while the UI thread ticks and paints; the sanitizer builds check the locks.
  std::atomic<bool> done{false};
  std::thread status_worker([&] {
    for (int percent = 1; percent <= 200; ++percent) {
      view_->UpdateStatus(0, percent % 90, percent % 2 ? u"Downloading..." : u"Extracting...");
    }
  });
  std::thread game_worker([&] {
    for (int i = 0; i < 200; ++i) {
      view_->ApplyGameInfo(MakeGame(i % 2 ? "Tides of Valoria III" : "Other", "1001", "s1"), 0);
    }
    done = true;
  });
  while (!done || dlg_->TimerId(ClientView::kRefreshTimer) == 0) {
    DeliverMessages();
    if (dlg_->TimerId(ClientView::kRefreshTimer) != 0) FireTimer(ClientView::kRefreshTimer);
    dlg_->RenderSurface();
  }
  status_worker.join();
  game_worker.join();
  DeliverMessages();
  FireTimer(ClientView::kRefreshTimer);
  EXPECT_EQ(view_->StatusLine(), u"Extracting... 20%");
  EXPECT_EQ(view_->Title(), u"Tides of Valoria III");
}

}  // namespace
}  // namespace qv::ui::test
