// Optional parts of the library live in modules beside it and are loaded only when first needed.
#pragma once

namespace QUARK::QXPMETADATA {

// The address of symbol in the module fileName, looked for first in the folder of the loaded
// object that holds anchor, then on the usual library paths. NULL when it cannot be loaded.
void* SymbolFromSiblingModule(const void* anchor, const char* fileName, const char* symbol);

}  // namespace QUARK::QXPMETADATA
