// The binary property-list form of an XML property list, for tests that read both forms.
// Users link libplist themselves.
#pragma once

#include <plist/plist.h>

#include <string>

inline std::string BinaryPropertyList(const std::string& xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    std::string binary(bytes, length);
    plist_to_bin_free(bytes);
    plist_free(root);
    return binary;
}
