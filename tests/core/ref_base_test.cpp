#include "core/ref_base.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace qv::core {
namespace {

class Counted : public RefBase {
 public:
  explicit Counted(std::atomic<int>* deletions) : deletions_(deletions) {}

 protected:
  ~Counted() override { deletions_->fetch_add(1); }

 private:
  std::atomic<int>* const deletions_;
};

class DerivedCounted : public Counted {
 public:
  using Counted::Counted;
};

TEST(RefBaseTest, ANewObjectHoldsOneReferenceAndTheLastReleaseDeletesIt) {
  std::atomic<int> deletions{0};
  Counted* object = new Counted(&deletions);
  EXPECT_EQ(object->ref_count_for_testing(), 1);
  EXPECT_EQ(object->AddRef(), 2);
  EXPECT_EQ(object->Release(), 1);
  EXPECT_EQ(deletions, 0);
  EXPECT_EQ(object->Release(), 0);  // count 1 -> 0, no AddRef needed before
  EXPECT_EQ(deletions, 1);
}

TEST(RefBaseTest, TwoThreadsReleasingTheLastTwoReferencesDeleteExactlyOnce) {
  constexpr int kRounds = 2000;
  std::atomic<int> deletions{0};
  for (int round = 0; round < kRounds; ++round) {
    Counted* object = new Counted(&deletions);
    object->AddRef();
    std::atomic<bool> go{false};
    std::atomic<int> zero_results{0};
    auto release = [&] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      if (object->Release() == 0) zero_results.fetch_add(1);
    };
    std::thread first(release), second(release);
    go.store(true, std::memory_order_release);
    first.join();
    second.join();
    ASSERT_EQ(zero_results, 1) << "round " << round;
    ASSERT_EQ(deletions, round + 1) << "round " << round;
  }
}

TEST(RefPtrTest, CopiesShareMovesTransferAndTheLastHolderReleases) {
  std::atomic<int> deletions{0};
  {
    RefPtr<DerivedCounted> first = MakeRef<DerivedCounted>(&deletions);  // adopts: count 1
    EXPECT_EQ(first->ref_count_for_testing(), 1);
    RefPtr<Counted> as_base = first;  // derived to base copy: count 2
    EXPECT_EQ(first->ref_count_for_testing(), 2);
    RefPtr<Counted> moved = std::move(as_base);
    EXPECT_FALSE(as_base);
    EXPECT_EQ(moved->ref_count_for_testing(), 2);
    EXPECT_TRUE(moved == first);
    first.reset();
    EXPECT_EQ(deletions, 0);
    Counted* leaked = moved.Leak();  // the reference goes to the caller, unreleased
    EXPECT_FALSE(moved);
    EXPECT_EQ(leaked->ref_count_for_testing(), 1);
    RefPtr<Counted> adopted = RefPtr<Counted>::Adopt(leaked);
    EXPECT_EQ(adopted->ref_count_for_testing(), 1);
    RefPtr<Counted> shared(adopted.get());  // from a plain pointer: adds a reference
    EXPECT_EQ(adopted->ref_count_for_testing(), 2);
    shared = nullptr;
    EXPECT_EQ(adopted->ref_count_for_testing(), 1);
  }
  EXPECT_EQ(deletions, 1);
}

}  // namespace
}  // namespace qv::core
