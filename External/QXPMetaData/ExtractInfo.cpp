#include "ExtractInfo.h"

#include <new>

namespace QUARK::QXPMETADATA {

ExtractInfo* ExtractInfo::Make(uint32_t mask) { return new (std::nothrow) ExtractInfo(mask); }

}  // namespace QUARK::QXPMETADATA
