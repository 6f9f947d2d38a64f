// Resource tables and type library texts from untrusted files: every malformed form is refused
// without reading past its end.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "platform/com/resources.h"
#include "platform/com/typelib.h"

namespace {

namespace res = plat::res;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kTable = res::Pack(res::Text(7, 1, "one"), res::Text(7, 2, ""), res::Text(9, 1, "k=v\nkey=value\n"));

TEST(ResourceTable, FindsEachEntryAndRefusesDamage) {
  const auto one = res::Find(kTable, 7, 1);
  ASSERT_TRUE(one);
  EXPECT_EQ(std::string(one->begin(), one->end()), "one");
  ASSERT_TRUE(res::Find(kTable, 7, 2));
  EXPECT_TRUE(res::Find(kTable, 7, 2)->empty());
  EXPECT_EQ(res::TextValue(*res::Find(kTable, 9, 1), "key"), "value");
  EXPECT_EQ(res::TextValue(*res::Find(kTable, 9, 1), "ke"), std::nullopt);
  EXPECT_FALSE(res::Find(kTable, 7, 3));

  Bytes bad(kTable.begin(), kTable.end());
  struct Case { const char* what; Bytes table; };
  Bytes magic = bad, huge = bad, cut = bad;
  magic[0] = 'X';
  huge[8 + 4] = 0xFF;  // the first entry's size: far past the end
  huge[8 + 7] = 0xFF;
  cut.resize(8 + 8 + 2);
  for (const Case& c : {Case{"wrong magic", magic}, Case{"size past the end", huge}, Case{"cut short", cut},
                        Case{"empty", {}}})
    EXPECT_FALSE(res::Find(c.table, 9, 1)) << c.what;
}

TEST(ResourceTable, ReadsOnlyAnElfFileWithTheSection) {
  QTemporaryDir dir;
  const auto write = [&dir](const char* name, const Bytes& bytes) {
    const std::string path = dir.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  };
  Bytes elf(64, 0);
  elf[0] = 0x7F, elf[1] = 'E', elf[2] = 'L', elf[3] = 'F', elf[4] = 2, elf[5] = 1;
  Bytes farHeaders = elf;
  farHeaders[0x28] = 0xFF;  // section headers far past the end
  farHeaders[0x3A] = 64;
  farHeaders[0x3C] = 3;
  for (const std::string& path : {write("text", Bytes{'h', 'e', 'l', 'l', 'o'}), write("elf", elf),
                                  write("far", farHeaders), dir.filePath("missing").toStdString()})
    EXPECT_FALSE(res::ReadTable(path)) << path;
  // A library without the section: the platform library itself.
  EXPECT_FALSE(res::ReadTable(PLATFORM_LIBRARY));
}

TEST(TypeLibraryText, EveryDeclarationIsCheckedAndClassesNameDeclaredInterfaces) {
  const std::string head = "library L {3B9C41F2-0FF1-4DDF-8132-D472FDB12FE7} 1.0\n";
  const std::string itf = "dispinterface _D {3B9C41F0-0FF1-4DDF-8132-D472FDB12FE7}\n";
  ASSERT_TRUE(plat::com::ParseTypeLib(head + itf + "property 1 P I2\ncoclass C {3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7} _D _D\n"));
  for (const std::string& text :
       {std::string("helpfile x.hlp\n"), head + "property 1 P I2\n", head + itf + "property x P I2\n",
        head + itf + "property 1 P Float\n", head + "library L {bad} 1.0\n", head + "value v 1\n",
        head + itf + "coclass C {3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7} _D _Missing\n", head + "enum E\nvalue v one\n",
        head + "frobnicate\n", std::string("library L {3B9C41F2-0FF1-4DDF-8132-D472FDB12FE7} 1\n")})
    EXPECT_FALSE(plat::com::ParseTypeLib(text)) << text;
}

}  // namespace
