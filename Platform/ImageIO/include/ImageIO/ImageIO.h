#pragma once

#include "CGImageDestination.h"
