#pragma once

#include "AuthorizationDB.h"

#define kAuthorizationEnvironmentUsername "username"
#define kAuthorizationEnvironmentPassword "password"
#define kAuthorizationEnvironmentPrompt "prompt"
