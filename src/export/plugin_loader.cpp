#include "export/plugin_loader.h"

#include <dlfcn.h>

#include <map>

#include "export/excel_export.h"

namespace kelmar {

namespace {

[[noreturn]] void Fail(const std::string& reason) {
  throw ExportError(kStartFailed + reason);
}

// The plugin carries no search path to the office's UNO libraries (an installed package must
// not), so they are mapped from the office's folder first; the plugin's own references to them
// then resolve to these by name. A library that is missing here makes the plugin's load fail
// with the loader's own reason.
void PreloadUnoLibraries() {
  for (const char* name : {"libuno_sal.so.3", "libuno_cppu.so.3", "libuno_cppuhelpergcc3.so.3"})
    dlopen((std::string(kOfficeProgramDir) + "/" + name).c_str(), RTLD_NOW | RTLD_GLOBAL);
}

// A loaded plugin stays loaded: the UNO runtime inside it cannot be unloaded safely.
KelmarCalcCreateFn LoadPlugin(const std::string& path) {
  static std::map<std::string, KelmarCalcCreateFn> loaded;
  if (auto it = loaded.find(path); it != loaded.end()) return it->second;
  PreloadUnoLibraries();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    Fail("не загружается модуль " + path + " (" + (why ? why : "?") + ")");
  }
  auto fn = reinterpret_cast<KelmarCalcCreateFn>(dlsym(handle, kKelmarCalcCreateName));
  if (!fn) Fail("в модуле " + path + " нет " + kKelmarCalcCreateName);
  loaded.emplace(path, fn);
  return fn;
}

}  // namespace

std::unique_ptr<automation::Application> CreateCalcApplication(const OfficeOptions& options,
                                                               const std::string& exe_dir) {
  const std::string path = options.PluginPath.empty() ? exe_dir + kCalcPluginName : options.PluginPath;
  KelmarCalcCreateFn create = LoadPlugin(path);
  std::string error;
  std::unique_ptr<automation::Application> app(create(&options, &error));
  if (!app) Fail(error.empty() ? std::string("неизвестная ошибка") : error);
  return app;
}

}  // namespace kelmar
