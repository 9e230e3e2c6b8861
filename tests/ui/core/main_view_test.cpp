// The main view's decisions through a recording host: where the windows go, the tray, the two
// kinds of close, minimising, the no-connection box, the first-frame start, the drag strip, the
// link, and the statistics events each sends (to a loopback statistics service).
#include "ui/core/main_view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "controller/window_messages.h"
#include "core/ref_base.h"
#include "fake_hosts.h"
#include "loopback_server.h"
#include "temp_root.h"
#include "ui/core/client_layout.h"
#include "ui/core/featured_game.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "util/app_folders.h"
#include "workflow/service/statistics_report.h"

namespace qv::ui {
namespace {

using controller::WM_CLOSE_TO_TRAY;
using controller::WM_MINIMIZE_BUTTON;
using controller::WM_NO_CONNECTION;
using controller::WM_TRAY_ICON;

class MainViewTest : public qv::test::TempRootTest {
 protected:
  MainViewTest() { server_->Answer(workflow::kInstallReportPath, 200, "ok"); }
  ~MainViewTest() override {
    view_.reset();
    loops_->StopAll();
  }

  // The view over the fake host, with `setup`'s start and frame picture.
  void MakeView(MainViewSetup setup = {}) {
    setup.stats_base_url = server_->base_url();
    setup.folders = &folders_;
    setup.loops = loops_.get();
    view_ = std::make_unique<MainView>(host_, std::move(setup));
  }
  void Create(MainViewSetup setup = {}) {
    MakeView(std::move(setup));
    ASSERT_TRUE(view_->Create());
  }
  // Delivers the messages posted to the main view so far.
  void DeliverMessages() {
    for (const auto& message : host_.TakeMessages()) {
      view_->HandleMessage(message.number, message.wparam, message.lparam);
    }
  }
  bool BothShown() { return host_.MainShownNormally() && host_.client_host.shown; }
  bool BothHidden() { return !host_.main_visible && !host_.client_host.shown; }
  // The "op" and "ex" of every report sent so far, as "op/ex".
  std::vector<std::string> Reports() {
    view_->reports().Flush();
    std::vector<std::string> reports;
    for (const auto& request : server_->RequestsTo(workflow::kInstallReportPath)) {
      const size_t op = request.body.find("&op=");
      const size_t ex = request.body.find("&ex=");
      reports.push_back(request.body.substr(op + 4, ex - op - 4) + "/" +
                        request.body.substr(ex + 4));
    }
    return reports;
  }

  std::unique_ptr<qv::test::LoopbackServer> server_ = qv::test::LoopbackServer::StartHttp();
  util::AppFolders folders_;
  core::RefPtr<core::MessageLoopContext> loops_ = core::MakeRef<core::MessageLoopContext>();
  test::FakeMainHost host_{folders_, *loops_};
  std::unique_ptr<MainView> view_;
};

TEST_F(MainViewTest, CreateCentresTheFrameAndPlacesTheProgressWindowInside) {
  host_.work_area = Rect{0, 0, 1280, 1024};
  Create();
  const Rect first = MainView::CentredRect(host_.work_area);
  EXPECT_EQ(first.GetSize(), (Size{580, 386}));
  EXPECT_EQ(host_.window_rect, (Rect{first.left, first.top, 584, 410}));
  EXPECT_EQ(view_->SurfaceSize(), (Size{584, 410}));
  EXPECT_TRUE(BothShown());
  EXPECT_EQ(host_.client_host.geometry, InsetRect(host_.window_rect));
  EXPECT_TRUE(view_->HasProgressWindow());
  EXPECT_TRUE(host_.tray_created);
  EXPECT_FALSE(host_.tray_shown);  // added only at the first close
  EXPECT_EQ(host_.tray_tip, "QVorvane");
  EXPECT_EQ(host_.program_icons, 0) << "the icons come after the first frame";
  EXPECT_TRUE(Reports().empty());

  // Work areas off the origin (a task bar on the left or at the top) still centre the window.
  EXPECT_EQ(MainView::CentredRect(Rect{60, 0, 1860, 1080}).TopLeft(), (Point{60 + 640, 347}));
  EXPECT_EQ(MainView::CentredRect(Rect{0, 40, 1001, 800}).TopLeft(), (Point{210, 40 + 207}));
}

TEST_F(MainViewTest, FramePictureHandedOverIsUsedElseTheResourceIsDecoded) {
  Surface handed(300, 200);
  handed.Fill(0xFFFF0000);
  const Surface resource = LoadPictureFromResource(kFramePicture);
  const struct {
    const char* what;
    const Surface* picture;
    Size size;
    uint32_t pixel;
  } kCases[] = {{"handed over", &handed, {300, 200}, 0xFFFF0000},
                {"null", nullptr, {584, 410}, resource.PixelAt(150, 100)}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    test::FakeMainHost host(folders_, *loops_);
    int takes = 0;
    MainViewSetup setup;
    setup.folders = &folders_;
    setup.loops = loops_.get();
    setup.stats_base_url = server_->base_url();
    setup.frame_picture = [&] {
      ++takes;
      return c.picture ? *c.picture : Surface();
    };
    MainView view(host, std::move(setup));
    ASSERT_TRUE(view.Create());
    EXPECT_EQ(takes, 1);
    EXPECT_EQ(host.window_rect.GetSize(), c.size);
    Surface surface(c.size.width, c.size.height);
    view.Render(surface);
    EXPECT_EQ(surface.PixelAt(150, 100), c.pixel);
  }
}

TEST_F(MainViewTest, CreateFailsWhenTheProgressWindowCannotBeMade) {
  host_.progress_can_be_made = false;
  MakeView();
  EXPECT_FALSE(view_->Create());
  EXPECT_FALSE(view_->HasProgressWindow());
  EXPECT_FALSE(host_.tray_created);
}

// The installation's threads would compete with the first frame: it starts once both windows
// handed a frame to the window system, after that event, and once.
TEST_F(MainViewTest, TheInstallationStartsOnceAfterBothFirstFrames) {
  int starts = 0;
  MainViewSetup setup;
  setup.start_installation = [&](MainView& view) {
    ++starts;
    EXPECT_EQ(&view, view_.get());
    EXPECT_EQ(host_.program_icons, 1) << "the icon is given first";
  };
  Create(std::move(setup));
  ASSERT_TRUE(host_.Running(MainView::kFirstFrameTimer));
  EXPECT_EQ(host_.timer_intervals[MainView::kFirstFrameTimer], kFirstFrameWaitMs);

  view_->OnFramePresented(false);
  view_->OnFramePresented(false);
  EXPECT_TRUE(host_.later.empty()) << "the progress window has not shown a frame yet";
  view_->OnFramePresented(true);
  ASSERT_EQ(host_.later.size(), 1u);
  EXPECT_EQ(starts, 0) << "not inside the frame's event";
  view_->OnFramePresented(true);
  EXPECT_EQ(host_.later.size(), 1u);
  host_.RunQueued();
  EXPECT_EQ(starts, 1);
  EXPECT_TRUE(view_->installation_started());
  EXPECT_FALSE(host_.Running(MainView::kFirstFrameTimer));
  view_->OnFramePresented(false);
  view_->OnTimer(MainView::kFirstFrameTimer);
  host_.RunQueued();
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(host_.program_icons, 1);
}

// A window the system does not expose must not hold the installation up.
TEST_F(MainViewTest, WithoutAFrameTheWaitStartsTheInstallation) {
  int starts = 0;
  MainViewSetup setup;
  setup.start_installation = [&](MainView&) { ++starts; };
  Create(std::move(setup));
  view_->OnTimer(MainView::kFirstFrameTimer);
  EXPECT_EQ(starts, 1);
  EXPECT_FALSE(host_.Running(MainView::kFirstFrameTimer));
  view_->OnFramePresented(false);
  view_->OnFramePresented(true);
  host_.RunQueued();
  EXPECT_EQ(starts, 1);  // the frames that follow start nothing
}

TEST_F(MainViewTest, TrayClicksShowOnlyOnTheLeftButton) {
  Create();
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
    view_->ShowWindows(false);
    EXPECT_EQ(view_->HandleMessage(WM_TRAY_ICON, 0, c.mouse_message), c.result);
    EXPECT_EQ(BothShown(), c.shows);
    if (c.shows) expected_reports.push_back("10/tray_click");
    EXPECT_EQ(Reports(), expected_reports);
  }
}

TEST_F(MainViewTest, ClosingTwiceAddsTheTrayIconOnceAndReportsEachClose) {
  Create();
  view_->HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
  EXPECT_TRUE(BothHidden());
  EXPECT_TRUE(host_.tray_shown);
  EXPECT_EQ(host_.program_icons, 1) << "a close before the first frame gives the icon";
  view_->ShowWindows(true);
  EXPECT_TRUE(BothShown());
  EXPECT_EQ(host_.client_host.geometry, InsetRect(host_.window_rect));

  view_->HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
  EXPECT_TRUE(BothHidden());
  EXPECT_EQ(view_->tray_icon_adds(), 1);
  EXPECT_EQ(Reports(), (std::vector<std::string>{"12/btn_close", "12/btn_close"}));
}

TEST_F(MainViewTest, SystemCloseHidesToTheTrayWithItsOwnEvent) {
  Create();
  view_->OnSystemClose();
  EXPECT_TRUE(BothHidden());
  EXPECT_TRUE(host_.tray_shown);
  EXPECT_TRUE(host_.quits.empty());
  view_->HandleMessage(WM_TRAY_ICON, 0, kTrayLeftButtonDown);
  EXPECT_TRUE(BothShown());
  view_->HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
  EXPECT_EQ(view_->tray_icon_adds(), 1);
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{"13/tb_btn_close", "10/tray_click", "12/btn_close"}));
}

TEST_F(MainViewTest, WithoutANotificationAreaClosingMinimisesBoth) {
  host_.tray_available = false;
  Create();
  view_->HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
  EXPECT_TRUE(host_.main_minimised);
  EXPECT_FALSE(host_.client_host.shown);
  EXPECT_FALSE(host_.tray_shown);  // no icon nobody could see
  view_->OnShowRequest();
  EXPECT_TRUE(BothShown());
  view_->OnSystemClose();
  EXPECT_TRUE(host_.main_minimised);
  EXPECT_EQ(Reports(), (std::vector<std::string>{"12/btn_close", "13/tb_btn_close"}));
}

// Once the installation has failed there is nothing to wait for: either kind of close ends the
// program with 0, after its statistics event went out.
TEST_F(MainViewTest, ClosingAfterAFailedInstallationEndsTheProgram) {
  for (const bool close_button : {true, false}) {
    SCOPED_TRACE(close_button ? "close button" : "system close");
    test::FakeMainHost host(folders_, *loops_);
    MainViewSetup setup;
    setup.folders = &folders_;
    setup.loops = loops_.get();
    setup.stats_base_url = server_->base_url();
    MainView view(host, std::move(setup));
    ASSERT_TRUE(view.Create());
    // A status that is not the end changes nothing: the close still hides to the tray.
    std::thread progress([&] { view.UpdateStatus(u"Downloading...", 0, 7); });
    progress.join();
    view.HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
    EXPECT_TRUE(host.quits.empty());
    view.ShowWindows(true);

    std::thread failure([&] { view.UpdateStatus(u"Failed...", 6, 40); });
    failure.join();
    if (close_button) {
      view.HandleMessage(WM_CLOSE_TO_TRAY, 0, 0);
    } else {
      view.OnSystemClose();
    }
    EXPECT_EQ(host.quits, std::vector<int>{0});
    EXPECT_FALSE(host.main_visible);
    // Flushed before the quit: the event is on the service by now.
    const auto requests = server_->RequestsTo(workflow::kInstallReportPath);
    ASSERT_FALSE(requests.empty());
    EXPECT_NE(requests.back().body.find(close_button ? "&ex=btn_close" : "&ex=tb_btn_close"),
              std::string::npos);
  }
}

TEST_F(MainViewTest, MinimiseHidesBothUntilShownAgain) {
  Create();
  view_->HandleMessage(WM_MINIMIZE_BUTTON, 0, 0);
  EXPECT_TRUE(host_.main_minimised);
  EXPECT_FALSE(host_.client_host.shown);
  EXPECT_FALSE(host_.tray_shown);

  host_.window_rect = host_.window_rect.Translated(40, -25);
  view_->OnShowRequest();  // a second start of the program
  EXPECT_TRUE(BothShown());
  EXPECT_EQ(host_.client_host.geometry, InsetRect(host_.window_rect));
  EXPECT_EQ(Reports(), (std::vector<std::string>{"11/btn_mini"}));
}

TEST_F(MainViewTest, NoConnectionHidesBothShowsOneWarningAndQuitsWithZero) {
  Create();
  std::thread worker([&] { view_->ReportNoConnection(); });  // the network check's thread
  worker.join();
  view_->ReportNoConnection();  // the installing task's own report comes too
  DeliverMessages();
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].first, "Setup - QVorvane ");
  EXPECT_EQ(host_.boxes[0].second,
            "Can't connect to the Internet.\nPlease check your connection and try again.");
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"hide main", "hide progress", "box", "quit"}));
  EXPECT_EQ(host_.quits, std::vector<int>{0});
}

TEST_F(MainViewTest, MovingOrRestoringCarriesTheProgressWindowAlongOnlyWhileShown) {
  Create();
  host_.window_rect = host_.window_rect.Translated(40, -25);
  view_->OnMovedOrRestored();
  EXPECT_EQ(host_.client_host.geometry, InsetRect(host_.window_rect));
  EXPECT_EQ(view_->client()->WindowRect(), host_.client_host.geometry);

  view_->HandleMessage(WM_MINIMIZE_BUTTON, 0, 0);
  view_->OnMovedOrRestored();
  EXPECT_FALSE(host_.client_host.shown) << "minimised: the progress window stays away";
}

TEST_F(MainViewTest, OnlyTheTopStripDrags) {
  Create();
  const std::pair<int, bool> cases[] = {{0, true}, {49, true}, {50, false}, {409, false}};
  for (const auto& [y, drags] : cases) {
    EXPECT_EQ(MainView::InDragStrip(Point{300, y}), drags) << y;
    const int before = host_.drags;
    view_->OnLeftButtonDown(Point{300, y});
    EXPECT_EQ(host_.drags - before, drags ? 1 : 0) << y;
  }
}

TEST_F(MainViewTest, LinkPressAndReleaseFallingThroughOpenTheGamePage) {
  Create();
  workflow::GameInfo game;
  std::strcpy(game.game_name, "Tides of Valoria III");
  std::strcpy(game.server_id, "s7");
  workflow::InstallRecord record;
  record.game = game;
  std::thread controller([&] {
    view_->StoreInstallRecord(record);
    view_->ApplyGameInfo(game, 0);
    view_->UpdateStatus(u"Downloading...", 0, 10);
  });
  controller.join();
  ClientView& client = *view_->client();
  for (const auto& message : host_.client_host.TakeMessages()) {
    client.OnMessage(message.number, message.wparam, message.lparam);
  }
  const Rect link_rect = client.LinkRect();
  const Point link{link_rect.left + link_rect.width / 2 + kClientInset,
                   link_rect.top + link_rect.height / 2 + kClientInset};
  const Point beside{link_rect.Right() + kClientInset + 30, link_rect.top + kClientInset};

  // Before the link is offered its place is empty: presses there do nothing.
  ASSERT_FALSE(client.LinkShown());
  view_->OnLeftButtonDown(link);
  view_->OnLeftButtonUp(link);
  EXPECT_EQ(client.LinkColor(), kLinkColor);
  EXPECT_TRUE(host_.opened_urls.empty());

  client.OnTimer(ClientView::kOfferLinkTimer);
  ASSERT_TRUE(client.LinkShown());

  // A press that leaves the link keeps the pressed colour and opens nothing.
  view_->OnLeftButtonDown(link);
  EXPECT_EQ(client.LinkColor(), kLinkPressedColor);
  view_->OnLeftButtonUp(beside);
  EXPECT_EQ(client.LinkColor(), kLinkPressedColor);
  EXPECT_TRUE(host_.opened_urls.empty());

  view_->OnLeftButtonDown(link);
  view_->OnLeftButtonUp(link);
  EXPECT_EQ(client.LinkColor(), kLinkColor);
  EXPECT_EQ(host_.opened_urls, std::vector<std::string>{GamePageUrl(game)});
  EXPECT_NE(GamePageUrl(game).find("/game/?sid=s7"), std::string::npos);

  // Presses on the drag strip never reach the link.
  view_->OnLeftButtonDown(Point{link.x, 10});
  EXPECT_EQ(client.LinkColor(), kLinkColor);
}

TEST_F(MainViewTest, ReportsCarryTheLatestInstallRecord) {
  Create();
  std::thread controller([&] {
    workflow::InstallRecord record;
    std::strcpy(record.game.game_id, "tov3");
    std::strcpy(record.version, "3.2.1");
    record.ver = 45;
    view_->StoreInstallRecord(record);
  });
  controller.join();
  view_->HandleMessage(WM_MINIMIZE_BUTTON, 0, 0);
  view_->reports().Flush();
  const std::string body = server_->RequestsTo(workflow::kInstallReportPath).at(0).body;
  EXPECT_NE(body.find("&gf=tov3&"), std::string::npos) << body;
  EXPECT_NE(body.find("&cv=3.2.1.45&"), std::string::npos) << body;
}

TEST_F(MainViewTest, ProgressViewReachesTheMainViewThroughItsDelegate) {
  Create();
  view_->client()->OnTimer(ClientView::kFinishTimer);  // not running: nothing
  EXPECT_TRUE(host_.quits.empty());
  view_->Quit();
  EXPECT_EQ(host_.quits, std::vector<int>{0});
  view_->ReportNoConnection();
  const auto posted = host_.TakeMessages();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].number, WM_NO_CONNECTION);
}

}  // namespace
}  // namespace qv::ui
