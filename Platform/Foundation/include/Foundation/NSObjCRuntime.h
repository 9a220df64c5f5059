// The object model shared by every Foundation and AppKit class: a common base class, the
// platform's scalar names, and a registry in which a loaded library makes its classes known by
// name, as the Objective-C runtime does for the classes of a loaded bundle.
#pragma once

#include <CoreFoundation/CFBase.h>

#include <cstddef>
#include <functional>
#include <string>

typedef long NSInteger;
typedef unsigned long NSUInteger;
typedef bool BOOL;
#ifndef YES
#define YES true
#define NO false
#endif
#ifndef nil
#define nil nullptr
#endif

enum : NSInteger { NSNotFound = static_cast<NSInteger>(~0UL >> 1) };

class NSString;

// A message name such as "setSkin:".
typedef const char* SEL;

// Base of every object. Messages that on the platform may go to an object of any kind (`id`)
// are virtual here with the answers the platform gives for an object that has no such value.
class NSObject {
public:
    virtual ~NSObject() = default;

    virtual int intValue() const { return 0; }
    virtual float floatValue() const { return 0.0f; }
    virtual double doubleValue() const { return 0.0; }
    // The text the platform prints for the object ("%@").
    virtual std::string description() const;
};

typedef NSObject* id;

// A class known by name. `alloc` makes a new instance with default state; the caller owns it.
struct NSClassDescription {
    std::string name;
    std::function<NSObject*()> alloc;
};
typedef const NSClassDescription* Class;

// nil when no loaded code registered a class of that name.
Class NSClassFromString(const NSString& name);
void NSRegisterClass(const char* name, std::function<NSObject*()> alloc);

// A static instance in a library registers the class when the library is loaded:
//   static NSClassRegistration<MyPane> registration("MyPane");
template <typename T>
struct NSClassRegistration {
    explicit NSClassRegistration(const char* name)
    {
        NSRegisterClass(name, [] { return static_cast<NSObject*>(new T()); });
    }
};
