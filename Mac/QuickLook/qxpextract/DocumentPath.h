// The document path argument as a string, and the opening of the document by that path.
#pragma once

#include <QXPMetaData.h>

// File names are UTF-8 on this system; bytes that are not valid UTF-8 are read as Mac OS Roman,
// so a string can always be made. NULL only when no string can be made at all.
CFStringRef CreateDocumentPathString(const char* path);

// Hands the path to the library as zero-terminated UTF-16 and lets it fill the reader holder.
void OpenDocument(CFStringRef path, QUARK::COM::TInterfacePtr<QUARK::QXPMETADATA::IQXPMetaDataReader>& reader);
