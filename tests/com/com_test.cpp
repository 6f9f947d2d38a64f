// The small COM layer: identifiers, the automation variant, type library registration and
// finding a class's server through the registry.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "platform/com/reg_keys.h"
#include "platform/com/server.h"
#include "platform/com/typelib.h"
#include "platform/com/variant.h"

using namespace plat::com;

namespace {

// Each test gets a registry of its own.
class FreshRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    if (const char* old = std::getenv("TAVORO_REGISTRY_DIR")) old_ = old;
    setenv("TAVORO_REGISTRY_DIR", dir_.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override { setenv("TAVORO_REGISTRY_DIR", old_.c_str(), 1); }

 private:
  QTemporaryDir dir_;
  std::string old_;
};

constexpr GUID kLib = Guid("{11111111-2222-3333-4444-555555555555}");
constexpr IID kItfA = Guid("{11111111-2222-3333-4444-5555555555A1}");
constexpr IID kItfB = Guid("{11111111-2222-3333-4444-5555555555B2}");

}  // namespace

TEST(Guid, ParsesAndFormatsTheRegistryForm) {
  constexpr GUID g = Guid("{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7}");
  EXPECT_EQ(g.data1, 0x3B9C41EFu);
  EXPECT_EQ(g.data2, 0x0FF1);
  EXPECT_EQ(g.data3, 0x4DDF);
  EXPECT_EQ(g.data4[0], 0x81);
  EXPECT_EQ(g.data4[7], 0xE7);
  EXPECT_EQ(FormatGuid(g), "{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7}");
  EXPECT_EQ(ParseGuid("{3b9c41ef-0ff1-4ddf-8132-d472fdb12fe7}"), g);
  EXPECT_NE(g, Guid("{3B9C41F0-0FF1-4DDF-8132-D472FDB12FE7}"));
}

TEST(Guid, RefusesMalformedText) {
  for (const char* bad : {"", "3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7", "{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7",
                          "{3B9C41EF-0FF1-4DDF-8132_D472FDB12FE7}", "{3B9C41EG-0FF1-4DDF-8132-D472FDB12FE7}",
                          "{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7} ", "{3B9C41EF0-FF1-4DDF-8132-D472FDB12FE7}"})
    EXPECT_FALSE(ParseGuid(bad).has_value()) << bad;
}

TEST(Variant, ConversionsFollowTheAutomationRules) {
  std::int16_t i2 = 7;
  std::int32_t i4 = 7;
  bool b = false;
  std::string s;

  EXPECT_EQ(Variant().ToI2(&i2), S_OK);
  EXPECT_EQ(i2, 0);
  EXPECT_EQ(Variant::Bool(true).ToI2(&i2), S_OK);
  EXPECT_EQ(i2, -1);
  EXPECT_EQ(Variant::I4(-32768).ToI2(&i2), S_OK);
  EXPECT_EQ(i2, -32768);
  EXPECT_EQ(Variant::Text(" 42 ").ToI4(&i4), S_OK);
  EXPECT_EQ(i4, 42);
  EXPECT_EQ(Variant::Text("-7").ToI2(&i2), S_OK);
  EXPECT_EQ(i2, -7);
  EXPECT_EQ(Variant::Text("true").ToBool(&b), S_OK);
  EXPECT_TRUE(b);
  EXPECT_EQ(Variant::I2(2).ToBool(&b), S_OK);
  EXPECT_TRUE(b);
  EXPECT_EQ(Variant::I4(0).ToBool(&b), S_OK);
  EXPECT_FALSE(b);
  EXPECT_EQ(Variant::Bool(false).ToText(&s), S_OK);
  EXPECT_EQ(s, "False");
  EXPECT_EQ(Variant::I4(-12).ToText(&s), S_OK);
  EXPECT_EQ(s, "-12");
}

TEST(Variant, ConversionsThatDoNotFitFailInsteadOfWrapping) {
  std::int16_t i2 = 5;
  std::int32_t i4 = 5;
  EXPECT_EQ(Variant::I4(32768).ToI2(&i2), DISP_E_OVERFLOW);
  EXPECT_EQ(Variant::I4(-32769).ToI2(&i2), DISP_E_OVERFLOW);
  EXPECT_EQ(Variant::Text("70000").ToI2(&i2), DISP_E_OVERFLOW);
  EXPECT_EQ(Variant::Text("99999999999").ToI4(&i4), DISP_E_OVERFLOW);
  EXPECT_EQ(Variant::Text("99999999999999999999999").ToI4(&i4), DISP_E_OVERFLOW);
  EXPECT_EQ(Variant::Text("12x").ToI2(&i2), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Variant::Text("").ToI2(&i2), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Variant::Text("+").ToI2(&i2), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(i2, 5);  // untouched by the failures
  EXPECT_EQ(i4, 5);

  Variant out = Variant::I2(1);
  EXPECT_EQ(Variant::I4(40000).ChangeType(VarType::I2, &out), DISP_E_OVERFLOW);
  EXPECT_EQ(out, Variant::I2(1));
  EXPECT_EQ(Variant::I4(-1).ChangeType(VarType::Bool, &out), S_OK);
  EXPECT_EQ(out, Variant::Bool(true));
}

TEST_F(FreshRegistry, TypeLibraryRegistersAndUnregistersItsKeys) {
  TypeLibAttr lib{kLib, 2, 0, "TestLib", "Test Library", "test.hlp", {{kItfA, "_DA", {}}, {kItfB, "_DB", {}}}, {}, {}, {}};
  ASSERT_EQ(RegisterTypeLib(lib, "/opt/x/libtest.so", ""), S_OK);
  const std::string ver = "TypeLib\\" + FormatGuid(kLib) + "\\2.0";
  EXPECT_EQ(GetClassesString(ver, ""), "Test Library");
  EXPECT_EQ(GetClassesString(ver + "\\0\\linux", ""), "/opt/x/libtest.so");
  EXPECT_EQ(GetClassesString(ver + "\\HELPDIR", ""), "/opt/x");
  EXPECT_EQ(GetClassesString("Interface\\" + FormatGuid(kItfA), ""), "_DA");
  EXPECT_EQ(GetClassesString("Interface\\" + FormatGuid(kItfB) + "\\TypeLib", ""), FormatGuid(kLib));
  EXPECT_EQ(GetClassesString("Interface\\" + FormatGuid(kItfB) + "\\TypeLib", "Version"), "2.0");

  // An interface of another library survives.
  const std::string other = "Interface\\{99999999-2222-3333-4444-555555555555}";
  ASSERT_TRUE(SetClassesString(other + "\\TypeLib", "", "{99999999-0000-0000-0000-000000000000}"));

  EXPECT_EQ(UnRegisterTypeLib(kLib, 2, 0), S_OK);
  EXPECT_FALSE(ClassesKeyExists("TypeLib\\" + FormatGuid(kLib)));
  EXPECT_FALSE(ClassesKeyExists("Interface\\" + FormatGuid(kItfA)));
  EXPECT_FALSE(ClassesKeyExists("Interface\\" + FormatGuid(kItfB)));
  EXPECT_TRUE(ClassesKeyExists(other));
  EXPECT_EQ(UnRegisterTypeLib(kLib, 2, 0), TYPE_E_LIBNOTREGISTERED);
}

TEST_F(FreshRegistry, TypeLibraryRegistrationReportsAnUnwritableRegistry) {
  // A registry directory below a plain file cannot be created, even by root.
  QTemporaryDir dir;
  const std::string file = dir.path().toStdString() + "/plain";
  FILE* f = std::fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  setenv("TAVORO_REGISTRY_DIR", (file + "/registry").c_str(), 1);
  TypeLibAttr lib{kLib, 1, 0, "TestLib", "Test Library", "", {}, {}, {}, {}};
  EXPECT_EQ(RegisterTypeLib(lib, "/x/libtest.so", ""), TYPE_E_REGISTRYACCESS);
}

TEST_F(FreshRegistry, ClassCreationFailsClearlyUntilAServerIsRegistered) {
  constexpr CLSID cls = Guid("{ABCDEF01-2222-3333-4444-555555555555}");
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(cls, nullptr, IID_IUnknown, &out), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(CoCreateInstance(cls, nullptr, IID_IUnknown, nullptr), E_POINTER);

  const std::string key = "CLSID\\" + FormatGuid(cls) + "\\InprocServer32";
  ASSERT_TRUE(SetClassesString(key, "", "/nonexistent/libnothing.so"));
  EXPECT_EQ(InprocServerPath(cls), "/nonexistent/libnothing.so");
  EXPECT_EQ(CoCreateInstance(cls, nullptr, IID_IUnknown, &out), CO_E_DLLNOTFOUND);

  ASSERT_TRUE(SetClassesString(key, "", PLATFORM_LIBRARY));  // loads, but serves no classes
  EXPECT_EQ(CoCreateInstance(cls, nullptr, IID_IUnknown, &out), CO_E_ERRORINDLL);
  EXPECT_EQ(out, nullptr);
}
