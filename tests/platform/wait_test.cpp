#include "platform/ui/wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>
#include <stdexcept>
#include <thread>

namespace {

class WaitTest : public ::testing::Test {
 protected:
  void SetUp() override { plat::ResetWaitsEnding(); }
  void TearDown() override { plat::ResetWaitsEnding(); }
};

TEST_F(WaitTest, ConditionAlreadyTrueReturnsAtOnce) {
  EXPECT_EQ(plat::WaitUntil([] { return true; }, 0), plat::WaitResult::Done);
  EXPECT_EQ(plat::WaitUntil([] { return true; }), plat::WaitResult::Done);
  EXPECT_EQ(plat::WaitUntil([] { return false; }, 0), plat::WaitResult::TimedOut);
}

TEST_F(WaitTest, EndsWhenAPostedEventMakesTheConditionTrue) {
  bool flag = false;
  QMetaObject::invokeMethod(qApp, [&] { flag = true; }, Qt::QueuedConnection);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(plat::WaitUntil([&] { return flag; }, 5000), plat::WaitResult::Done);
  EXPECT_LT(clock.elapsed(), 1000);

  // The same with no time-out, the event posted from another thread (as MIDI input is).
  flag = false;
  std::thread sender([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QMetaObject::invokeMethod(qApp, [&] { flag = true; }, Qt::QueuedConnection);
  });
  EXPECT_EQ(plat::WaitUntil([&] { return flag; }), plat::WaitResult::Done);
  sender.join();
}

TEST_F(WaitTest, EndsRightAfterTheEventThatDidIt) {
  // A timer keeps posting; the condition comes true on the third tick and the wait must not
  // see a fourth.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(5);
  EXPECT_EQ(plat::WaitUntil([&] { return ticks >= 3; }, 5000), plat::WaitResult::Done);
  EXPECT_EQ(ticks, 3);
}

TEST_F(WaitTest, TimesOutAfterTheGivenTime) {
  QElapsedTimer clock;
  clock.start();
  int tests = 0;
  EXPECT_EQ(plat::WaitUntil([&] { ++tests; return false; }, 80), plat::WaitResult::TimedOut);
  EXPECT_GE(clock.elapsed(), 75);
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_GE(tests, 2);  // once at the start, once more before the time-out counts
}

TEST_F(WaitTest, TimedOutWaitLeavesNoTimerBehind) {
  bool flag = false;
  EXPECT_EQ(plat::WaitUntil([&] { return flag; }, 10), plat::WaitResult::TimedOut);
  // A later wait is not ended early by anything the first one left.
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(plat::WaitUntil([&] { return flag; }, 60), plat::WaitResult::TimedOut);
  EXPECT_GE(clock.elapsed(), 55);
}

TEST_F(WaitTest, RequestWaitsEndEndsARunningWaitWithoutTimeOut) {
  QTimer::singleShot(10, [] { plat::RequestWaitsEnd(); });
  EXPECT_EQ(plat::WaitUntil([] { return false; }), plat::WaitResult::Closing);
  EXPECT_TRUE(plat::WaitsEnding());
  // Every later wait ends at once, even one whose condition holds.
  EXPECT_EQ(plat::WaitUntil([] { return true; }), plat::WaitResult::Closing);
  plat::ResetWaitsEnding();
  EXPECT_FALSE(plat::WaitsEnding());
  EXPECT_EQ(plat::WaitUntil([] { return true; }), plat::WaitResult::Done);
}

TEST_F(WaitTest, RequestWaitsEndFromAnotherThreadWakesTheWait) {
  std::thread closer([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    plat::RequestWaitsEnd();
  });
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(plat::WaitUntil([] { return false; }, 10000), plat::WaitResult::Closing);
  EXPECT_LT(clock.elapsed(), 5000);
  closer.join();
}

TEST_F(WaitTest, NestedWaitsBothEnd) {
  bool outerFlag = false;
  bool innerFlag = false;
  plat::WaitResult inner = plat::WaitResult::TimedOut;
  QTimer::singleShot(5, [&] {
    QTimer::singleShot(10, [&] { outerFlag = true; });
    QTimer::singleShot(30, [&] { innerFlag = true; });
    inner = plat::WaitUntil([&] { return innerFlag; }, 5000);
  });
  EXPECT_EQ(plat::WaitUntil([&] { return outerFlag; }, 5000), plat::WaitResult::Done);
  EXPECT_EQ(inner, plat::WaitResult::Done);
  EXPECT_TRUE(innerFlag);

  // Closing ends the inner and the outer wait alike.
  inner = plat::WaitResult::Done;
  QTimer::singleShot(5, [&] {
    QTimer::singleShot(10, [] { plat::RequestWaitsEnd(); });
    inner = plat::WaitUntil([] { return false; });
  });
  EXPECT_EQ(plat::WaitUntil([] { return false; }), plat::WaitResult::Closing);
  EXPECT_EQ(inner, plat::WaitResult::Closing);
}

TEST_F(WaitTest, AThrowingConditionEndsTheWaitAndIsRethrown) {
  int calls = 0;
  QMetaObject::invokeMethod(qApp, [] {}, Qt::QueuedConnection);
  EXPECT_THROW(plat::WaitUntil(
                   [&]() -> bool {
                     if (++calls > 1) throw std::runtime_error("broken");
                     return false;
                   },
                   5000),
               std::runtime_error);
}

TEST(TimeoutScale, ScalesRoundsAndKeepsSpecialValues) {
  const double saved = plat::TimeoutScale();
  plat::SetTimeoutScale(0.01);
  EXPECT_EQ(plat::ScaledTimeout(5000), 50);
  EXPECT_EQ(plat::ScaledTimeout(20000), 200);
  EXPECT_EQ(plat::ScaledTimeout(20), 1);  // a real time-out never becomes "no wait"
  EXPECT_EQ(plat::ScaledTimeout(0), 0);
  EXPECT_EQ(plat::ScaledTimeout(-1), -1);  // "no time-out" stays so
  plat::SetTimeoutScale(0.0);             // refused
  plat::SetTimeoutScale(-2.0);            // refused
  EXPECT_DOUBLE_EQ(plat::TimeoutScale(), 0.01);
  plat::SetTimeoutScale(1e9);
  EXPECT_EQ(plat::ScaledTimeout(5000), INT_MAX);
  plat::SetTimeoutScale(saved);
}

}  // namespace
