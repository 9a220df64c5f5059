#pragma once

#include "CFArray.h"
#include "CFBase.h"
#include "CFData.h"
#include "CFString.h"
