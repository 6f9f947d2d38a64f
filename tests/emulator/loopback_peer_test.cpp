// The emulator plugged into the program's own MIDI controls over the loopback bus: replies come
// back through the input control, on the event loop, when they are due.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "emulator/loopback/loopback_peer.h"
#include "platform/midi/midi_controls.h"
#include "platform/ui/wait.h"
#include "tests/emulator/emu_test_util.h"

namespace emu {
namespace {
using namespace emu::test;

// The program's side: both controls open on the loopback device, every message collected.
class Program {
 public:
  Program() {
    plat::midi::SetBackendOverride("loopback");
    in_.SetDeviceID(0);
    in_.SetAction(plat::midi::Open);
    in_.SetAction(plat::midi::Start);
    QObject::connect(&in_, &plat::MIDIInput::Message, [this] {
      while (in_.MessageCount() > 0) {
        got.push_back(in_.SysExMessage().vec());
        in_.SetAction(plat::midi::Release);
      }
    });
    out_.SetDeviceID(0);
    out_.SetAction(plat::midi::Open);
  }
  ~Program() {
    in_.SetAction(plat::midi::Stop);
    in_.SetAction(plat::midi::Close);
    out_.SetAction(plat::midi::Close);
    plat::midi::SetBackendOverride("");
  }
  void send(const Message& m) {
    out_.SetMessageStatus(0xF0);
    out_.SetSysExMessage(plat::Bytes(m));
    out_.SetAction(plat::midi::Start);
    out_.SetAction(plat::midi::Transmit);
    out_.SetAction(plat::midi::Stop);
  }
  bool waitFor(std::size_t count, int ms = 2000) {
    return plat::WaitUntil([&] { return got.size() >= count; }, ms) == plat::WaitResult::Done;
  }
  std::vector<Message> got;

 private:
  plat::MIDIInput in_;
  plat::MIDIOutput out_;
};

const Message kKey = Req({0x11, 0x01, 0x01, 0x00});

TEST(LoopbackPeer, AnswersThroughTheProgramsInputOnTheEventLoop) {
  LoopbackPeer peer;
  Program program;
  program.send(kKey);
  EXPECT_TRUE(program.got.empty()) << "never delivered from inside the send";
  ASSERT_TRUE(program.waitFor(1));
  EXPECT_EQ(program.got[0], Status(0));
  ASSERT_EQ(peer.vesk().received().size(), 1u);
  EXPECT_EQ(peer.vesk().received()[0], kKey);
  EXPECT_EQ(peer.pendingReplies(), 0);
}

TEST(LoopbackPeer, HonoursTheReplyDelay) {
  LoopbackPeer peer;
  Program program;
  peer.vesk().setReplyDelay(300);
  const auto start = std::chrono::steady_clock::now();
  program.send(kKey);
  EXPECT_FALSE(program.waitFor(1, 100));
  ASSERT_TRUE(program.waitFor(1, 3000));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
}

TEST(LoopbackPeer, SeveralRepliesAndUnsolicitedMessagesArriveInOrder) {
  LoopbackPeer peer;
  Program program;
  peer.vesk().setRepeat(3);
  peer.vesk().setUnsolicited(true, 0);
  peer.vesk().setUnsolicitedMessage(Status(7));
  program.send(kKey);
  ASSERT_TRUE(program.waitFor(4));
  EXPECT_EQ(program.got, (std::vector<Message>{Status(0), Status(0), Status(0), Status(7)}));

  peer.vesk().clearFaults();
  peer.sendUnsolicited(Status(5), 10);
  ASSERT_TRUE(program.waitFor(5));
  EXPECT_EQ(program.got.back(), Status(5));
}

TEST(LoopbackPeer, RepliesStillPendingWhenThePeerGoesAreDropped) {
  Program program;
  {
    LoopbackPeer peer;
    peer.vesk().setReplyDelay(50);
    program.send(kKey);
    EXPECT_EQ(peer.pendingReplies(), 1);
  }
  EXPECT_FALSE(program.waitFor(1, 200));
  program.send(kKey);  // nobody attached: nothing answers, nothing breaks
  EXPECT_FALSE(program.waitFor(1, 50));
}

}  // namespace
}  // namespace emu
