#pragma once

// The right to act as an administrator of this machine.
#define kAuthorizationRightExecute "system.privilege.admin"
