#include <Foundation/NSObjCRuntime.h>

#include <Foundation/NSString.h>

#include <cstdio>
#include <map>
#include <memory>

std::string NSObject::description() const
{
    char text[32];
    std::snprintf(text, sizeof text, "<NSObject: %p>", static_cast<const void*>(this));
    return text;
}

namespace {
// Built on first use: registrations run from static constructors of libraries in any order.
std::map<std::string, std::unique_ptr<NSClassDescription>>& classTable()
{
    static std::map<std::string, std::unique_ptr<NSClassDescription>> table;
    return table;
}
}  // namespace

Class NSClassFromString(const NSString& name)
{
    auto found = classTable().find(name.UTF8String());
    return found == classTable().end() ? nil : found->second.get();
}

void NSRegisterClass(const char* name, std::function<NSObject*()> alloc)
{
    classTable()[name] = std::make_unique<NSClassDescription>(NSClassDescription{name, std::move(alloc)});
}
