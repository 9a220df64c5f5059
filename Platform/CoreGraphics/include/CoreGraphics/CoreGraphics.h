#pragma once

#include "CGImage.h"
