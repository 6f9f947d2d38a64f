// The number formats and note names the pages show and the senders read.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "editing/note_name.h"
#include "editing/number_text.h"

namespace tavoro {
namespace {

TEST(NumberText, HexTextAtTheValuesOwnWidth) {
  struct Case {
    std::int32_t value;
    bool sixteen;
    const char* text;
  };
  const Case cases[] = {
      {0, true, "0"},           {0, false, "0"},
      {10, true, "A"},          {0x7FFF, true, "7FFF"},
      {-1, true, "FFFF"},       {-1, false, "FFFFFFFF"},
      {-32768, true, "8000"},   {std::numeric_limits<std::int32_t>::min(), false, "80000000"},
      {0x1000, false, "1000"},  {0xABCDEF, false, "ABCDEF"},
  };
  for (const auto& c : cases) {
    const std::string got = c.sixteen ? HexText(static_cast<std::int16_t>(c.value)) : HexText(c.value);
    EXPECT_EQ(got, c.text) << c.value << (c.sixteen ? " as 16 bits" : " as 32 bits");
  }
}

TEST(NumberText, SingleTextShowsWhatASingleHolds) {
  struct Case {
    float value;
    const char* text;
  };
  const Case cases[] = {
      {127.99f, "127.99"},    {12799 / 100.0f, "127.99"}, {60.5f, "60.5"},  {60.0f, "60"},
      {0.5f, "0.5"},          {-0.5f, "-0.5"},            {-120.0f, "-120"}, {0.0f, "0"},
      {-0.0f, "0"},           {1234567.0f, "1234567"},    {0.01f, "0.01"},   {-12000 / 100.0f, "-120"},
  };
  for (const auto& c : cases) EXPECT_EQ(SingleText(c.value), c.text) << c.value;
}

TEST(NumberText, TrimRemovesBlanksOnly) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"  Piano  ", "Piano"}, {"Piano", "Piano"}, {"   ", ""},          {"", ""},
      {"\tPiano\t", "\tPiano\t"}, {" a b ", "a b"}, {"\n x", "\n x"},
  };
  for (const auto& c : cases) EXPECT_EQ(Trim(c.in), c.out) << '"' << c.in << '"';
}

TEST(NumberText, ParseInt16TakesTheWholeTextOrNothing) {
  struct Case {
    const char* text;
    std::optional<std::int16_t> value;
  };
  const Case cases[] = {
      {"0", 0},          {"12", 12},           {"-5", -5},         {"+7", 7},
      {" 42 ", 42},      {"007", 7},           {"32767", 32767},   {"-32768", -32768},
      {"", std::nullopt}, {" ", std::nullopt}, {"-", std::nullopt}, {"12a", std::nullopt},
      {"a12", std::nullopt}, {"1 2", std::nullopt}, {"32768", std::nullopt}, {"-32769", std::nullopt},
      {"99999999999999999999", std::nullopt},  {"--5", std::nullopt}, {"1.5", std::nullopt},
      {"\t3", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInt16(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberText, RoundHalfEvenSendsHalvesToTheEvenNeighbour) {
  struct Case {
    double in;
    double out;
  };
  const Case cases[] = {
      {2.5, 2},   {3.5, 4},    {0.5, 0},     {-0.5, 0},    {-1.5, -2},  {-2.5, -2},
      {2.4, 2},   {2.6, 3},    {-2.6, -3},   {6050.0, 6050}, {127.99 * 100, 12799}, {12000.5, 12000},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(NoteNames, EveryPlaceInTheOctaveAndNumbersThatAreNoNote) {
  struct Case {
    std::int16_t note;
    const char* name;
  };
  const Case cases[] = {
      {60, "C4"}, {61, "C#4"}, {62, "D4"},  {63, "D#4"}, {64, "E4"},  {65, "F4"},  {66, "F#4"}, {67, "G4"},
      {68, "G#4"}, {69, "A4"}, {70, "A#4"}, {71, "B4"},  {72, "C5"},  {0, "C-"},   {1, "C#-"},  {11, "B-"},
      {12, "C0"}, {23, "B0"},  {127, "G9"}, {128, "G#9"}, {-1, ""},    {-12, ""},   {32767, ""}, {-32768, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NoteName(c.note), c.name) << c.note;
}

}  // namespace
}  // namespace tavoro
