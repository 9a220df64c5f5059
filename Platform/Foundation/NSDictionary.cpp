#include <Foundation/NSDictionary.h>

#include <plist/plist.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A value the program does not interpret; it is kept in the dictionary untouched.
class NSPropertyListValue : public NSObject {
public:
    std::string description() const override { return "<property list value>"; }
};

std::unique_ptr<NSObject> objectForNode(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
        char* text = nullptr;
        plist_get_string_val(node, &text);
        auto string = std::make_unique<NSString>(text ? text : "");
        std::free(text);
        return string;
    }
    case PLIST_UINT: {
        uint64_t value = 0;  // negative integers are held as their two's complement
        plist_get_uint_val(node, &value);
        return std::make_unique<NSNumber>(NSNumber::numberWithLongLong(static_cast<long long>(value)));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return std::make_unique<NSNumber>(NSNumber::numberWithDouble(value));
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return std::make_unique<NSNumber>(NSNumber::numberWithBool(value != 0));
    }
    default: return std::make_unique<NSPropertyListValue>();
    }
}

plist_t nodeForObject(const NSObject& value)
{
    if (auto string = dynamic_cast<const NSString*>(&value))
        return plist_new_string(string->UTF8String());
    if (auto number = dynamic_cast<const NSNumber*>(&value)) {
        if (number->isBoolean())
            return plist_new_bool(number->boolValue());
        if (number->isReal())
            return plist_new_real(number->doubleValue());
        return plist_new_uint(static_cast<uint64_t>(number->longLongValue()));
    }
    return plist_new_string(value.description().c_str());
}

// A regular file's bytes; false for folders, pipes, devices and anything unreadable. Opened without
// blocking, so a pipe with no writer reads as unreadable instead of waiting for one.
bool readWholeFile(const std::string& path, std::string& contents)
{
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && fcntl(fd, F_SETFL, 0) == 0;
    char buffer[65536];
    while (ok) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            ok = count == 0;
            break;
        }
        contents.append(buffer, static_cast<size_t>(count));
    }
    close(fd);
    return ok;
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// The file a write to this path lands in: the end of its chain of symbolic links, so that a linked
// settings file is rewritten where it lives instead of being replaced by a plain file.
std::string writeTarget(const std::string& path)
{
    std::string target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status {};
        if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return target;
        std::string link(static_cast<size_t>(status.st_size > 0 ? status.st_size : PATH_MAX), '\0');
        const ssize_t length = readlink(target.c_str(), link.data(), link.size());
        if (length <= 0)
            return target;
        link.resize(static_cast<size_t>(length));
        const auto slash = target.rfind('/');
        target = link.front() == '/' || slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
    }
    return target;
}

// Gives a new file the owner, group and permissions of the file it replaces where this process may
// (the owner only as root; the group where the writer belongs to it); a file without predecessor
// gets 0666 less the umask.
bool takeOverAttributes(int fd, const std::string& replaced)
{
    struct stat existing {};
    if (stat(replaced.c_str(), &existing) != 0) {
        const mode_t mask = umask(0);
        umask(mask);
        return fchmod(fd, 0666 & ~mask) == 0;
    }
    if (fchown(fd, existing.st_uid, existing.st_gid) != 0)
        (void)!fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
    return fchmod(fd, existing.st_mode & 07777) == 0;
}

}  // namespace

NSMutableDictionary::NSMutableDictionary() : root_(plist_new_dict()) {}

NSMutableDictionary::~NSMutableDictionary() { plist_free(static_cast<plist_t>(root_)); }

std::unique_ptr<NSMutableDictionary> NSMutableDictionary::dictionaryWithContentsOfFile(const NSString& path)
{
    std::string contents;
    if (path.utf8().empty() || !readWholeFile(path.utf8(), contents) || contents.empty() || contents.size() > UINT32_MAX)
        return nullptr;
    plist_t root = nullptr;
    plist_from_memory(contents.data(), static_cast<uint32_t>(contents.size()), &root);
    if (!root)
        return nullptr;
    if (plist_get_node_type(root) != PLIST_DICT) {
        plist_free(root);
        return nullptr;
    }
    auto dictionary = std::make_unique<NSMutableDictionary>();
    plist_free(static_cast<plist_t>(dictionary->root_));
    dictionary->root_ = root;
    return dictionary;
}

id NSMutableDictionary::objectForKey(const NSString& key) const
{
    plist_t node = plist_dict_get_item(static_cast<plist_t>(root_), key.UTF8String());
    if (!node)
        return nil;
    auto& object = objects_[key.utf8()];
    if (!object)
        object = objectForNode(node);
    return object.get();
}

void NSMutableDictionary::setValue(const NSObject* value, const NSString& key)
{
    if (!value) {
        removeObjectForKey(key);
        return;
    }
    plist_t node = nodeForObject(*value);  // before the old object goes: the value may be that object
    objects_.erase(key.utf8());
    plist_dict_set_item(static_cast<plist_t>(root_), key.UTF8String(), node);
}

void NSMutableDictionary::removeObjectForKey(const NSString& key)
{
    objects_.erase(key.utf8());
    if (plist_dict_get_item(static_cast<plist_t>(root_), key.UTF8String()))
        plist_dict_remove_item(static_cast<plist_t>(root_), key.UTF8String());
}

NSUInteger NSMutableDictionary::count() const { return plist_dict_get_size(static_cast<plist_t>(root_)); }

std::vector<NSString> NSMutableDictionary::allKeys() const
{
    std::vector<NSString> keys;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(static_cast<plist_t>(root_), &iterator);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(static_cast<plist_t>(root_), iterator, &key, &value);
        if (!key)
            break;
        keys.emplace_back(key);
        std::free(key);
    }
    std::free(iterator);
    return keys;
}

BOOL NSMutableDictionary::writeToFile(const NSString& path, BOOL atomically) const
{
    if (path.utf8().empty())
        return NO;
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(static_cast<plist_t>(root_), &xml, &length);
    if (!xml)
        return NO;
    const std::string target = writeTarget(path.utf8());
    bool written = false;

    if (atomically) {
        std::string temporary = target + ".XXXXXX";
        int fd = mkstemp(temporary.data());
        if (fd >= 0) {
            written = takeOverAttributes(fd, target) && writeAll(fd, xml, length) && fsync(fd) == 0;
            written = close(fd) == 0 && written;
            written = written && rename(temporary.c_str(), target.c_str()) == 0;
            if (!written)
                unlink(temporary.c_str());
        }
    } else {
        int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd >= 0) {
            written = writeAll(fd, xml, length);
            written = close(fd) == 0 && written;
        }
    }
    plist_to_xml_free(xml);
    return written ? YES : NO;
}
