#include "pages/page_texts.h"

#include <map>

namespace tavoro::pages {

namespace {

const std::map<int, std::string_view>& ControllerNames() {
  static const std::map<int, std::string_view> names = {
      {1, "(mod wheel)"},    {2, "(breath ctl)"},  {4, "(foot ctl)"},     {5, "(porta time)"},
      {6, "(data entry)"},   {7, "(volume)"},      {8, "(balance)"},      {10, "(pan)"},
      {11, "(expression)"},  {16, "(gen purp 1)"}, {17, "(gen purp 2)"},  {18, "(gen purp 3)"},
      {19, "(gen purp 4)"},  {33, "(mod wheel)"},  {34, "(breath ctl)"},  {36, "(foot ctl)"},
      {37, "(porta time)"},  {38, "(data entry)"}, {39, "(volume)"},      {40, "(balance)"},
      {42, "(pan)"},         {43, "(expression)"}, {48, "(gen purp 1)"},  {49, "(gen purp 2)"},
      {50, "(gen purp 3)"},  {51, "(gen purp 4)"}, {64, "(sustain ped)"}, {65, "(porta ped)"},
      {66, "(sostenuto)"},   {67, "(soft pedal)"}, {69, "(hold 2 ped)"},  {80, "(gen purp 5)"},
      {81, "(gen purp 6)"},  {82, "(gen purp 7)"}, {83, "(gen purp 8)"},  {91, "(extern fx)"},
      {92, "(tremolo)"},     {93, "(chorus)"},     {94, "(celeste)"},     {95, "(phaser)"},
      {96, "(data incr)"},   {97, "(data decr)"},  {98, "(n-r prm ls)"},  {99, "(n-r parm ms)"},
      {100, "(reg prm ls)"}, {101, "(reg parm ms)"}};
  return names;
}

}  // namespace

std::vector<std::string> AuxControllerList() {
  std::vector<std::string> list;
  list.reserve(122);
  list.emplace_back("Off");
  for (int controller = 0; controller <= 120; ++controller) {
    std::string entry = std::to_string(controller);
    auto named = ControllerNames().find(controller);
    if (named != ControllerNames().end()) {
      // Two spaces stand for one digit, so the names line up in the list's proportional font:
      // "1     (mod wheel)", "10   (pan)", "100 (reg prm ls)".
      const std::size_t spaces = 7 - 2 * entry.size();
      entry.append(spaces, ' ');
      entry.append(named->second);
    }
    list.push_back(std::move(entry));
  }
  return list;
}

}  // namespace tavoro::pages
