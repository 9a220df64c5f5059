// Preference Panes stand-in.
#pragma once

#include "NSPreferencePane.h"
