// Self-registration, the exported symbols, class objects and the registration tool.
#include <QProcess>
#include <cstdio>
#include <set>

#include "platform/com/reg_keys.h"
#include "tests/led/led_support.h"

using namespace ledtest;
using namespace glimmet;

namespace {

const std::string kCtrlKey = "CLSID\\" + FormatGuid(CLSID_LED);
const std::string kPageKey = "CLSID\\" + FormatGuid(CLSID_LedPropPage);
const std::string kLibKey = "TypeLib\\" + FormatGuid(LIBID_LedLib);

// Every key below HKEY_CLASSES_ROOT, as paths.
void Walk(const std::string& path, std::set<std::string>* out) {
  for (const std::string& name : ClassesSubkeys(path)) {
    const std::string child = path.empty() ? name : path + "\\" + name;
    out->insert(child);
    Walk(child, out);
  }
}

// Every key below HKEY_CLASSES_ROOT but the shared folders every server registers under.
std::set<std::string> AllKeys() {
  std::set<std::string> keys;
  Walk("", &keys);
  for (const char* shared : {"CLSID", "Interface", "TypeLib"}) keys.erase(shared);
  return keys;
}

struct ToolRun {
  int exitCode;
  std::string out;
  std::string err;
};

ToolRun RunTool(const QStringList& args) {
  QProcess p;
  p.start(GLIMMET_REGSVR, args);
  p.waitForFinished(30000);
  return ToolRun{p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

}  // namespace

using Registration = LedTest;

TEST_F(Registration, WritesClassProgIdTypeLibraryAndPageKeysWithTheLibrarysPath) {
  ASSERT_EQ(Glimmet().registerServer(), S_OK);
  const std::string& path = Glimmet().path;
  ASSERT_EQ(path.front(), '/');

  EXPECT_EQ(GetClassesString(kCtrlKey, ""), "Pendrel LED Control");
  EXPECT_EQ(GetClassesString(kCtrlKey + "\\InprocServer32", ""), path);
  EXPECT_EQ(GetClassesString(kCtrlKey + "\\ProgID", ""), "Pendrel.LED");
  EXPECT_EQ(GetClassesString(kCtrlKey + "\\ToolboxBitmap32", ""), path + ", 1");
  EXPECT_EQ(GetClassesString(kCtrlKey + "\\MiscStatus\\1", ""), "131473");  // 0x20191
  EXPECT_EQ(GetClassesString(kCtrlKey + "\\TypeLib", ""), FormatGuid(LIBID_LedLib));
  EXPECT_EQ(GetClassesString(kCtrlKey + "\\Version", ""), "2.0");
  EXPECT_TRUE(ClassesKeyExists(kCtrlKey + "\\Control"));
  EXPECT_TRUE(ClassesKeyExists(kCtrlKey + "\\Insertable"));
  EXPECT_EQ(GetClassesString("Pendrel.LED", ""), "Pendrel LED Control");
  EXPECT_EQ(GetClassesString("Pendrel.LED\\CLSID", ""), FormatGuid(CLSID_LED));

  EXPECT_EQ(GetClassesString(kLibKey + "\\2.0", ""), "Pendrel LED Control");
  EXPECT_EQ(GetClassesString(kLibKey + "\\2.0\\0\\linux", ""), path);
  EXPECT_EQ(GetClassesString("Interface\\" + FormatGuid(IID_DLED), ""), "_DLED");
  EXPECT_EQ(GetClassesString("Interface\\" + FormatGuid(IID_DLEDEvents), ""), "_DLEDEvents");

  EXPECT_EQ(GetClassesString(kPageKey, ""), "Pendrel LED Property Page");
  EXPECT_EQ(GetClassesString(kPageKey + "\\InprocServer32", ""), path);
  EXPECT_FALSE(ClassesKeyExists(kPageKey + "\\ProgID"));
  EXPECT_FALSE(ClassesKeyExists("Pendrel.LED.PropPage"));

  // Registering again changes nothing.
  const auto before = AllKeys();
  EXPECT_EQ(Glimmet().registerServer(), S_OK);
  EXPECT_EQ(AllKeys(), before);
}

TEST_F(Registration, UnregisteringLeavesNoKeyOfTheLibraryAndSparesOthers) {
  ASSERT_TRUE(SetClassesString("CLSID\\{00000000-1111-2222-3333-444444444444}\\InprocServer32", "", "/x/other.so"));
  ASSERT_TRUE(SetClassesString("Other.Thing\\CLSID", "", "{00000000-1111-2222-3333-444444444444}"));
  const auto unrelated = AllKeys();

  ASSERT_EQ(Glimmet().registerServer(), S_OK);
  EXPECT_EQ(Glimmet().unregisterServer(), S_OK);
  EXPECT_EQ(AllKeys(), unrelated);
}

TEST_F(Registration, UnregisteringStopsAtTheTypeLibraryWhenItIsNotRegistered) {
  // Nothing registered, a second unregistration, and a type library removed by hand: the type
  // library step fails first, and the class keys stay as they were.
  struct Case { const char* what; bool registerFirst; bool unregisterFirst; bool dropLib; bool classesLeft; };
  for (const Case& c : {Case{"never registered", false, false, false, false},
                        Case{"unregistered twice", true, true, false, false},
                        Case{"type library keys removed by hand", true, false, true, true}}) {
    if (c.registerFirst) {
      ASSERT_EQ(Glimmet().registerServer(), S_OK) << c.what;
    }
    if (c.unregisterFirst) {
      ASSERT_EQ(Glimmet().unregisterServer(), S_OK) << c.what;
    }
    if (c.dropLib) {
      for (const std::string& key : {kLibKey, "Interface\\" + FormatGuid(IID_DLED), "Interface\\" + FormatGuid(IID_DLEDEvents)})
        ASSERT_TRUE(DeleteClassesTree(key)) << key;
    }
    const auto before = AllKeys();
    EXPECT_EQ(Glimmet().unregisterServer(), SELFREG_E_TYPELIB) << c.what;
    EXPECT_EQ(AllKeys(), before) << c.what;
    EXPECT_EQ(ClassesKeyExists(kCtrlKey), c.classesLeft) << c.what;
    EXPECT_EQ(ClassesKeyExists("Pendrel.LED"), c.classesLeft) << c.what;
    // Registering again and unregistering clears everything.
    ASSERT_EQ(Glimmet().registerServer(), S_OK) << c.what;
    EXPECT_EQ(Glimmet().unregisterServer(), S_OK) << c.what;
    EXPECT_FALSE(ClassesKeyExists(kCtrlKey)) << c.what;
  }
}

TEST_F(Registration, AnUnwritableRegistryFailsTheTypeLibraryStep) {
  const std::string file = RegistryDir() + "/plain";
  FILE* f = std::fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  setenv("TAVORO_REGISTRY_DIR", (file + "/registry").c_str(), 1);
  EXPECT_EQ(Glimmet().registerServer(), SELFREG_E_TYPELIB);
}

TEST_F(Registration, OnlyTheFourEntryPointsAreExported) {
  FILE* nm = popen(("nm -D --defined-only '" + Glimmet().path + "' 2>/dev/null").c_str(), "r");
  ASSERT_NE(nm, nullptr);
  std::set<std::string> names;
  char line[1024];
  while (std::fgets(line, sizeof line, nm)) {
    char type = 0;
    char name[900];
    if (std::sscanf(line, "%*s %c %899s", &type, name) == 2 && type != 'A') names.insert(name);
  }
  pclose(nm);
  const std::set<std::string> expected = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                          "DllUnregisterServer"};
  EXPECT_EQ(names, expected);
}

TEST_F(Registration, TheToolRegistersUnregistersAndSaysWhatHappened) {
  ToolRun r = RunTool({QString::fromStdString(Glimmet().path)});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "DllRegisterServer in " + Glimmet().path + " succeeded.\n");
  EXPECT_EQ(GetClassesString(kCtrlKey + "\\InprocServer32", ""), Glimmet().path);

  r = RunTool({"/u", QString::fromStdString(Glimmet().path)});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "DllUnregisterServer in " + Glimmet().path + " succeeded.\n");
  EXPECT_FALSE(ClassesKeyExists(kCtrlKey));

  r = RunTool({"/nonexistent/libnothing.so"});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("cannot load /nonexistent/libnothing.so"), std::string::npos);
  r = RunTool({});
  EXPECT_EQ(r.exitCode, 1);
}

using ClassObjects = LedTest;

TEST_F(ClassObjects, FactoriesServeTheirTwoClassesOnly) {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(Glimmet().getClassObject(&CLSID_LED, &IID_IClassFactory, factory.out()), S_OK);
  EXPECT_TRUE(factory);
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(Glimmet().getClassObject(&CLSID_LedPropPage, &IID_IUnknown, unknown.out()), S_OK);

  constexpr CLSID other = Guid("{3B9C41F4-0FF1-4DDF-8132-D472FDB12FE7}");
  void* p = reinterpret_cast<void*>(1);
  EXPECT_EQ(Glimmet().getClassObject(&other, &IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(Glimmet().getClassObject(&CLSID_LED, &IID_IDispatch, &p), E_NOINTERFACE);
  EXPECT_EQ(Glimmet().getClassObject(&CLSID_LED, &IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(ClassObjects, AggregationAndUnknownInterfacesAreRefusedWithoutLeaks) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(Glimmet().getClassObject(&CLSID_LED, &IID_IClassFactory, factory.out()), S_OK);
  ComPtr<IControl> outer = NewLamp();
  void* p = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, &p), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(p, nullptr);
  outer.Reset();
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);  // the refused object is gone

  ComPtr<IDispatch> byDispatchId;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_DLED, byDispatchId.out()), S_OK);
  ComPtr<IUnknown> asUnknown;
  EXPECT_EQ(byDispatchId.As(IID_IUnknown, &asUnknown), S_OK);
  ComPtr<IUnknown> notThere;
  EXPECT_EQ(byDispatchId.As(plat::ax::IID_IPropertyPage, &notThere), E_NOINTERFACE);
}

TEST_F(ClassObjects, TheLibraryCanUnloadOnlyWithoutLiveObjectsOrLocks) {
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);
  {
    ComPtr<IControl> lamp = NewLamp();
    EXPECT_EQ(Glimmet().canUnloadNow(), S_FALSE);
    ComPtr<IControl> second = lamp;
    lamp.Reset();
    EXPECT_EQ(Glimmet().canUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);
  {
    auto page = NewPage();
    EXPECT_EQ(Glimmet().canUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(Glimmet().getClassObject(&CLSID_LED, &IID_IClassFactory, factory.out()), S_OK);
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);  // holding a factory is no lock
  factory->LockServer(true);
  EXPECT_EQ(Glimmet().canUnloadNow(), S_FALSE);
  factory->LockServer(false);
  EXPECT_EQ(Glimmet().canUnloadNow(), S_OK);
}

TEST_F(ClassObjects, CoCreateInstanceFindsTheLampOnlyOnceRegistered) {
  ComPtr<IControl> lamp;
  EXPECT_EQ(CoCreateInstance(CLSID_LED, nullptr, plat::ax::IID_IControl, lamp.out()), REGDB_E_CLASSNOTREG);
  ASSERT_EQ(Glimmet().registerServer(), S_OK);
  ASSERT_EQ(CoCreateInstance(CLSID_LED, nullptr, plat::ax::IID_IControl, lamp.out()), S_OK);
  EXPECT_EQ(GetInt(lamp.get(), dispidBevelInner), pnBevelLowered);
  EXPECT_EQ(GetInt(lamp.get(), dispidOnColor), 0x000000FF);
  EXPECT_EQ(Get(lamp.get(), dispidValue), Variant::Bool(true));

  CLSID clsid;
  EXPECT_EQ(lamp->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_LED);
  std::string type;
  EXPECT_EQ(lamp->GetUserType(&type), S_OK);
  EXPECT_EQ(type, "Pendrel LED Control");
  std::uint32_t misc = 0;
  EXPECT_EQ(lamp->GetMiscStatus(&misc), S_OK);
  EXPECT_EQ(misc, 0x20191u);
  std::vector<CLSID> pages;
  EXPECT_EQ(lamp->GetPages(&pages), S_OK);
  EXPECT_EQ(pages, (std::vector<CLSID>{CLSID_LedPropPage, CLSID_StockColorPage}));
  lamp.Reset();

  EXPECT_EQ(Glimmet().unregisterServer(), S_OK);
  EXPECT_EQ(CoCreateInstance(CLSID_LED, nullptr, plat::ax::IID_IControl, lamp.out()), REGDB_E_CLASSNOTREG);
}
