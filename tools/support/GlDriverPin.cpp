#include "tools/support/GlDriverPin.h"

#include <dlfcn.h>
#include <link.h>
#include <string_view>

namespace {
int collectDriver(dl_phdr_info* module, std::size_t, void* drivers) {
    const std::string_view path = module->dlpi_name;
    if (path.ends_with("_dri.so")) {
        static_cast<std::vector<std::string>*>(drivers)->emplace_back(path);
    }
    return 0; // go on to the next module
}
} // namespace

std::vector<std::string> loadedGlDrivers() {
    std::vector<std::string> drivers;
    dl_iterate_phdr(collectDriver, &drivers);
    return drivers;
}

std::size_t pinLoadedGlDrivers() {
    std::size_t pinned = 0;
    // Opened after the walk: dlopen inside dl_iterate_phdr's callback would take the loader's lock
    // the walk holds. RTLD_NOLOAD only finds the module the driver loader opened; RTLD_NODELETE
    // keeps it (and the libraries it needs) when that loader closes it.
    for (const std::string& path : loadedGlDrivers()) {
        pinned += dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr ? 1 : 0;
    }
    return pinned;
}
