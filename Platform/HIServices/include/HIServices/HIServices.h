#pragma once

#include "Pasteboard.h"
