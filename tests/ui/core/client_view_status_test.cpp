#include <gtest/gtest.h>

#include <string>

#include "controller/window_messages.h"
#include "ui/core/client_layout.h"
#include "view_test_support.h"

namespace qv::ui::test {
namespace {

using ClientViewStatusTest = ClientViewTest;

TEST_F(ClientViewStatusTest, StatusLineShowsTheTranslatedKeyAndTheCappedPercentage) {
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
    FakeClientHost host;
    auto fresh = MakeView(host);
    fresh->UpdateStatus(0, c.percent, c.key);
    DeliverMessages(host, *fresh);
    fresh->OnTimer(ClientView::kRefreshTimer);
    EXPECT_EQ(fresh->StatusLine(), c.line) << c.percent;
  }
}

TEST_F(ClientViewStatusTest, RepeatedPercentageKeepsTheBarWhereTheCapPutIt) {
  ShowStatus(0, 99, u"Downloading...");
  ASSERT_EQ(view_->ShownProgress(), 98);
  // The same 99 again, now with the completion key: not a new percentage, the bar stays.
  ShowStatus(0, 99, u"Installation completed.");
  EXPECT_EQ(view_->ShownProgress(), 98);
  EXPECT_EQ(view_->StatusLine(), u"Installation completed. 98%");
}

TEST_F(ClientViewStatusTest, StatusReportStartsTheRefreshAndTheLinkTimerOnce) {
  view_->UpdateStatus(0, 5, u"Downloading...");
  EXPECT_FALSE(view_->TimerRunning(ClientView::kRefreshTimer)) << "only through the message";
  const auto posted = host_.TakeMessages();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].number, controller::WM_START_REFRESH);
  view_->OnMessage(posted[0].number, posted[0].wparam, posted[0].lparam);
  EXPECT_TRUE(host_.Running(ClientView::kRefreshTimer));
  EXPECT_TRUE(host_.Running(ClientView::kOfferLinkTimer));
  EXPECT_FALSE(host_.Running(ClientView::kFinishTimer));
  EXPECT_EQ(host_.timer_intervals[ClientView::kRefreshTimer], 150);
  EXPECT_EQ(host_.timer_intervals[ClientView::kOfferLinkTimer], 5 * 60 * 1000);

  view_->UpdateStatus(0, 6, u"Downloading...");
  DeliverMessages();
  EXPECT_EQ(host_.timer_starts[ClientView::kRefreshTimer], 1);
  EXPECT_EQ(host_.timer_starts[ClientView::kOfferLinkTimer], 1)
      << "the link timer is not restarted";
}

TEST_F(ClientViewStatusTest, CompletionIsShownThenTheFinishTimerQuitsThroughTheDelegate) {
  ShowStatus(0, 100, u"Installation completed.");
  EXPECT_EQ(view_->StatusLine(), u"Installation completed. 100%");
  EXPECT_FALSE(host_.Running(ClientView::kRefreshTimer));
  ASSERT_TRUE(host_.Running(ClientView::kFinishTimer));
  EXPECT_EQ(host_.timer_intervals[ClientView::kFinishTimer], 800);
  EXPECT_EQ(delegate_.quits, 0) << "the completed status stays on screen first";

  FireTimer(ClientView::kFinishTimer);
  EXPECT_EQ(delegate_.quits, 1);
  EXPECT_FALSE(host_.Running(ClientView::kFinishTimer));
  EXPECT_EQ(delegate_.no_connection_reports, 0);
  // An expiry the window system had queued before the stop does nothing.
  view_->OnTimer(ClientView::kFinishTimer);
  EXPECT_EQ(delegate_.quits, 1);
}

TEST_F(ClientViewStatusTest, RanOutOfAttemptsReportsTheLostConnectionInsteadOfShowingFailure) {
  ShowStatus(0, 30, u"Downloading...");
  ShowStatus(100, 30, u"Failed...");
  EXPECT_EQ(delegate_.no_connection_reports, 1);
  EXPECT_EQ(view_->StatusLine(), u"Downloading... 30%") << "\"Failed...\" is never shown";
  EXPECT_FALSE(host_.Running(ClientView::kRefreshTimer));
  EXPECT_EQ(delegate_.quits, 0);
}

TEST_F(ClientViewStatusTest, OtherFailureOnlyShowsOnTheStatusLineAndTheRefreshGoesOn) {
  ShowStatus(6, 50, u"Failed...");
  EXPECT_EQ(view_->StatusLine(), u"Failed... 50%");
  EXPECT_TRUE(host_.Running(ClientView::kRefreshTimer));
  EXPECT_EQ(delegate_.no_connection_reports, 0);
}

TEST_F(ClientViewStatusTest, TickComputesTheFillFromTheShownPercentageAndRepaints) {
  const int repaints = host_.repaints;
  ShowStatus(0, 50, u"Downloading...");
  EXPECT_EQ(view_->FillRect(), Rect::FromEdges(22, 345, 288, 355));
  EXPECT_GT(host_.repaints, repaints);
}

TEST_F(ClientViewStatusTest, LinkIsOfferedWhenTheLinkTimerExpires) {
  view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s7"), 0);
  view_->UpdateStatus(0, 1, u"Downloading...");
  DeliverMessages();
  EXPECT_FALSE(view_->LinkShown());
  FireTimer(ClientView::kOfferLinkTimer);
  EXPECT_EQ(view_->LinkText(), u"Play on Browser");
  EXPECT_TRUE(view_->LinkShown());
  EXPECT_FALSE(host_.Running(ClientView::kOfferLinkTimer));
}

TEST_F(ClientViewStatusTest, NothingIsPostedBeforeTheWindowExists) {
  FakeClientHost host;
  auto early = MakeView(host, false);
  early->UpdateStatus(0, 10, u"Downloading...");
  early->ApplyGameInfo(MakeGame("Tides of Valoria III"), 1);
  early->ShowDefaultHeader();
  EXPECT_TRUE(host.TakeMessages().empty());
}

}  // namespace
}  // namespace qv::ui::test
