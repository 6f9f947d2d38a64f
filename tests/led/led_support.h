#pragma once
// What the lamp tests share: the library loaded as a host loads it, a fresh registry per test,
// a client site that counts repaint requests, and short ways to set, read, save and draw.

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "led/led_ids.h"
#include "platform/activex/control.h"
#include "platform/activex/prop_page.h"
#include "platform/com/server.h"

namespace ledtest {

using namespace plat::com;
using plat::ax::IControl;

struct Library {
  void* handle = nullptr;
  DllRegisterServerFn registerServer = nullptr;
  DllUnregisterServerFn unregisterServer = nullptr;
  DllGetClassObjectFn getClassObject = nullptr;
  DllCanUnloadNowFn canUnloadNow = nullptr;
  std::string path;  // absolute
};
// libglimmet.so, loaded once per test program.
const Library& Glimmet();

// Every test starts with an empty registry of its own.
class LedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string RegistryDir() const { return dir_.path().toStdString(); }

 private:
  QTemporaryDir dir_;
  std::string old_;
};

// A new lamp straight from the library's class factory (no registration needed).
ComPtr<IControl> NewLamp();
ComPtr<plat::ax::IPropertyPage> NewPage();

class TestSite : public plat::ax::IClientSite {
 public:
  virtual ~TestSite() = default;
  bool userMode = true;
  plat::gdi::OLE_COLOR ambient = 0x00123456;
  int invalidations = 0;
  bool AmbientUserMode() override { return userMode; }
  plat::gdi::OLE_COLOR AmbientBackColor() override { return ambient; }
  void InvalidateControl() override { ++invalidations; }
  std::int32_t WindowHandle() override { return 77; }
};

// Property access; errors as the member's scode.
HRESULT Put(IControl* c, DISPID id, const Variant& v);
Variant Get(IControl* c, DISPID id);
std::int32_t GetInt(IControl* c, DISPID id);

std::vector<std::uint8_t> Save(IControl* c);
// A default lamp's 48-byte block with the given changes at byte offsets.
std::vector<std::uint8_t> DefaultBlock();

// Draws the lamp into a recording context of w by h pixels.
struct Drawing {
  std::vector<std::string> calls;
  QImage image;
};
Drawing Draw(IControl* c, int w = 32, int h = 32);
Drawing DrawMetafile(IControl* c, int w, int h);
// Draws into a memory context that records nothing (for many or large drawings).
QImage DrawQuiet(IControl* c, int w, int h);
plat::gdi::COLORREF Pixel(const QImage& image, int x, int y);

}  // namespace ledtest
