#include "SiblingModule.h"

#include <dlfcn.h>

#include <string>

namespace QUARK::QXPMETADATA {

void* SymbolFromSiblingModule(const void* anchor, const char* fileName, const char* symbol) {
    void* module = nullptr;
    Dl_info self{};
    if (dladdr(anchor, &self) != 0 && self.dli_fname != nullptr) {
        std::string path = self.dli_fname;
        const size_t slash = path.rfind('/');
        path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + fileName;
        module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (module == nullptr) module = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    return module != nullptr ? dlsym(module, symbol) : nullptr;
}

}  // namespace QUARK::QXPMETADATA
