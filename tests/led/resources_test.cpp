// The library's resource table read from the file without loading it: the toolbox picture, the
// version information and the type library; and the control's type information.
#include "platform/com/resources.h"
#include "platform/com/typelib.h"
#include "tests/led/led_support.h"

using namespace ledtest;
using namespace glimmet;
namespace res = plat::res;

namespace {

std::vector<std::uint8_t> Table() {
  auto table = res::ReadTable(GLIMMET_LIBRARY);
  return table ? *table : std::vector<std::uint8_t>{};
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

}  // namespace

TEST(Resources, TheToolboxPictureIs21By21In16Colours) {
  const auto table = Table();
  const auto bmp = res::Find(table, res::kBitmap, IDB_LED);
  ASSERT_TRUE(bmp);
  ASSERT_EQ(bmp->size(), 40u + 64u + 12u * 21u);
  struct Field { std::size_t at; std::uint32_t value; };
  for (const Field f : {Field{0, 40}, Field{4, 21}, Field{8, 21}, Field{32, 16}})
    EXPECT_EQ(U32(*bmp, f.at), f.value) << f.at;
  EXPECT_EQ((*bmp)[12] | (*bmp)[13] << 8, 1);  // planes
  EXPECT_EQ((*bmp)[14] | (*bmp)[15] << 8, 4);  // bits per pixel
  // The middle pixel (10, 10) is the lamp's red, entry 9 of the palette.
  const std::size_t row = 104 + 12 * (20 - 10);
  EXPECT_EQ((*bmp)[row + 5] >> 4, 9);
  EXPECT_EQ(U32(*bmp, 40 + 4 * 9), 0x00FF0000u);  // blue, green, red, 0
}

TEST(Resources, VersionInformationAnnouncesSelfRegistration) {
  const auto table = Table();
  const auto text = res::Find(table, res::kVersion, 1);
  ASSERT_TRUE(text);
  struct Row { const char* key; const char* value; };
  for (const Row r : {Row{"FileVersion", "2.00.003"}, Row{"ProductVersion", "2.00.003"},
                      Row{"FileDescription", "Pendrel LED Control"}, Row{"InternalName", "Glimmet"},
                      Row{"ProductName", "Glimmet"}, Row{"OriginalFilename", "Glimmet.OCX"},
                      Row{"OLESelfRegister", ""}, Row{"Translation", "0409 04B0"}})
    EXPECT_EQ(res::TextValue(*text, r.key), r.value) << r.key;
  EXPECT_EQ(res::TextValue(*text, "CompanyName"), std::nullopt);
}

TEST(Resources, TheTypeLibraryDescribesTheClassTheEnumerationsAndTheHelpFile) {
  const auto table = Table();
  const auto text = res::Find(table, res::kTypeLib, 1);
  ASSERT_TRUE(text);
  const auto lib = plat::com::ParseTypeLib(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
  ASSERT_TRUE(lib);
  EXPECT_EQ(lib->name, "LedLib");
  EXPECT_EQ(lib->libid, LIBID_LedLib);
  EXPECT_EQ(lib->major, 2);
  EXPECT_EQ(lib->minor, 0);
  EXPECT_EQ(lib->helpFile, "led.hlp");
  EXPECT_EQ(lib->helpString, "Pendrel LED Control");
  EXPECT_EQ(lib->imports, (std::vector<std::string>{"stdole32.tlb", "stdole2.tlb"}));
  ASSERT_EQ(lib->coclasses.size(), 1u);
  EXPECT_EQ(lib->coclasses[0].name, "LED");
  EXPECT_EQ(lib->coclasses[0].clsid, CLSID_LED);
  EXPECT_EQ(lib->coclasses[0].defaultInterface, IID_DLED);
  EXPECT_EQ(lib->coclasses[0].eventSource, IID_DLEDEvents);
  ASSERT_EQ(lib->enums.size(), 2u);
  using Values = std::vector<std::pair<std::string, std::int32_t>>;
  EXPECT_EQ(lib->enums[0].name, "BevelConstants");
  EXPECT_EQ(lib->enums[0].values, (Values{{"pnBevelNone", 0}, {"pnBevelRaised", 1}, {"pnBevelInset", 2},
                                          {"pnBevelLowered", 3}, {"pnBevelSolid", 4}}));
  EXPECT_EQ(lib->enums[1].name, "ShapeConstants");
  EXPECT_EQ(lib->enums[1].values, (Values{{"pnShapeRectangle", 0}, {"pnShapeEllipse", 1}}));
  ASSERT_EQ(lib->interfaces.size(), 2u);
  EXPECT_EQ(lib->interfaces[1].iid, IID_DLEDEvents);
  EXPECT_EQ(lib->interfaces[1].members.size(), 5u);
}

using TypeInformation = LedTest;

TEST_F(TypeInformation, TheControlGivesItsDispatchInterfaceOnceTheLibraryIsRegistered) {
  ComPtr<IControl> lamp = NewLamp();
  unsigned count = 0;
  EXPECT_EQ(lamp->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  plat::com::TypeInfo info;
  EXPECT_EQ(lamp->GetTypeInfo(0, 0x0409, &info), plat::com::TYPE_E_LIBNOTREGISTERED);

  ASSERT_EQ(Glimmet().registerServer(), S_OK);
  EXPECT_EQ(lamp->GetTypeInfo(1, 0x0409, &info), plat::com::DISP_E_BADINDEX);
  EXPECT_EQ(lamp->GetTypeInfo(0, 0x0409, nullptr), E_POINTER);
  ASSERT_EQ(lamp->GetTypeInfo(0, 0x0409, &info), S_OK);
  EXPECT_EQ(info.libid, LIBID_LedLib);
  EXPECT_EQ(info.helpFile, "led.hlp");
  EXPECT_EQ(info.itf.iid, IID_DLED);
  EXPECT_EQ(info.itf.name, "_DLED");
  // Every member it names is the control's own, under the same dispatch id.
  ASSERT_EQ(info.itf.members.size(), 17u);
  for (const auto& m : info.itf.members) {
    DISPID id = 12345;
    EXPECT_EQ(lamp->GetIDsOfNames(m.name, &id), S_OK) << m.name;
    EXPECT_EQ(id, m.id) << m.name;
  }
}
