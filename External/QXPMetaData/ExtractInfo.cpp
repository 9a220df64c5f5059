#include "ExtractInfo.h"

#include "MetaDataEntries.h"

#include <algorithm>
#include <new>

namespace QUARK::QXPMETADATA {

ExtractInfo* ExtractInfo::Make(uint32_t mask, uint32_t pictureLongerSide) {
    const int longerSide = pictureLongerSide == 0 ? kPicturePixels
                                                  : static_cast<int>(std::min<uint32_t>(pictureLongerSide, kLargestPicturePixels));
    return new (std::nothrow) ExtractInfo(mask, longerSide);
}

}  // namespace QUARK::QXPMETADATA
