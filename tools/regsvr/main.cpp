// glimmet-regsvr [/u] LIB: loads an in-process server library and calls its DllRegisterServer
// (or, with /u, DllUnregisterServer), then prints what happened. Exit codes: 0 done, 1 usage,
// 3 the library cannot be loaded, 4 the entry point is missing, 5 the entry point failed.

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/com/server.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: glimmet-regsvr [/u] LIBRARY\n");
  return 1;
}

bool IsSwitch(const char* arg, const char* name) {
  return (arg[0] == '/' || arg[0] == '-') && strcasecmp(arg + 1, name) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false;
  const char* library = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (IsSwitch(argv[i], "u")) unregister = true;
    else if (!library) library = argv[i];
    else return Usage();
  }
  if (!library) return Usage();

  // An absolute path, so the loader never searches for a bare name.
  std::string path = library;
  char resolved[PATH_MAX];
  if (realpath(library, resolved)) path = resolved;

  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::fprintf(stderr, "glimmet-regsvr: cannot load %s: %s\n", library, dlerror());
    return 3;
  }
  const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  void* symbol = dlsym(handle, entry);
  if (!symbol) {
    std::fprintf(stderr, "glimmet-regsvr: %s was loaded, but its entry point %s was not found\n", path.c_str(), entry);
    return 4;
  }
  const auto call = reinterpret_cast<plat::com::DllRegisterServerFn>(symbol);
  const plat::com::HRESULT hr = call();
  if (plat::com::Failed(hr)) {
    std::fprintf(stderr, "glimmet-regsvr: %s in %s failed with code 0x%08X\n", entry, path.c_str(),
                 static_cast<unsigned>(hr));
    return 5;
  }
  std::printf("%s in %s succeeded.\n", entry, path.c_str());
  return 0;
}
