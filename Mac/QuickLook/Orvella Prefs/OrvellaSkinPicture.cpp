#include "OrvellaSkinPicture.h"

std::unique_ptr<NSImage> OrvellaSkinPicture(const NSString& title)
{
    NSBundle* paneBundle = NSBundle::bundleWithIdentifier("com.brimwell.prefPane.Orvella");
    if (!paneBundle)
        return nullptr;
    NSString picturePath = paneBundle->resourcePath().stringByAppendingString(NSString::stringWithFormat("/%@.png", title));
    return NSImage::imageWithContentsOfFile(picturePath);
}
