#pragma once

#include "UTCoreTypes.h"
