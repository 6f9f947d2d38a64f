#include "platform/com/typelib.h"

#include <charconv>

#include "platform/com/reg_keys.h"

namespace plat::com {

namespace {

// The dispatch-interface proxy that automation interfaces name.
constexpr const char* kPSDispatch = "{00020420-0000-0000-C000-000000000046}";

std::string VersionText(std::uint16_t major, std::uint16_t minor) {
  return std::to_string(major) + "." + std::to_string(minor);
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

HRESULT RegisterTypeLib(const TypeLibAttr& lib, const std::string& path, const std::string& helpDir) {
  const std::string libKey = "TypeLib\\" + FormatGuid(lib.libid);
  const std::string version = VersionText(lib.major, lib.minor);
  const std::string verKey = libKey + "\\" + version;
  bool ok = SetClassesString(verKey, "", lib.helpString) && SetClassesString(verKey + "\\0\\linux", "", path) &&
            SetClassesString(verKey + "\\FLAGS", "", "0") &&
            SetClassesString(verKey + "\\HELPDIR", "", helpDir.empty() ? DirectoryOf(path) : helpDir);
  for (const auto& itf : lib.interfaces) {
    if (!ok) break;
    const std::string itfKey = "Interface\\" + FormatGuid(itf.iid);
    ok = SetClassesString(itfKey, "", itf.name) && SetClassesString(itfKey + "\\ProxyStubClsid32", "", kPSDispatch) &&
         SetClassesString(itfKey + "\\TypeLib", "", FormatGuid(lib.libid)) &&
         SetClassesString(itfKey + "\\TypeLib", "Version", version);
  }
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(const GUID& libid, std::uint16_t major, std::uint16_t minor) {
  const std::string libText = FormatGuid(libid);
  const std::string libKey = "TypeLib\\" + libText;
  const std::string version = VersionText(major, minor);
  const std::string verKey = libKey + "\\" + version;
  const bool registered = ClassesKeyExists(verKey);

  // Interface keys that belong to this library version, whether or not the version key is left.
  bool ok = true;
  bool anyInterface = false;
  for (const std::string& name : ClassesSubkeys("Interface")) {
    const std::string itfKey = "Interface\\" + name;
    const auto owner = GetClassesString(itfKey + "\\TypeLib", "");
    const auto ownerVersion = GetClassesString(itfKey + "\\TypeLib", "Version");
    if (!owner || !ParseGuid(*owner) || *ParseGuid(*owner) != libid) continue;
    if (ownerVersion && *ownerVersion != version) continue;
    anyInterface = true;
    ok = DeleteClassesTree(itfKey) && ok;
  }
  if (!registered && !anyInterface) return TYPE_E_LIBNOTREGISTERED;
  if (registered) ok = DeleteClassesTree(verKey) && ok;
  if (ok && ClassesKeyExists(libKey) && ClassesSubkeys(libKey).empty()) ok = DeleteClassesTree(libKey);
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    std::size_t end = at;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

std::optional<std::int32_t> Number(std::string_view w) {
  std::int32_t v = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
  if (ec != std::errc() || end != w.data() + w.size()) return std::nullopt;
  return v;
}

std::optional<VarType> TypeNamed(std::string_view w) {
  if (w == "I2") return VarType::I2;
  if (w == "I4") return VarType::I4;
  if (w == "Bool") return VarType::Bool;
  if (w == "Text") return VarType::Text;
  return std::nullopt;
}

// One declaration into `lib`; false when it is not understood.
bool Declare(TypeLibAttr& lib, std::string_view line, std::vector<std::pair<std::string, std::string>>& pending) {
  const auto w = Words(line);
  if (w.empty()) return true;
  const std::string_view what = w[0];
  // The text after the first word.
  const auto rest = [&line] {
    const std::size_t after = line.find_first_of(" \t", line.find_first_not_of(" \t"));
    const std::size_t text = after == std::string_view::npos ? after : line.find_first_not_of(" \t", after);
    return text == std::string_view::npos ? std::string() : std::string(line.substr(text));
  };
  if (what == "library" && w.size() == 4) {
    const auto id = ParseGuid(w[2]);
    const auto dot = w[3].find('.');
    if (!id || dot == std::string_view::npos) return false;
    const auto major = Number(w[3].substr(0, dot)), minor = Number(w[3].substr(dot + 1));
    if (!major || !minor || *major < 0 || *major > 0xFFFF || *minor < 0 || *minor > 0xFFFF) return false;
    lib.name = std::string(w[1]);
    lib.libid = *id;
    lib.major = static_cast<std::uint16_t>(*major);
    lib.minor = static_cast<std::uint16_t>(*minor);
  } else if (what == "helpstring") {
    lib.helpString = rest();
  } else if (what == "helpfile" && w.size() == 2) {
    lib.helpFile = std::string(w[1]);
  } else if (what == "importlib" && w.size() == 2) {
    lib.imports.emplace_back(w[1]);
  } else if (what == "dispinterface" && w.size() == 3) {
    const auto id = ParseGuid(w[2]);
    if (!id) return false;
    lib.interfaces.push_back(TypeLibInterface{*id, std::string(w[1]), {}});
  } else if ((what == "property" || what == "readonly") && w.size() == 4 && !lib.interfaces.empty()) {
    const auto id = Number(w[1]);
    const auto type = TypeNamed(w[3]);
    if (!id || !type) return false;
    const MemberKind kind = what == "property" ? MemberKind::Property : MemberKind::ReadOnlyProperty;
    lib.interfaces.back().members.push_back(TypeLibMember{*id, std::string(w[2]), kind, *type, {}});
  } else if (what == "method" && w.size() >= 3 && !lib.interfaces.empty()) {
    const auto id = Number(w[1]);
    if (!id) return false;
    TypeLibMember m{*id, std::string(w[2]), MemberKind::Method, VarType::Empty, {}};
    for (std::size_t k = 3; k < w.size(); ++k) m.params.emplace_back(w[k]);
    lib.interfaces.back().members.push_back(std::move(m));
  } else if (what == "coclass" && w.size() == 5) {
    const auto id = ParseGuid(w[2]);
    if (!id) return false;
    lib.coclasses.push_back(TypeLibCoClass{*id, std::string(w[1]), {}, {}});
    pending.emplace_back(std::string(w[3]), std::string(w[4]));
  } else if (what == "enum" && w.size() == 2) {
    lib.enums.push_back(TypeLibEnum{std::string(w[1]), {}});
  } else if (what == "value" && w.size() == 3 && !lib.enums.empty()) {
    const auto v = Number(w[2]);
    if (!v) return false;
    lib.enums.back().values.emplace_back(std::string(w[1]), *v);
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::optional<TypeLibAttr> ParseTypeLib(std::string_view text) {
  TypeLibAttr lib;
  std::vector<std::pair<std::string, std::string>> pending;  // each coclass's interface names
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    if (!Declare(lib, text.substr(at, end - at), pending)) return std::nullopt;
    at = end + 1;
  }
  if (lib.name.empty()) return std::nullopt;
  // A class names its interfaces; each must be declared in the library.
  auto iidOf = [&lib](const std::string& name) -> std::optional<IID> {
    for (const auto& itf : lib.interfaces)
      if (itf.name == name) return itf.iid;
    return std::nullopt;
  };
  for (std::size_t k = 0; k < lib.coclasses.size(); ++k) {
    const auto def = iidOf(pending[k].first), source = iidOf(pending[k].second);
    if (!def || !source) return std::nullopt;
    lib.coclasses[k].defaultInterface = *def;
    lib.coclasses[k].eventSource = *source;
  }
  return lib;
}

HRESULT LoadRegTypeInfo(const TypeLibAttr& lib, const IID& iid, std::uint32_t, TypeInfo* info) {
  if (!info) return E_POINTER;
  if (!ClassesKeyExists("TypeLib\\" + FormatGuid(lib.libid) + "\\" + VersionText(lib.major, lib.minor)))
    return TYPE_E_LIBNOTREGISTERED;
  for (const TypeLibInterface& itf : lib.interfaces) {
    if (itf.iid != iid) continue;
    *info = TypeInfo{lib.libid, lib.major, lib.minor, lib.helpFile, itf};
    return S_OK;
  }
  return E_NOINTERFACE;
}

}  // namespace plat::com
