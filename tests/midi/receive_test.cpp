// The input's receiving side: what is queued, what the held message shows, and how the Message
// event is raised (once per message, in order, on the UI thread, never re-entered).
#include <QCoreApplication>
#include <QEventLoop>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <thread>

#include "tests/midi/loopback_fixture.h"

using namespace miditest;
using plat::MIDIInput;
namespace midi = plat::midi;
namespace loopback = plat::loopback;

using InputQueue = LoopbackTest;
using MessageEvent = LoopbackTest;

namespace {
struct Held {
  std::uint8_t status, data1, data2;
  plat::Bytes sysex;
  bool operator==(const Held&) const = default;
};
Held HeadOf(const MIDIInput& in) { return {in.MessageStatus(), in.MessageData1(), in.MessageData2(), in.SysExMessage()}; }
}  // namespace

TEST_F(InputQueue, OnlyAnOpenStartedPortQueues) {
  MIDIInput in;
  loopback::SendToProgram({0x90, 1, 2});  // not open
  in.SetAction(midi::Open);
  loopback::SendToProgram({0x90, 1, 2});  // open, not started
  Pump();
  EXPECT_EQ(in.MessageCount(), 0);

  in.SetAction(midi::Start);
  loopback::SendToProgram({0x90, 1, 2});
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 1; }));

  in.SetAction(midi::Stop);  // stopping keeps what is queued and takes no more
  loopback::SendToProgram({0x90, 3, 4});
  Pump();
  EXPECT_EQ(in.MessageCount(), 1);

  in.SetAction(midi::Close);  // closing empties the queue
  EXPECT_EQ(in.MessageCount(), 0);
  in.SetAction(midi::Open);
  in.SetAction(midi::Start);
  loopback::SendToProgram({0x80, 3, 4});
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 1; }));
  EXPECT_EQ(in.MessageStatus(), 0x80);
}

TEST_F(InputQueue, HeldMessageFieldsAndRelease) {
  MIDIInput in;
  OpenStarted(in);
  const plat::Bytes sysex{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x00, 0x00, 0xF7};
  loopback::SendToProgram({0x90, 0x3C, 0x64});
  loopback::SendToProgram(sysex.vec());
  loopback::SendToProgram({0xC2, 0x05});
  loopback::SendToProgram({0xFA});
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 4; }));

  EXPECT_EQ(HeadOf(in), (Held{0x90, 0x3C, 0x64, {}}));
  in.SetAction(midi::Release);
  EXPECT_EQ(HeadOf(in), (Held{0xF0, 0, 0, sysex}));
  in.SetAction(midi::Release);
  EXPECT_EQ(HeadOf(in), (Held{0xC2, 0x05, 0, {}}));
  in.SetAction(midi::Release);
  EXPECT_EQ(HeadOf(in), (Held{0xFA, 0, 0, {}}));
  in.SetAction(midi::Release);
  EXPECT_EQ(in.MessageCount(), 0);
  EXPECT_EQ(HeadOf(in), (Held{0, 0, 0, {}}));
  in.SetAction(midi::Release);  // releasing an empty queue is harmless
  EXPECT_EQ(in.MessageCount(), 0);
}

TEST_F(InputQueue, FilteredStatusesAreDropped) {
  MIDIInput in;
  OpenStarted(in);
  in.SetFilter(0xF8, true);
  in.SetFilter(0xFE, true);
  in.SetFilter(0xF9, true);
  in.SetFilter(0x91, true);  // one channel's note on, not the others'
  for (Message m : {Message{0xF8}, Message{0xFE}, Message{0xF9}, Message{0x91, 1, 2}, Message{0x90, 1, 2},
                    Message{0xFA}, Message{0xF0, 0x01, 0xF7}})
    loopback::SendToProgram(m);
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 3; }));
  Pump();
  ASSERT_EQ(in.MessageCount(), 3);
  EXPECT_EQ(in.MessageStatus(), 0x90);
  in.SetAction(midi::Release);
  EXPECT_EQ(in.MessageStatus(), 0xFA);
  in.SetAction(midi::Release);
  EXPECT_EQ(in.MessageStatus(), 0xF0);

  in.SetFilter(0xF0, true);  // System Exclusive can be filtered too
  in.SetFilter(0xF8, false);
  loopback::SendToProgram({0xF0, 0x02, 0xF7});
  loopback::SendToProgram({0xF8});
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 2; }));
  in.SetAction(midi::Release);
  EXPECT_EQ(in.MessageStatus(), 0xF8);
}

TEST_F(InputQueue, GarbageWithoutAStatusIsDropped) {
  MIDIInput in;
  OpenStarted(in);
  loopback::SendToProgram({});
  loopback::SendToProgram({0x01, 0x02});
  loopback::SendToProgram({0x90, 0x01, 0x02});
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 1; }));
  Pump();
  EXPECT_EQ(in.MessageCount(), 1);
}

TEST_F(InputQueue, LargeSysExArrivesWhole) {
  MIDIInput in;
  OpenStarted(in);
  for (std::size_t size : {16u * 1024u, 64u * 1024u}) {
    std::vector<std::uint8_t> big(size);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i & 0x7F);
    big.front() = 0xF0;
    big.back() = 0xF7;
    loopback::SendToProgram(big);
    ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 1; }));
    EXPECT_EQ(in.SysExMessage().vec(), big);
    in.SetAction(midi::Release);
  }
}

TEST_F(InputQueue, AFullQueueDropsAndReportsOnce) {
  MIDIInput in;
  OpenStarted(in);
  QSignalSpy errors(&in, &MIDIInput::Error);
  for (int i = 0; i < 4096 + 10; ++i) loopback::SendToProgram({0x90, static_cast<std::uint8_t>(i & 0x7F), 1});
  ASSERT_TRUE(PumpUntil([&] { return errors.count() >= 1; }));
  Pump();
  EXPECT_EQ(in.MessageCount(), 4096);
  ASSERT_EQ(errors.count(), 1);
  EXPECT_EQ(errors[0][0].toInt(), midi::ErrQueueFull);
  // Once emptied, the queue takes messages again.
  while (in.MessageCount() > 0) in.SetAction(midi::Release);
  loopback::SendToProgram({0x80, 1, 1});
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 1; }));
}

TEST_F(InputQueue, TwoOpenInputsBothReceive) {
  MIDIInput a, b;
  OpenStarted(a);
  OpenStarted(b);
  loopback::SendToProgram({0x90, 1, 1});
  ASSERT_TRUE(PumpUntil([&] { return a.MessageCount() == 1 && b.MessageCount() == 1; }));
}

// ---------------------------------------------------------------------------------------------

TEST_F(MessageEvent, BurstOfThreeIsRaisedOnceEachInOrder) {
  MIDIInput in;
  OpenStarted(in);
  std::vector<std::uint8_t> seen;
  QObject::connect(&in, &MIDIInput::Message, [&] {
    seen.push_back(in.MessageData1());
    in.SetAction(midi::Release);
  });
  loopback::SendToProgram({0x90, 1, 1});
  loopback::SendToProgram({0x90, 2, 1});
  loopback::SendToProgram({0x90, 3, 1});
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 3; }));
  Pump();
  EXPECT_EQ(seen, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(in.MessageCount(), 0);
}

TEST_F(MessageEvent, NotRaisedForMessagesAHandlerAlreadyTook) {
  // A handler that empties the whole queue is not called again with nothing to do.
  MIDIInput in;
  OpenStarted(in);
  int raised = 0;
  std::vector<std::uint8_t> seen;
  QObject::connect(&in, &MIDIInput::Message, [&] {
    ++raised;
    EXPECT_GT(in.MessageCount(), 0);
    while (in.MessageCount() > 0) {
      seen.push_back(in.MessageData1());
      in.SetAction(midi::Release);
    }
  });
  loopback::SendToProgram({0x90, 1, 1});
  loopback::SendToProgram({0x90, 2, 1});
  loopback::SendToProgram({0x90, 3, 1});
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 3; }));
  Pump();
  EXPECT_EQ(raised, 1);
  EXPECT_EQ(seen, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(MessageEvent, RaisedAgainForEveryMessageAHandlerLeaves) {
  MIDIInput in;
  OpenStarted(in);
  int raised = 0;
  QObject::connect(&in, &MIDIInput::Message, [&] { ++raised; });  // releases nothing
  loopback::SendToProgram({0x90, 1, 1});
  loopback::SendToProgram({0x90, 2, 1});
  ASSERT_TRUE(PumpUntil([&] { return raised == 2; }));
  Pump();
  EXPECT_EQ(raised, 2);
  EXPECT_EQ(in.MessageCount(), 2);
}

TEST_F(MessageEvent, RaisedOnTheUiThreadForMessagesFromOtherThreads) {
  MIDIInput in;
  OpenStarted(in);
  std::vector<std::uint8_t> seen;
  bool allOnUiThread = true;
  QObject::connect(&in, &MIDIInput::Message, [&] {
    allOnUiThread = allOnUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    seen.push_back(in.MessageData1());
    in.SetAction(midi::Release);
  });
  std::thread sender([] {
    for (std::uint8_t i = 0; i < 50; ++i) loopback::SendToProgram({0xB0, i, 0});
  });
  sender.join();
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 50; }));
  EXPECT_TRUE(allOnUiThread);
  for (std::uint8_t i = 0; i < 50; ++i) EXPECT_EQ(seen[i], i);
}

TEST_F(MessageEvent, NeverReenteredWhileAHandlerRunsANestedLoop) {
  MIDIInput in;
  OpenStarted(in);
  int depth = 0, deepest = 0;
  std::vector<std::uint8_t> seen;
  QObject::connect(&in, &MIDIInput::Message, [&] {
    deepest = std::max(deepest, ++depth);
    const std::uint8_t id = in.MessageData1();
    seen.push_back(id);
    if (id == 1) {
      // While the first is handled, two more arrive (one from another thread) and the handler
      // lets events run, as a reply wait does.
      loopback::SendToProgram({0x90, 2, 1});
      std::thread([] { loopback::SendToProgram({0x90, 3, 1}); }).join();
      QEventLoop loop;
      QTimer::singleShot(50, &loop, &QEventLoop::quit);
      loop.exec();
      EXPECT_EQ(in.MessageCount(), 3);  // they queued, nobody was told yet
    }
    in.SetAction(midi::Release);
    --depth;
  });
  loopback::SendToProgram({0x90, 1, 1});
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 3; }));
  Pump();
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(seen, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(in.MessageCount(), 0);
}

TEST_F(MessageEvent, HandlerWaitingForALaterMessageSeesItQueue) {
  // A handler that waits (letting events run) until a second message has queued, then takes
  // both: the second is not announced separately since nothing is left for it.
  MIDIInput in;
  OpenStarted(in);
  int raised = 0;
  QObject::connect(&in, &MIDIInput::Message, [&] {
    ++raised;
    if (in.MessageCount() == 1) {
      QTimer::singleShot(5, [] { loopback::SendToProgram({0x90, 2, 1}); });
      EXPECT_TRUE(PumpUntil([&] { return in.MessageCount() == 2; }));
    }
    while (in.MessageCount() > 0) in.SetAction(midi::Release);
  });
  loopback::SendToProgram({0x90, 1, 1});
  ASSERT_TRUE(PumpUntil([&] { return raised >= 1 && in.MessageCount() == 0; }));
  Pump();
  EXPECT_EQ(raised, 1);
}

TEST_F(MessageEvent, ControlDeletedByItsHandlerOrWithWorkPendingIsSafe) {
  auto* in = new MIDIInput;
  OpenStarted(*in);
  int raised = 0;
  QObject::connect(in, &MIDIInput::Message, [&] {
    ++raised;
    delete in;
  });
  loopback::SendToProgram({0x90, 1, 1});
  loopback::SendToProgram({0x90, 2, 1});
  ASSERT_TRUE(PumpUntil([&] { return raised == 1; }));
  Pump();
  EXPECT_EQ(raised, 1);

  auto* other = new MIDIInput;
  OpenStarted(*other);
  loopback::SendToProgram({0x90, 1, 1});  // its wake-up is posted, not yet run
  delete other;
  Pump();
  loopback::SendToProgram({0x90, 1, 1});  // no port left: nothing to deliver to
  Pump();
}

TEST_F(MessageEvent, PeerAnsweringAtOnceIsStillQueued) {
  // The emulator may answer inside fromProgram; the answer must not reach the handler before
  // the transmit returns.
  plat::loopback::Peer peer;
  peer.fromProgram = [](const Message& m) { loopback::SendToProgram({0xF0, m.size() > 1 ? m[1] : std::uint8_t{0}, 0xF7}); };
  loopback::Attach(peer);
  MIDIInput in;
  OpenStarted(in);
  plat::MIDIOutput out;
  out.SetAction(midi::Open);
  int raised = 0;
  QObject::connect(&in, &MIDIInput::Message, [&] { ++raised; });
  out.SetMessageStatus(0x90);
  out.SetMessageData1(0x22);
  out.SetAction(midi::Transmit);
  EXPECT_EQ(raised, 0);
  ASSERT_TRUE(PumpUntil([&] { return raised == 1; }));
  EXPECT_EQ(in.SysExMessage(), (plat::Bytes{0xF0, 0x22, 0xF7}));
}
