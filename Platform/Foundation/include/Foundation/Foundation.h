// Foundation stand-in: everything the product uses, in one include.
#pragma once

#include "NSArray.h"
#include "NSBundle.h"
#include "NSDictionary.h"
#include "NSFileManager.h"
#include "NSLog.h"
#include "NSObjCRuntime.h"
#include "NSPathUtilities.h"
#include "NSString.h"
#include "NSValue.h"
