// The main window's handling of its messages and of the user's input: tray clicks, the two kinds
// of close, minimising, the no-connection box, the drag strip, the link and a second start.

#include "ui/qt/qvorvane_downloader_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "controller/window_messages.h"
#include "main_window_harness.h"
#include "temp_root.h"
#include "ui/core/client_layout.h"
#include "ui/core/featured_game.h"
#include "ui/core/picture_loading.h"
#include "ui/qt/surface_image.h"
#include "ui/core/picture_ids.h"
#include "ui/qt/window_message.h"
#include "workflow/service/statistics_report.h"

namespace qv::ui {
namespace {

using controller::WM_CLOSE_TO_TRAY;
using controller::WM_MINIMIZE_BUTTON;
using controller::WM_TRAY_ICON;

QRect ToQRect(const Rect& rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }

class MainWindowTest : public qv::test::TempRootTest {
 protected:
  void SetUp() override { ASSERT_TRUE(harness_.window().Create()); }
  QvorvaneDownloaderDlg& window() { return harness_.window(); }
  bool BothShown() {
    return window().isVisible() && !window().isMinimized() && window().client()->isVisible();
  }
  bool BothHidden() { return !window().isVisible() && !window().client()->isVisible(); }

  test::MainWindowHarness harness_;
};

TEST_F(MainWindowTest, CreateCentresTheFrameAndPlacesTheProgressWindowInside) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect first =
      ToQRect(MainView::CentredRect(Rect{area.x(), area.y(), area.width(), area.height()}));
  EXPECT_EQ(first.size(), QSize(580, 386));
  EXPECT_EQ(window().geometry(), QRect(first.topLeft(), QSize(584, 410)));
  EXPECT_TRUE(BothShown());
  EXPECT_EQ(window().client()->geometry(),
            window().geometry().adjusted(kClientInset, kClientInset, -kClientInset, -kClientInset));
  ASSERT_NE(window().tray_icon(), nullptr);
  EXPECT_FALSE(window().tray_icon()->isVisible());  // added only at the first close
  EXPECT_EQ(window().tray_icon()->toolTip(), "QVorvane");
  EXPECT_EQ(window().windowTitle(), "QVorvaneDownloader");
  EXPECT_TRUE(harness_.Reports().empty());
}

// The frame picture decoded beside the application's making is the one the frame shows; without
// one (or a null one) Create decodes the resource itself.
class MainWindowFramePictureTest : public qv::test::TempRootTest {};

TEST_F(MainWindowFramePictureTest, CreateUsesThePictureHandedOverElseDecodesItsOwn) {
  Surface handed(300, 200);
  handed.Fill(0xFFFF0000);
  const struct {
    Surface picture;
    QSize size;
  } kCases[] = {{handed, QSize(300, 200)}, {Surface(), QSize(584, 410)}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.picture.IsNull() ? "null" : "handed over");
    int takes = 0;
    MainWindowSetup setup;
    setup.frame_picture = [&] {
      ++takes;
      return c.picture;
    };
    test::MainWindowHarness harness(std::move(setup));
    ASSERT_TRUE(harness.window().Create());
    EXPECT_EQ(takes, 1);
    EXPECT_EQ(harness.window().size(), c.size);
    EXPECT_EQ(harness.window().RenderSurface().PixelAt(150, 100),
              c.picture.IsNull() ? LoadPictureFromResource(kFramePicture).PixelAt(150, 100)
                                 : 0xFFFF0000u);
  }
}

// A main window whose start of the installation is counted, with the paints of both windows.
class MainWindowStartTest : public qv::test::TempRootTest {
 protected:
  class PaintCounter : public QObject {
   public:
    int paints = 0;

   protected:
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++paints;
      return false;
    }
  };

  std::unique_ptr<test::MainWindowHarness> MakeWindow(int first_frame_wait_ms) {
    MainWindowSetup setup;
    setup.first_frame_wait_ms = first_frame_wait_ms;
    setup.start_installation = [this](MainView&) {
      ++starts_;
      both_painted_at_start_ = frame_paints_.paints > 0 && progress_paints_.paints > 0;
    };
    auto harness = std::make_unique<test::MainWindowHarness>(std::move(setup));
    harness->window().installEventFilter(&frame_paints_);
    EXPECT_TRUE(harness->window().Create());
    harness->window().client()->installEventFilter(&progress_paints_);
    return harness;
  }
  // Waits (bounded) until both windows have painted more often than `frames` and `progress`.
  bool WaitForPaints(int frames, int progress) {
    return QTest::qWaitFor(
        [&] { return frame_paints_.paints > frames && progress_paints_.paints > progress; },
        30'000);
  }

  PaintCounter frame_paints_, progress_paints_;
  int starts_ = 0;
  bool both_painted_at_start_ = false;
};

// The installation's threads would compete with the first frame: the installation starts once
// both windows have painted (the frame went to the window system in the same event), and once.
TEST_F(MainWindowStartTest, TheInstallationStartsOnceAfterBothWindowsPainted) {
  auto harness = MakeWindow(3'600'000);  // only the frames start it here
  QvorvaneDownloaderDlg& window = harness->window();
  EXPECT_EQ(starts_, 0);  // not while the windows are being made

  ASSERT_TRUE(QTest::qWaitFor([&] { return starts_ > 0; }, 30'000));
  EXPECT_TRUE(both_painted_at_start_);
  EXPECT_TRUE(window.view().installation_started());
  EXPECT_EQ(window.FirstFrameTimerId(), 0);
  const int frames = frame_paints_.paints, progress = progress_paints_.paints;
  window.update();
  window.client()->update();
  ASSERT_TRUE(WaitForPaints(frames, progress));
  QCoreApplication::processEvents();  // a start queued behind those frames would run here
  EXPECT_EQ(starts_, 1);
}

// A window the system does not expose must not hold the installation up.
TEST_F(MainWindowStartTest, WithoutAFrameTheWaitStartsTheInstallation) {
  auto harness = MakeWindow(kFirstFrameWaitMs);
  QvorvaneDownloaderDlg& window = harness->window();
  ASSERT_NE(window.FirstFrameTimerId(), 0);

  QTimerEvent wait_over(window.FirstFrameTimerId());
  QCoreApplication::sendEvent(&window, &wait_over);  // before any paint
  EXPECT_EQ(starts_, 1);
  EXPECT_FALSE(both_painted_at_start_);
  EXPECT_EQ(window.FirstFrameTimerId(), 0);
  ASSERT_TRUE(WaitForPaints(0, 0));
  QCoreApplication::processEvents();
  EXPECT_EQ(starts_, 1);  // the frames that follow start nothing
}

TEST_F(MainWindowTest, TrayClicksShowOnlyOnTheLeftButton) {
  struct Case {
    intptr_t mouse_message;
    intptr_t result;
    bool shows;
  };
  const Case cases[] = {
      {kTrayLeftButtonDown, 0, true},   {kTrayRightButtonDown, 0, false},
      {kTrayMouseMove, -1, false},      {kTrayLeftDoubleClick, -1, false},
      {kTrayMiddleButtonDown, -1, false},
  };
  std::vector<std::string> expected_reports;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mouse_message);
    window().view().ShowWindows(false);
    EXPECT_EQ(window().view().HandleMessage(WM_TRAY_ICON, 0, c.mouse_message), c.result);
    EXPECT_EQ(BothShown(), c.shows);
    if (c.shows) expected_reports.push_back("10/tray_click");
    EXPECT_EQ(harness_.Reports(), expected_reports);
  }
}

TEST_F(MainWindowTest, ClosingTwiceAddsTheTrayIconOnceAndReportsEachClose) {
  PostWindowMessage(&window(), WM_CLOSE_TO_TRAY);
  QCoreApplication::processEvents();
  EXPECT_TRUE(BothHidden());
  EXPECT_TRUE(window().tray_icon()->isVisible());
  window().view().ShowWindows(true);
  EXPECT_TRUE(window().tray_icon()->isVisible());  // restoring keeps the icon

  window().view().HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
  EXPECT_TRUE(BothHidden());
  EXPECT_EQ(window().view().tray_icon_adds(), 1);
  EXPECT_EQ(harness_.Reports(), (std::vector<std::string>{"12/btn_close", "12/btn_close"}));
}

TEST_F(MainWindowTest, SystemCloseHidesToTheTrayWithItsOwnEvent) {
  EXPECT_FALSE(window().close());  // the system's close request (task bar, Alt+F4) is refused
  EXPECT_TRUE(BothHidden());
  EXPECT_TRUE(window().tray_icon()->isVisible());
  window().view().HandleMessage(WM_TRAY_ICON, 0, kTrayLeftButtonDown);
  EXPECT_TRUE(BothShown());  // the window was not destroyed
  PostWindowMessage(&window(), WM_CLOSE_TO_TRAY);
  QCoreApplication::processEvents();
  EXPECT_EQ(window().view().tray_icon_adds(), 1);
  EXPECT_EQ(harness_.Reports(),
            (std::vector<std::string>{"13/tb_btn_close", "10/tray_click", "12/btn_close"}));
}

TEST_F(MainWindowTest, WithoutANotificationAreaClosingMinimisesBoth) {
  harness_.tray_available = false;
  PostWindowMessage(&window(), WM_CLOSE_TO_TRAY);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window().isMinimized());
  EXPECT_FALSE(window().client()->isVisible());
  EXPECT_FALSE(window().tray_icon()->isVisible());  // no icon nobody could see
  window().view().OnShowRequest();
  EXPECT_TRUE(BothShown());
  EXPECT_FALSE(window().close());
  EXPECT_TRUE(window().isMinimized());
  EXPECT_EQ(harness_.Reports(), (std::vector<std::string>{"12/btn_close", "13/tb_btn_close"}));
}

// Once the installation has failed there is nothing to wait for: either kind of close ends the
// program with 0, after its statistics event went out.
TEST_F(MainWindowTest, ClosingAfterAFailedInstallationEndsTheProgram) {
  const std::pair<bool, const char*> cases[] = {{true, "12/btn_close"}, {false, "13/tb_btn_close"}};
  for (const auto& [close_button, event] : cases) {
    SCOPED_TRACE(event);
    test::MainWindowHarness harness;
    ASSERT_TRUE(harness.window().Create());
    // A status that is not the end changes nothing: the close still hides to the tray.
    std::thread progress([&] { harness.window().view().UpdateStatus(u"Downloading...", 0, 7); });
    progress.join();
    harness.window().view().HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
    EXPECT_TRUE(harness.window().tray_icon()->isVisible());
    harness.window().view().ShowWindows(true);

    std::thread failure([&] { harness.window().view().UpdateStatus(u"Failed...", 6, 40); });
    failure.join();
    QTimer::singleShot(0, [&] {
      if (close_button) {
        PostWindowMessage(&harness.window(), WM_CLOSE_TO_TRAY);
      } else {
        harness.window().close();
      }
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(harness.window().isVisible());
    EXPECT_EQ(harness.Reports(), (std::vector<std::string>{"12/btn_close", event}));
  }
}

TEST_F(MainWindowTest, MinimiseHidesBothUntilShownAgain) {
  PostWindowMessage(&window(), WM_MINIMIZE_BUTTON);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window().isMinimized());
  EXPECT_FALSE(window().client()->isVisible());
  EXPECT_FALSE(window().tray_icon()->isVisible());

  window().view().OnShowRequest();  // a second start of the program
  EXPECT_TRUE(BothShown());
  EXPECT_EQ(window().client()->geometry(),
            window().geometry().adjusted(kClientInset, kClientInset, -kClientInset, -kClientInset));
  EXPECT_EQ(harness_.Reports(), (std::vector<std::string>{"11/btn_mini"}));
}

TEST_F(MainWindowTest, NoConnectionShowsOneWarningAndQuitsWithZero) {
  std::vector<QString> seen;  // caption, text
  int boxes_seen = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box == nullptr || !box->isVisible()) continue;
      ++boxes_seen;
      EXPECT_TRUE(BothHidden());
      EXPECT_EQ(box->icon(), QMessageBox::Warning);
      EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
      seen = {box->windowTitle(), box->text()};
      window().view().ReportNoConnection();  // the installing task's own report comes meanwhile
      QCoreApplication::processEvents();
      box->button(QMessageBox::Ok)->click();
    }
  });
  poll.start(5);
  std::thread worker([&] { window().view().ReportNoConnection(); });  // the network check's thread
  worker.join();
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_EQ(boxes_seen, 1);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "Setup - QVorvane ");
  EXPECT_EQ(seen[1], "Can't connect to the Internet.\nPlease check your connection and try again.");
}

TEST_F(MainWindowTest, MovingTheWindowCarriesTheProgressWindowAlong) {
  window().move(window().pos() + QPoint(40, -25));
  QCoreApplication::processEvents();
  EXPECT_EQ(window().client()->geometry(),
            window().geometry().adjusted(kClientInset, kClientInset, -kClientInset, -kClientInset));
  EXPECT_EQ(ToQRect(window().client()->view().WindowRect()), window().client()->geometry());
  EXPECT_TRUE(BothShown());
}

TEST_F(MainWindowTest, DoubleClickOnTheStripChangesNothing) {
  const QRect before = window().geometry();
  QTest::mouseDClick(&window(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 20));
  QCoreApplication::processEvents();
  EXPECT_EQ(window().windowState(), Qt::WindowNoState);
  EXPECT_EQ(window().geometry(), before);
  EXPECT_TRUE(BothShown());
}

TEST_F(MainWindowTest, LinkPressAndReleaseFallingThroughOpenTheGamePage) {
  workflow::GameInfo game;
  std::strcpy(game.game_name, "Tides of Valoria III");
  std::strcpy(game.server_id, "s7");
  workflow::InstallRecord record;
  record.game = game;
  std::thread controller([&] {
    window().view().StoreInstallRecord(record);
    window().view().ApplyGameInfo(game, 0);
    window().view().UpdateStatus(u"Downloading...", 0, 10);
  });
  controller.join();
  QCoreApplication::sendPostedEvents();
  ClientDlg& client_window = *window().client();
  ClientView& client = client_window.view();
  const QRect link_rect = ToQRect(client.LinkRect());
  const QPoint link = link_rect.center() + QPoint(kClientInset, kClientInset);
  const QPoint beside = link_rect.topRight() + QPoint(kClientInset + 30, kClientInset);

  // Before the link is offered its place is empty: presses there do nothing.
  ASSERT_FALSE(client.LinkShown());
  QTest::mousePress(&window(), Qt::LeftButton, {}, link);
  QTest::mouseRelease(&window(), Qt::LeftButton, {}, link);
  EXPECT_EQ(client.LinkColor(), kLinkColor);
  EXPECT_TRUE(harness_.opened().empty());

  QTimerEvent offer(client_window.TimerId(ClientView::kOfferLinkTimer));
  ASSERT_NE(offer.timerId(), 0);
  QCoreApplication::sendEvent(&client_window, &offer);
  ASSERT_TRUE(client.LinkShown());

  // A press that leaves the link keeps the pressed colour and opens nothing.
  QTest::mousePress(&window(), Qt::LeftButton, {}, link);
  EXPECT_EQ(client.LinkColor(), kLinkPressedColor);
  QTest::mouseRelease(&window(), Qt::LeftButton, {}, beside);
  EXPECT_EQ(client.LinkColor(), kLinkPressedColor);
  EXPECT_TRUE(harness_.opened().empty());

  QTest::mousePress(&window(), Qt::LeftButton, {}, link);
  QTest::mouseRelease(&window(), Qt::LeftButton, {}, link);
  EXPECT_EQ(client.LinkColor(), kLinkColor);
  EXPECT_EQ(harness_.opened(), std::vector<std::string>{GamePageUrl(game)});
  EXPECT_NE(GamePageUrl(game).find("/game/?sid=s7"), std::string::npos);

  // Presses on the drag strip never reach the link.
  QTest::mousePress(&window(), Qt::LeftButton, {}, QPoint(link.x(), 10));
  EXPECT_EQ(client.LinkColor(), kLinkColor);
}

TEST_F(MainWindowTest, ReportsCarryTheLatestInstallRecord) {
  std::thread controller([&] {
    workflow::InstallRecord record;
    std::strcpy(record.game.game_id, "tov3");
    std::strcpy(record.version, "3.2.1");
    record.ver = 45;
    window().view().StoreInstallRecord(record);
  });
  controller.join();
  window().view().HandleMessage(WM_MINIMIZE_BUTTON, 0, 0);
  const std::string body = harness_.StatsBody(0);
  EXPECT_NE(body.find("&gf=tov3&"), std::string::npos) << body;
  EXPECT_NE(body.find("&cv=3.2.1.45&"), std::string::npos) << body;
}

}  // namespace
}  // namespace qv::ui
