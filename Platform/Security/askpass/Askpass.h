// The program sudo runs as SUDO_ASKPASS: shows the password dialog and prints the password on
// standard output, or fails when the user cancels. The process that asked for the right passes
// its name and a notes file (ORVELLA_ASKPASS_REQUESTER, ORVELLA_ASKPASS_NOTES): each showing is
// noted there, so a repeated request knows the last password was wrong, and so is a cancel.
#pragma once

#include <functional>

class PasswordDialog;

// Runs the whole program; whenShown, if given, is called once the dialog is up.
int RunAskpass(int argc, char** argv, const std::function<void(PasswordDialog&)>& whenShown = {});
