#pragma once

#include "AEDataModel.h"
#include "AppleEvents.h"
