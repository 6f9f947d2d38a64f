#pragma once
// Type libraries: a server describes its library (id, version, help string and file, the type
// libraries it imports, its dispatch interfaces with their members, its classes and its
// enumerations); a control hands out the description of its dispatch interface as its type
// information, and registering writes the usual keys:
//   HKCR\TypeLib\{lib}\<major>.<minor>            = help string
//   HKCR\TypeLib\{lib}\<major>.<minor>\0\linux    = the server library's path
//   HKCR\TypeLib\{lib}\<major>.<minor>\FLAGS      = "0"
//   HKCR\TypeLib\{lib}\<major>.<minor>\HELPDIR    = the help directory
//   HKCR\Interface\{iid}                          = interface name, with ProxyStubClsid32 and
//                                                   TypeLib (= {lib}, value Version "<major>.<minor>")

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/variant.h"

namespace plat::com {

inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = MakeHr(0x8002801D);

inline constexpr HRESULT DISP_E_BADINDEX = MakeHr(0x8002000B);

enum class MemberKind { Property, ReadOnlyProperty, Method };

struct TypeLibMember {
  std::int32_t id = 0;  // the dispatch id
  std::string name;
  MemberKind kind = MemberKind::Property;
  VarType type = VarType::Empty;  // a property's type; Empty for a method without result
  std::vector<std::string> params;  // a method's or event's parameters, in order
  friend bool operator==(const TypeLibMember&, const TypeLibMember&) = default;
};

struct TypeLibInterface {
  IID iid;
  std::string name;
  std::vector<TypeLibMember> members;
  friend bool operator==(const TypeLibInterface&, const TypeLibInterface&) = default;
};

struct TypeLibCoClass {
  CLSID clsid;
  std::string name;
  IID defaultInterface;
  IID eventSource;
};

struct TypeLibEnum {
  std::string name;
  std::vector<std::pair<std::string, std::int32_t>> values;
};

struct TypeLibAttr {
  GUID libid;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::string name;        // the library's name, e.g. "LedLib"
  std::string helpString;  // shown by tools as the library's description
  std::string helpFile;
  std::vector<TypeLibInterface> interfaces;
  std::vector<TypeLibCoClass> coclasses;
  std::vector<TypeLibEnum> enums;
  std::vector<std::string> imports;  // the type libraries it builds on
};

// A type library from its text, one declaration a line (words split by blanks):
//   library NAME {LIBID} MAJOR.MINOR        helpstring TEXT...      helpfile FILE
//   importlib FILE
//   dispinterface NAME {IID}                then its members:
//     property ID NAME TYPE | readonly ID NAME TYPE | method ID NAME [PARAM...]
//   coclass NAME {CLSID} DEFAULT-INTERFACE EVENT-INTERFACE
//   enum NAME                               then its values: value NAME NUMBER
// TYPE is I2, I4, Bool or Text. Nothing when a line is not understood.
std::optional<TypeLibAttr> ParseTypeLib(std::string_view text);

// A control's one type information: its dispatch interface, as its registered library
// describes it.
struct TypeInfo {
  GUID libid;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::string helpFile;
  TypeLibInterface itf;
};

// `lib`'s description of interface `iid` when the library's version is registered:
// TYPE_E_LIBNOTREGISTERED when it is not, E_NOINTERFACE when it has no such interface. The
// neutral locale serves every locale.
HRESULT LoadRegTypeInfo(const TypeLibAttr& lib, const IID& iid, std::uint32_t lcid, TypeInfo* info);

// `helpDir` empty: the directory of `path`. TYPE_E_REGISTRYACCESS when a key cannot be written.
HRESULT RegisterTypeLib(const TypeLibAttr& lib, const std::string& path, const std::string& helpDir);
// Removes the version's keys and the interface keys that point at it (and the library's key
// when no other version is left). TYPE_E_LIBNOTREGISTERED when the version is not registered;
// TYPE_E_REGISTRYACCESS when a key cannot be removed.
HRESULT UnRegisterTypeLib(const GUID& libid, std::uint16_t major, std::uint16_t minor);

}  // namespace plat::com
