// What the view tests put in place of the window backends: hosts that record what a view asked of
// its window (timers, repaints, messages, placement, tray, boxes), and a text renderer with fixed
// metrics whose glyphs are small solid boxes, so where text lands can be read off a surface.
//
// Threads: PostViewMessage may be called from any thread (the views' worker entries); the rest on
// the test's thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ui/core/client_view.h"
#include "ui/core/main_view.h"
#include "ui/core/text_renderer.h"

namespace qv::ui::test {

struct PostedMessage {
  uint32_t number = 0;
  uintptr_t wparam = 0;
  intptr_t lparam = 0;
};

// The parts both hosts share: timers, repaints and the message queue.
template <typename Host>
class RecordingHost : public Host {
 public:
  std::map<int, int> timer_starts;  // id: how many times started
  std::map<int, int> timer_intervals;
  std::map<int, bool> timer_running;
  int repaints = 0;
  int immediate_repaints = 0;

  void StartTimer(int id, int interval_ms) override {
    ++timer_starts[id];
    timer_intervals[id] = interval_ms;
    timer_running[id] = true;
  }
  void StopTimer(int id) override { timer_running[id] = false; }
  void Repaint() override { ++repaints; }
  void RepaintNow() override { ++immediate_repaints; }
  void PostViewMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override {
    std::lock_guard<std::mutex> hold(lock_);
    queued_.push_back({number, wparam, lparam});
  }
  bool Running(int id) { return timer_running[id]; }
  // The messages posted so far, oldest first, taken off the queue.
  std::vector<PostedMessage> TakeMessages() {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<PostedMessage> taken(queued_.begin(), queued_.end());
    queued_.clear();
    return taken;
  }

 private:
  std::mutex lock_;
  std::deque<PostedMessage> queued_;
};

class FakeClientHost : public RecordingHost<ClientHost> {
 public:
  Rect geometry;
  bool shown = false;
  int shown_with_owner = 0;
  bool owner_shown = true;
  Region input_region;
  int input_region_sets = 0;
  bool hand_cursor = false;
  std::vector<uint32_t> owner_messages;

  void SetGeometry(const Rect& window_rect) override { geometry = window_rect; }
  void Show() override { shown = true; }
  void ShowWithOwner() override {
    ++shown_with_owner;
    owner_shown = true;
    shown = true;
  }
  bool OwnerShown() const override { return owner_shown; }
  void SetInputRegion(const Region& region) override {
    input_region = region;
    ++input_region_sets;
  }
  void SetHandCursor(bool hand) override { hand_cursor = hand; }
  void PostOwnerMessage(uint32_t number, uintptr_t, intptr_t) override {
    owner_messages.push_back(number);
  }
};

// The main window's stand-in. Its progress window is a FakeClientHost with a real ClientView.
// `calls` lists the window actions in order ("show main", "hide progress", "tray shown", ...).
class FakeMainHost : public RecordingHost<MainHost> {
 public:
  FakeMainHost(util::AppFolders& folders, core::MessageLoopContext& loops)
      : folders_(folders), loops_(loops) {}

  Rect work_area{0, 0, 1280, 1024};
  Rect window_rect{0, 0, 490, 160};
  bool main_visible = false;
  bool main_minimised = false;
  bool progress_can_be_made = true;
  bool tray_available = true;
  bool tray_created = false;
  bool tray_shown = false;
  std::string tray_tip;
  int program_icons = 0;
  std::vector<std::string> calls;
  std::vector<std::pair<std::string, std::string>> boxes;  // caption, text
  std::vector<std::string> opened_urls;
  std::vector<int> quits;  // exit codes
  int drags = 0;
  std::vector<std::function<void()>> later;
  FakeClientHost client_host;
  std::unique_ptr<ClientView> client_view;

  Rect WorkArea() const override { return work_area; }
  Rect WindowRect() const override { return window_rect; }
  void SetWindowRect(const Rect& rect) override { window_rect = rect; }
  ClientView* CreateProgressWindow(const Rect& rect, ClientView::Delegate& delegate) override {
    if (!progress_can_be_made) return nullptr;
    client_view = std::make_unique<ClientView>(client_host, &delegate, folders_, loops_);
    main_visible = true;  // shown with its owner
    client_view->OnCreated(rect);
    return client_view.get();
  }
  void ShowMain() override {
    main_visible = true;
    main_minimised = false;
    calls.push_back("show main");
  }
  void HideMain() override {
    main_visible = false;
    calls.push_back("hide main");
  }
  void MinimiseMain() override {
    main_minimised = true;
    calls.push_back("minimise main");
  }
  bool MainShownNormally() const override { return main_visible && !main_minimised; }
  void HideProgress() override {
    client_host.shown = false;
    calls.push_back("hide progress");
  }
  void CreateTrayIcon(std::string_view tip) override {
    tray_created = true;
    tray_tip = tip;
  }
  void ShowTrayIcon() override {
    tray_shown = true;
    calls.push_back("tray shown");
  }
  bool TrayIconShown() const override { return tray_shown; }
  bool TrayAvailable() const override { return tray_available; }
  void UseProgramIcon() override { ++program_icons; }
  void ShowNoConnectionBox(std::string_view caption, std::string_view text) override {
    boxes.emplace_back(caption, text);
    calls.push_back("box");
  }
  void OpenUrl(const std::string& url) override { opened_urls.push_back(url); }
  void Quit(int exit_code) override {
    quits.push_back(exit_code);
    calls.push_back("quit");
  }
  void BeginDrag() override { ++drags; }
  void RunLater(std::function<void()> call) override { later.push_back(std::move(call)); }
  // Runs the calls queued with RunLater.
  void RunQueued() {
    auto calls_now = std::move(later);
    later.clear();
    for (auto& call : calls_now) call();
  }

 private:
  util::AppFolders& folders_;
  core::MessageLoopContext& loops_;
};

// Text with fixed metrics: every character kGlyphWidth wide, lines kLineHeight high; each
// character but a blank drawn as a solid box inside its cell, in the colour given.
class BoxTextRenderer : public TextRenderer {
 public:
  static constexpr int kGlyphWidth = 6;
  static constexpr int kLineHeight = 14;
  int measures = 0;

  Size Measure(const FontSpec&, std::u16string_view text) override;
  void DrawLine(Surface& layer, const FontSpec& font, Color color, const Rect& box,
                std::u16string_view text, bool clip) override;
};

}  // namespace qv::ui::test
