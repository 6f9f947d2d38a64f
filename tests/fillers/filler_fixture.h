#pragma once
// A started program whose store the test sets before it runs a page filler on the real window.

#include "editing/page_fillers.h"
#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {

class FillerFixture : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    ASSERT_EQ(Start(), 0);
    boxes.boxes.clear();
  }
  ObjectStore& store() { return app->store; }
  TabPages& pages() { return w().pages; }
  EditContext Ctx() { return w().Editing(); }
  // The error boxes shown so far, as "procedure\r\nmessage".
  std::string LastBox() const { return boxes.boxes.empty() ? std::string() : boxes.boxes.back().text; }
};

inline DirEntry Entry(std::int16_t index, std::int16_t number, std::string name) {
  return DirEntry{index, number, std::move(name)};
}

}  // namespace tavoro::testing
