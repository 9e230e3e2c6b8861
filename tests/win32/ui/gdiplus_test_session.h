// GDI+ for one test: started in SetUp, as the program starts it before any window.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "ui/win32/gdiplus_session.h"

namespace qv::test {

class GdiplusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_ = std::make_unique<ui::win32::GdiplusSession>();
    ASSERT_TRUE(session_->started());
  }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<ui::win32::GdiplusSession> session_;
};

}  // namespace qv::test
