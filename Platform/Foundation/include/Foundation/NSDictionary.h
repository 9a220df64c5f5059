// A mutable dictionary with string keys, read from and written to property-list files. Values
// the program sets are strings or numbers; every other value a file holds (arrays, nested
// dictionaries, data, dates ...) is kept exactly as read, so a rewrite loses nothing.
#pragma once

#include "NSString.h"
#include "NSValue.h"

#include <map>
#include <memory>
#include <vector>

class NSMutableDictionary : public NSObject {
public:
    NSMutableDictionary();
    ~NSMutableDictionary() override;
    NSMutableDictionary(const NSMutableDictionary&) = delete;
    NSMutableDictionary& operator=(const NSMutableDictionary&) = delete;

    static std::unique_ptr<NSMutableDictionary> dictionary() { return std::make_unique<NSMutableDictionary>(); }
    // A property list in XML or binary form whose top level is a dictionary; nil when the file
    // is missing, unreadable or holds anything else.
    static std::unique_ptr<NSMutableDictionary> dictionaryWithContentsOfFile(const NSString& path);

    // nil when absent. The object is owned by the dictionary and stays valid until that key is set
    // again or the dictionary goes. Strings read as NSString, integers, reals and booleans as
    // NSNumber, anything else as an object whose intValue and floatValue are 0.
    id objectForKey(const NSString& key) const;
    // A nil value removes the key.
    void setValue(const NSObject* value, const NSString& key);
    void setObject(const NSString& value, const NSString& key) { setValue(&value, key); }
    void removeObjectForKey(const NSString& key);
    NSUInteger count() const;
    std::vector<NSString> allKeys() const;

    // Writes an XML property list. Atomically: to a temporary file in the same folder that then
    // replaces the file, so the old file stays intact when anything fails. A symbolic link is
    // written through to its target; the new file keeps the old one's permissions, and its owner
    // and group where the writer may. NO on failure.
    BOOL writeToFile(const NSString& path, BOOL atomically) const;

private:
    void* root_;  // the libplist dictionary node
    mutable std::map<std::string, std::unique_ptr<NSObject>> objects_;  // what objectForKey handed out
};
