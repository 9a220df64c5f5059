// What the library offers tests beyond its interfaces.
#pragma once

#include <cstdint>

extern "C" {
// Library objects (requests, readers, dictionaries, values) currently alive.
int32_t QXPMetaDataLiveObjectCount();
}
