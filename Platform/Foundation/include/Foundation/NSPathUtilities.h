// The current user's folders.
#pragma once

#include "NSString.h"

// The home folder as the system reports it: $HOME when set, else the password database entry of
// the process's user, else "/".
NSString NSHomeDirectory();
