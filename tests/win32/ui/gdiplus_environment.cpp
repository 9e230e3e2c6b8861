// GDI+ for a whole test program: started before the first test and ended after the last, as the
// program does around its windows, so the tests (the shared view tests, written for both
// systems, among them) decode pictures without starting it themselves.
#include <gtest/gtest.h>

#include <memory>

#include "ui/win32/gdiplus_session.h"

namespace qv::test {
namespace {

class GdiplusEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    session_ = std::make_unique<ui::win32::GdiplusSession>();
    ASSERT_TRUE(session_->started());
  }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<ui::win32::GdiplusSession> session_;
};

// Registered before main runs; gtest owns it.
[[maybe_unused]] const ::testing::Environment* const kGdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace
}  // namespace qv::test
