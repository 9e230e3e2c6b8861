#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimerEvent>
#include <atomic>
#include <string>
#include <thread>

#include "ui/client_layout.h"
#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

using StatusTest = ClientDlgTest;
using Timer = ClientDlg::Timer;

TEST_F(StatusTest, StatusLineShowsTheTranslatedKeyAndTheCappedPercentage) {
  struct Case {
    int percent;
    std::u16string key;
    std::u16string line;
  };
  const Case cases[] = {
      {0, u"Downloading...", u"Downloading... 0%"},
      {42, u"Downloading...", u"Downloading... 42%"},
      {99, u"Downloading...", u"Downloading... 98%"},
      {100, u"Extracting...", u"Extracting... 98%"},
      {17, u"Failed...", u"Failed... 17%"},
      {100, u"Installation completed.", u"Installation completed. 100%"},
  };
  for (const Case& c : cases) {
    auto fresh = std::make_unique<ClientDlg>(&delegate_, folders_, *loops_);
    ASSERT_TRUE(fresh->Create(&owner_, dlg_->WindowRect()));
    fresh->UpdateStatus(0, c.percent, c.key);
    DeliverMessages();
    QTimerEvent tick(fresh->TimerId(Timer::kRefresh));
    QCoreApplication::sendEvent(fresh.get(), &tick);
    EXPECT_EQ(fresh->StatusLine(), c.line) << c.percent;
  }
}

TEST_F(StatusTest, RepeatedPercentageKeepsTheBarWhereTheCapPutIt) {
  ShowStatus(0, 99, u"Downloading...");
  ASSERT_EQ(dlg_->ShownProgress(), 98);
  // The same 99 again, now with the completion key: not a new percentage, the bar stays.
  ShowStatus(0, 99, u"Installation completed.");
  EXPECT_EQ(dlg_->ShownProgress(), 98);
  EXPECT_EQ(dlg_->StatusLine(), u"Installation completed. 98%");
}

TEST_F(StatusTest, StatusReportStartsTheRefreshAndTheLinkTimerOnce) {
  dlg_->UpdateStatus(0, 5, u"Downloading...");
  DeliverMessages();
  const int refresh = dlg_->TimerId(Timer::kRefresh);
  const int offer_link = dlg_->TimerId(Timer::kOfferLink);
  EXPECT_NE(refresh, 0);
  EXPECT_NE(offer_link, 0);
  EXPECT_EQ(dlg_->TimerId(Timer::kFinish), 0);

  dlg_->UpdateStatus(0, 6, u"Downloading...");
  DeliverMessages();
  EXPECT_EQ(dlg_->TimerId(Timer::kRefresh), refresh);
  EXPECT_EQ(dlg_->TimerId(Timer::kOfferLink), offer_link) << "the link timer is not restarted";
}

TEST_F(StatusTest, CompletionIsShownThenTheFinishTimerQuitsThroughTheDelegate) {
  ShowStatus(0, 100, u"Installation completed.");
  EXPECT_EQ(dlg_->StatusLine(), u"Installation completed. 100%");
  EXPECT_EQ(dlg_->TimerId(Timer::kRefresh), 0);
  ASSERT_NE(dlg_->TimerId(Timer::kFinish), 0);
  EXPECT_EQ(delegate_.quits, 0) << "the completed status stays on screen first";

  FireTimer(Timer::kFinish);
  EXPECT_EQ(delegate_.quits, 1);
  EXPECT_EQ(dlg_->TimerId(Timer::kFinish), 0);
  EXPECT_EQ(delegate_.no_connection_reports, 0);
}

TEST_F(StatusTest, RanOutOfAttemptsReportsTheLostConnectionInsteadOfShowingFailure) {
  ShowStatus(0, 30, u"Downloading...");
  ShowStatus(100, 30, u"Failed...");
  EXPECT_EQ(delegate_.no_connection_reports, 1);
  EXPECT_EQ(dlg_->StatusLine(), u"Downloading... 30%") << "\"Failed...\" is never shown";
  EXPECT_EQ(dlg_->TimerId(Timer::kRefresh), 0);
  EXPECT_EQ(delegate_.quits, 0);
}

TEST_F(StatusTest, OtherFailureOnlyShowsOnTheStatusLineAndTheRefreshGoesOn) {
  ShowStatus(6, 50, u"Failed...");
  EXPECT_EQ(dlg_->StatusLine(), u"Failed... 50%");
  EXPECT_NE(dlg_->TimerId(Timer::kRefresh), 0);
  EXPECT_EQ(delegate_.no_connection_reports, 0);
}

TEST_F(StatusTest, TickComputesTheFillFromTheShownPercentage) {
  ShowStatus(0, 50, u"Downloading...");
  EXPECT_EQ(dlg_->FillRect(), EdgeRect(22, 345, 288, 355));
}

TEST_F(StatusTest, LinkIsOfferedWhenTheLinkTimerExpires) {
  dlg_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s7"), 0);
  dlg_->UpdateStatus(0, 1, u"Downloading...");
  DeliverMessages();
  EXPECT_FALSE(dlg_->LinkShown());
  FireTimer(Timer::kOfferLink);
  EXPECT_EQ(dlg_->LinkText(), u"Play on Browser");
  EXPECT_TRUE(dlg_->LinkShown());
  EXPECT_EQ(dlg_->TimerId(Timer::kOfferLink), 0);
}

TEST_F(StatusTest, StatusAndGameFromWorkerThreadsArriveWhole) {
  // Workers hand over while the UI thread ticks and paints; the sanitizer builds check the locks.
  std::atomic<bool> done{false};
  std::thread status_worker([&] {
    for (int percent = 1; percent <= 200; ++percent) {
      dlg_->UpdateStatus(0, percent % 90, percent % 2 ? u"Downloading..." : u"Extracting...");
    }
  });
  std::thread game_worker([&] {
    for (int i = 0; i < 200; ++i) {
      dlg_->ApplyGameInfo(MakeGame(i % 2 ? "Tides of Valoria III" : "Other", "1001", "s1"), 0);
    }
    done = true;
  });
  while (!done || dlg_->TimerId(Timer::kRefresh) == 0) {
    DeliverMessages();
    if (dlg_->TimerId(Timer::kRefresh) != 0) FireTimer(Timer::kRefresh);
    dlg_->RenderSurface();
  }
  status_worker.join();
  game_worker.join();
  DeliverMessages();
  FireTimer(Timer::kRefresh);
  EXPECT_EQ(dlg_->StatusLine(), u"Extracting... 20%");
  EXPECT_EQ(dlg_->Title(), u"Tides of Valoria III");
}

}  // namespace
}  // namespace qv::ui::test
