#include <gtest/gtest.h>

#include "ui/client_layout.h"
#include "ui/qt_text.h"
#include "ui_test_support.h"
#include "util/default_descriptions.h"
#include "util/text_conversion.h"

namespace qv::ui::test {
namespace {

using LayoutTest = ClientDlgTest;

TEST_F(LayoutTest, WindowIsAFramelessToolWindowOwnedByTheMainWindowInsideItsFrame) {
  EXPECT_EQ(owner_.size(), QSize(584, 410));
  EXPECT_TRUE(dlg_->HasWindow());
  EXPECT_EQ(dlg_->Window(), dlg_.get());
  EXPECT_EQ(dlg_->parentWidget(), &owner_);
  EXPECT_TRUE(dlg_->isWindow());
  EXPECT_TRUE(dlg_->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(dlg_->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(dlg_->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_TRUE(dlg_->isVisible());
  EXPECT_TRUE(owner_.isVisible());
  EXPECT_EQ(dlg_->geometry(), QRect(113, 93, 558, 384));
  EXPECT_EQ(dlg_->WindowRect(), dlg_->geometry());
}

TEST_F(LayoutTest, ElementsSitWhereTheLayoutPutsThem) {
  // Right and bottom edges excluded, as in the layout table.
  struct Case {
    const char* element;
    QRect actual;
    QRect expected;
  };
  const Case cases[] = {
      {"title", TitleRect(), EdgeRect(16, 3, 320, 50)},
      {"close", CloseButtonRect(558), EdgeRect(535, 8, 551, 24)},
      {"minimise", MinimiseButtonRect(558), EdgeRect(514, 8, 530, 24)},
      {"header", HeaderRect(558), EdgeRect(0, 30, 558, 235)},
      {"description", DescriptionRect(), EdgeRect(16, 265, 536, 345)},
      {"bar", ProgressBarRect(), EdgeRect(16, 345, 543, 355)},
      {"status", StatusRect(), EdgeRect(16, 360, 360, 385)},
      {"link", LinkRect(), EdgeRect(200, 360, 320, 385)},
      {"link of the window", dlg_->LinkRect(), EdgeRect(200, 360, 320, 385)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.element;
  EXPECT_EQ(HeaderRect(558).size(), QSize(558, 205));
  EXPECT_EQ(CloseButtonRect(558).size(), QSize(16, 16));
}

TEST_F(LayoutTest, CreatedWindowShowsTheDefaultTextsAndNoHeaderYet) {
  EXPECT_EQ(dlg_->Title(), u"QVorvane");
  EXPECT_EQ(dlg_->Description(), util::Utf8ToWide(util::kPlatformDescription));
  EXPECT_EQ(dlg_->StatusLine(), u"Installing...");
  EXPECT_TRUE(dlg_->LinkText().empty());
  EXPECT_FALSE(dlg_->HasHeaderImage());
  EXPECT_EQ(dlg_->LinkColor(), kLinkColor);
  for (auto timer : {ClientDlg::Timer::kRefresh, ClientDlg::Timer::kFinish,
                     ClientDlg::Timer::kOfferLink}) {
    EXPECT_EQ(dlg_->TimerId(timer), 0);
  }
}

TEST_F(LayoutTest, PlacingMovesAndShowsTheWindowAtTheNewRectangle) {
  dlg_->hide();
  const QRect moved(300, 200, 558, 384);
  dlg_->PlaceAt(moved);
  EXPECT_EQ(dlg_->WindowRect(), moved);
  EXPECT_EQ(dlg_->geometry(), moved);
  EXPECT_TRUE(dlg_->isVisible());
}

TEST_F(LayoutTest, EveryLayoutResetsTheLinkColourAndStatusLine) {
  dlg_->SetLinkColor(kLinkPressedColor);
  ShowStatus(0, 40, u"Downloading...");
  ASSERT_EQ(dlg_->StatusLine(), u"Downloading... 40%");
  dlg_->ApplyGameInfo(MakeGame(""), 0);
  DeliverMessages();
  EXPECT_EQ(dlg_->LinkColor(), kLinkColor);
  EXPECT_EQ(dlg_->StatusLine(), u"Installing...");
  FireTimer(ClientDlg::Timer::kRefresh);
  EXPECT_EQ(dlg_->StatusLine(), u"Downloading... 40%");
}

}  // namespace
}  // namespace qv::ui::test
