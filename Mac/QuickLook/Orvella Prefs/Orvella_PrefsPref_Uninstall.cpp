// The uninstall action; the hand-off to the uninstaller arrives with the uninstaller itself.
#include "Orvella_PrefsPref.h"

void Orvella_PrefsPref::uninstall(id) {}
