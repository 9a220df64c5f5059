// The password dialog sudo shows through SUDO_ASKPASS.
#include "Askpass.h"

int main(int argc, char** argv) { return RunAskpass(argc, argv); }
