#include "platform/ui/one_shot_timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <set>
#include <thread>
#include <vector>

#include "platform/ui/wait.h"

namespace {

// Lets events run for `ms` milliseconds.
void RunEvents(int ms) { plat::WaitUntil([] { return false; }, ms); }

TEST(OneShotTimer, FiresOnceOnTheUiThreadWithItsId) {
  std::vector<std::uint32_t> fired;
  QThread* firedOn = nullptr;
  std::uint32_t id = plat::TimeSetEvent(10, [&](std::uint32_t which) {
    fired.push_back(which);
    firedOn = QThread::currentThread();
  });
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(fired.empty());  // never synchronously
  EXPECT_EQ(plat::WaitUntil([&] { return !fired.empty(); }, 2000), plat::WaitResult::Done);
  RunEvents(40);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0], id);
  EXPECT_EQ(firedOn, qApp->thread());
}

TEST(OneShotTimer, KilledTimerNeverFiresAndStrayKillsAreIgnored) {
  int fired = 0;
  std::uint32_t id = plat::TimeSetEvent(20, [&](std::uint32_t) { ++fired; });
  plat::TimeKillEvent(id);
  plat::TimeKillEvent(id);       // twice
  plat::TimeKillEvent(0);        // never an id
  plat::TimeKillEvent(0xFFFFFFu);  // never armed
  RunEvents(80);
  EXPECT_EQ(fired, 0);

  // Killing a fired id must not touch the timer that took its place.
  std::uint32_t first = plat::TimeSetEvent(1, [&](std::uint32_t) { ++fired; });
  EXPECT_EQ(plat::WaitUntil([&] { return fired == 1; }, 2000), plat::WaitResult::Done);
  std::uint32_t second = plat::TimeSetEvent(30, [&](std::uint32_t) { ++fired; });
  EXPECT_NE(first, second);
  plat::TimeKillEvent(first);
  EXPECT_EQ(plat::WaitUntil([&] { return fired == 2; }, 2000), plat::WaitResult::Done);
}

TEST(OneShotTimer, ReArmingKeepsOnlyTheNewestAndIdsAreDistinct) {
  // The lamp pattern: kill the previous timer, arm a new one, many times within the delay.
  std::vector<std::uint32_t> fired;
  std::set<std::uint32_t> ids;
  std::uint32_t current = 0;
  for (int i = 0; i < 50; ++i) {
    if (current != 0) plat::TimeKillEvent(current);
    current = plat::TimeSetEvent(30, [&](std::uint32_t which) { fired.push_back(which); });
    ASSERT_NE(current, 0u);
    ids.insert(current);
  }
  EXPECT_EQ(ids.size(), 50u);
  RunEvents(120);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0], current);
}

TEST(OneShotTimer, CallbackMayArmAndKillTimers) {
  int chain = 0;
  std::function<void(std::uint32_t)> step = [&](std::uint32_t self) {
    plat::TimeKillEvent(self);  // its own, already fired: ignored
    if (++chain < 3) plat::TimeSetEvent(1, step);
  };
  plat::TimeSetEvent(1, step);
  EXPECT_EQ(plat::WaitUntil([&] { return chain == 3; }, 2000), plat::WaitResult::Done);
}

TEST(OneShotTimer, ArmedFromAnotherThreadRunsOnTheUiThread) {
  QThread* firedOn = nullptr;
  bool done = false;
  std::uint32_t id = 0;
  std::thread other([&] {
    id = plat::TimeSetEvent(5, [&](std::uint32_t) {
      firedOn = QThread::currentThread();
      done = true;
    });
  });
  other.join();
  EXPECT_NE(id, 0u);
  EXPECT_EQ(plat::WaitUntil([&] { return done; }, 2000), plat::WaitResult::Done);
  EXPECT_EQ(firedOn, qApp->thread());

  // Killed from another thread before it could start: never fires.
  int fired = 0;
  std::thread killer([&] { plat::TimeKillEvent(plat::TimeSetEvent(5, [&](std::uint32_t) { ++fired; })); });
  killer.join();
  RunEvents(50);
  EXPECT_EQ(fired, 0);
}

TEST(OneShotTimer, NegativeDelayIsRefused) {
  EXPECT_EQ(plat::TimeSetEvent(-1, [](std::uint32_t) {}), 0u);
}

}  // namespace
