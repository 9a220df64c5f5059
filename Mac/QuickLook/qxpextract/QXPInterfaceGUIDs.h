// The kind identifiers of the vendor's value interfaces that the extractor converts to.
#pragma once

#include <QXPMetaData.h>

namespace QUARK::QXPMETADATA {

extern const GUID kGUIDIQXPDataFloat;        // {B305336D-D0B1-45AB-82BE-C1953805A9A5}
extern const GUID kGUIDIQXPDataStringArray;  // {35567578-31B1-4FCF-97CC-393AE43CD5DE}
extern const GUID kGUIDIQXPDataString;       // {EF271CF2-55F7-4AE5-9139-073358A4E404}
extern const GUID kGUIDIQXPDataImage;        // {6B4CF444-12C6-4E8A-B7C1-7DEA38709C85}

}  // namespace QUARK::QXPMETADATA
