// How the pane's main interface file reaches the controller: the class is made known by name
// for the host, and outlets and actions are offered by name.
#include "Orvella_PrefsPref.h"

static NSClassRegistration<Orvella_PrefsPref> registration("Orvella_PrefsPref");

void Orvella_PrefsPref::nibConnections(NSNibConnections& connections)
{
    connections.outlet("buttonImage", buttonImage);
    connections.outlet("butUninstall", butUninstall);
    connections.outlet("radioButton", radioButton);
    connections.outlet("comboSkin", comboSkin);
    connections.outlet("imageView", imageView);
    connections.outlet("imageWell", imageWell);
    connections.outlet("myColor", myColor);
    connections.outlet("myView", myView);

    connections.action("setSkin:", [this](id sender) { setSkin(sender); });
    connections.action("colorSelection:", [this](id sender) { colorSelection(sender); });
    connections.action("changeImage:", [this](id sender) { changeImage(sender); });
    connections.action("uninstall:", [this](id sender) { uninstall(sender); });
}
