// The backends' shared helpers: device names, short-message lengths, System Exclusive reassembly.
#include <gtest/gtest.h>

#include "platform/midi/midi_backend.h"

using plat::midi::ShortMessageLength;
using plat::midi::StripClientPort;
using plat::midi::SysExAssembler;
using Message = std::vector<std::uint8_t>;

TEST(DeviceNames, AlsaClientPortNumbersAreStripped) {
  EXPECT_EQ(StripClientPort("Midi Through:Midi Through Port-0 14:0"), "Midi Through:Midi Through Port-0");
  EXPECT_EQ(StripClientPort("Vesk Emulator:Vesk Emulator 128:0"), "Vesk Emulator:Vesk Emulator");
  EXPECT_EQ(StripClientPort("UM-ONE:UM-ONE MIDI 1 20:0"), "UM-ONE:UM-ONE MIDI 1");
}

TEST(DeviceNames, OtherNamesAreKept) {
  for (const char* name : {"Vesk Emulator:out", "system:midi_capture_1", "Port 1", "a 12:", "a :3", "12:0",
                           "a 1:2:3x", "", "Synth 14:0 left", "a12:0"})
    EXPECT_EQ(StripClientPort(name), name) << name;
  EXPECT_EQ(StripClientPort("a 1:2 3:4"), "a 1:2");  // only the last pair goes
}

TEST(ShortMessages, LengthByStatus) {
  for (int s = 0x00; s < 0x80; ++s) EXPECT_EQ(ShortMessageLength(static_cast<std::uint8_t>(s)), 0u) << s;
  for (int s : {0x80, 0x9F, 0xA0, 0xB7, 0xE0, 0xEF, 0xF2}) EXPECT_EQ(ShortMessageLength(static_cast<std::uint8_t>(s)), 3u) << s;
  for (int s : {0xC0, 0xCF, 0xD0, 0xDF, 0xF1, 0xF3}) EXPECT_EQ(ShortMessageLength(static_cast<std::uint8_t>(s)), 2u) << s;
  for (int s : {0xF6, 0xF8, 0xF9, 0xFA, 0xFC, 0xFE, 0xFF}) EXPECT_EQ(ShortMessageLength(static_cast<std::uint8_t>(s)), 1u) << s;
  for (int s : {0xF0, 0xF4, 0xF5, 0xF7}) EXPECT_EQ(ShortMessageLength(static_cast<std::uint8_t>(s)), 0u) << s;
}

class Assembly : public ::testing::Test {
 protected:
  void Feed(const Message& piece) {
    assembler.Feed(piece.data(), piece.size(), [this](Message&& m) { out.push_back(std::move(m)); });
  }
  SysExAssembler assembler{64};
  std::vector<Message> out;
};

TEST_F(Assembly, WholeMessagesPassUnchanged) {
  Feed({0x90, 1, 2});
  Feed({0xF0, 1, 2, 3, 0xF7});
  Feed({0xFE});
  EXPECT_EQ(out, (std::vector<Message>{{0x90, 1, 2}, {0xF0, 1, 2, 3, 0xF7}, {0xFE}}));
  EXPECT_FALSE(assembler.Assembling());
}

TEST_F(Assembly, PiecesAreJoined) {
  Feed({0xF0, 1, 2});
  Feed({3, 4});
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(assembler.Assembling());
  Feed({5, 0xF7});
  EXPECT_EQ(out, (std::vector<Message>{{0xF0, 1, 2, 3, 4, 5, 0xF7}}));
  Feed({0xF0, 9});
  Feed({0xF7});  // the end byte alone
  EXPECT_EQ(out.back(), (Message{0xF0, 9, 0xF7}));
}

TEST_F(Assembly, RealTimeBytesInsideGoThroughAndTheMessageGoesOn) {
  Feed({0xF0, 1});
  Feed({0xF8});
  Feed({2, 0xFE, 3, 0xF7});
  EXPECT_EQ(out, (std::vector<Message>{{0xF8}, {0xFE}, {0xF0, 1, 2, 3, 0xF7}}));
}

TEST_F(Assembly, AnotherStatusAbandonsTheUnfinishedMessage) {
  Feed({0xF0, 1, 2});
  Feed({0x90, 1, 2});
  Feed({3, 0xF7});  // the rest of the abandoned message goes nowhere
  EXPECT_EQ(out, (std::vector<Message>{{0x90, 1, 2}}));
  Feed({0xF0, 1});
  Feed({0xF0, 2, 0xF7});  // a new start abandons the old one too
  EXPECT_EQ(out.back(), (Message{0xF0, 2, 0xF7}));
  EXPECT_EQ(out.size(), 2u);
}

TEST_F(Assembly, StrayBytesAreDropped) {
  Feed({1, 2, 3});
  Feed({0xF7});
  EXPECT_TRUE(out.empty());
}

TEST_F(Assembly, TwoMessagesInOnePiece) {
  Feed({0xF0, 1, 0xF7, 0xF0, 2, 0xF7});
  EXPECT_EQ(out, (std::vector<Message>{{0xF0, 1, 0xF7}, {0xF0, 2, 0xF7}}));
}

TEST_F(Assembly, OverlongMessageIsDroppedWholeAndTheNextIsFine) {
  Message big(100, 0x11);
  big.front() = 0xF0;
  big.back() = 0xF7;
  Feed(Message(big.begin(), big.begin() + 50));
  Feed(Message(big.begin() + 50, big.end()));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(assembler.Assembling());
  Feed({0xF0, 1, 0xF7});
  EXPECT_EQ(out, (std::vector<Message>{{0xF0, 1, 0xF7}}));
}

TEST(AssemblyLimit, DefaultTakesLargeMessages) {
  SysExAssembler assembler;
  Message big(256 * 1024, 0x22);
  big.front() = 0xF0;
  big.back() = 0xF7;
  std::vector<Message> out;
  for (std::size_t at = 0; at < big.size(); at += 256)  // as ALSA splits it
    assembler.Feed(big.data() + at, std::min<std::size_t>(256, big.size() - at), [&](Message&& m) { out.push_back(m); });
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0], big);
}
