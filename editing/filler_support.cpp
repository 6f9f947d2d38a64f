#include "editing/filler_support.h"

#include "editing/number_text.h"

namespace tavoro::fill {

int Selector(plat::ctl::TextBox& box, int initial, int first, int last) {
  if (box.Text().empty()) box.SetText(std::to_string(initial));
  const auto v = ParseInt16(box.Text());
  if (!v || *v < first || *v > last) throw std::runtime_error(box.Name() + " holds no selector number");
  return *v;
}

const DirEntry* FindEntry(const ObjDir& dir, int number) {
  for (const DirEntry& e : dir.Entries)
    if (e.Number == number) return &e;
  return nullptr;
}

void ShowNoneLoaded(plat::ctl::TextBox& number, plat::ctl::TextBox& name, const char* none) {
  number.SetText("");
  name.SetText(none);
  number.SetEnabled(false);
  name.SetEnabled(false);
}

const DirEntry* ShowUsedObject(plat::ctl::TextBox& number, plat::ctl::TextBox& name, const ObjDir& dir, int n) {
  ShowNumber(number, n);
  const DirEntry* e = FindEntry(dir, n);
  if (e != nullptr) name.SetText(Trim(e->Name));
  return e;
}

}  // namespace tavoro::fill
