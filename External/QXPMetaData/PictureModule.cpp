#include "PictureModule.h"

#include <dlfcn.h>

#include <string>

namespace QUARK::QXPMETADATA {

namespace {

constexpr const char* kModuleFileName = "libQXPMetaDataPicture.so";

// The module is looked for in the folder this library was loaded from, then on the usual paths.
// Bound lazily: the drawing calls few of the functions its libraries offer, and binding all of
// them up front costs a thumbnail a twentieth of its time.
RenderPageFunction LoadRenderer() {
    static RenderPageFunction renderer = [] {
        void* module = nullptr;
        Dl_info self{};
        if (dladdr(reinterpret_cast<const void*>(&RenderPageWithModule), &self) != 0 && self.dli_fname != nullptr) {
            std::string path = self.dli_fname;
            const size_t slash = path.rfind('/');
            path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + kModuleFileName;
            module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
        }
        if (module == nullptr) module = dlopen(kModuleFileName, RTLD_LAZY | RTLD_LOCAL);
        if (module == nullptr) return RenderPageFunction{nullptr};
        return reinterpret_cast<RenderPageFunction>(dlsym(module, kRenderPageSymbol));
    }();
    return renderer;
}

}  // namespace

CGImageRef RenderPageWithModule(const PageSize& page, const std::vector<PageItem>& items, int longerSide) {
    const RenderPageFunction renderer = LoadRenderer();
    return renderer != nullptr ? renderer(&page, &items, longerSide) : nullptr;
}

}  // namespace QUARK::QXPMETADATA
