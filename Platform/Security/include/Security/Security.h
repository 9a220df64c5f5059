#pragma once

#include "Authorization.h"
#include "AuthorizationDB.h"
#include "AuthorizationTags.h"
