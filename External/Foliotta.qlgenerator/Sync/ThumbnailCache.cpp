#include "ThumbnailCache.h"

#include <Foundation/NSPathUtilities.h>

#include <gio/gio.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kQuarkXPressType = "application/vnd.quark.quarkxpress";
// What the type database looks at of a file's content; "XPR3" stands at offset 4.
constexpr size_t kContentSniffed = 4096;

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, GFreeDeleter>;

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (descriptor_ >= 0)
            close(descriptor_);
    }
    int get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }

private:
    int descriptor_;
};

// A regular file, opened without waiting: a FIFO or device in its place is not opened for good.
Descriptor OpenRegularFile(int folder, const char* name, int followLinks)
{
    Descriptor file(openat(folder, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | followLinks));
    struct stat status = {};
    if (!file || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return Descriptor(-1);
    return file;
}

// A folder of the cache itself, never one that a link inside the cache leads to.
Descriptor OpenFolderInside(int folder, const char* name)
{
    return Descriptor(openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// Reads the PNG up to its picture data; false when it is not a PNG or is damaged there.
bool ReadPngInfo(png_structp png, png_infop info, FILE* file)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_read_info(png, info);
    return true;
}

// The text chunks before the picture data (tEXt, zTXt and iTXt: GNOME and Tumbler write the
// first, KDE the others for long or non-Latin texts); empty for anything that is not a PNG.
std::map<std::string, std::string> PngTexts(int descriptor)
{
    std::map<std::string, std::string> texts;
    const int copy = dup(descriptor);
    FILE* file = copy >= 0 ? fdopen(copy, "rb") : nullptr;
    if (file == nullptr) {
        if (copy >= 0)
            close(copy);
        return texts;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info != nullptr) {
        png_set_chunk_malloc_max(png, 1 << 20);  // a damaged length does not make a huge allocation
        png_textp text = nullptr;
        int count = 0;
        if (ReadPngInfo(png, info, file) && png_get_text(png, info, &text, &count) > 0) {
            for (int i = 0; i < count; ++i)
                texts.emplace(text[i].key, text[i].text);
        }
    }
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    std::fclose(file);
    return texts;
}

// The start of a local document, when it is a regular file that can be read at once.
std::string ContentStart(const char* path)
{
    const Descriptor file = OpenRegularFile(AT_FDCWD, path, 0);
    std::string start(kContentSniffed, '\0');
    const ssize_t length = file ? read(file.get(), start.data(), start.size()) : -1;
    start.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return start;
}

// The document's type as the desktop's type database tells it: by its content while a local
// file is there, else by its name.
bool NamesAQuarkXPressDocument(const std::string& uri)
{
    const GText localPath(g_filename_from_uri(uri.c_str(), nullptr, nullptr));
    const GText unescaped(localPath ? nullptr : g_uri_unescape_string(uri.c_str(), nullptr));
    const std::string content = localPath ? ContentStart(localPath.get()) : std::string();
    const gchar* name = localPath ? localPath.get() : unescaped ? unescaped.get() : uri.c_str();
    const GText type(g_content_type_guess(name, reinterpret_cast<const guchar*>(content.data()), content.size(), nullptr));
    return type && g_content_type_is_a(type.get(), kQuarkXPressType);
}

bool IsQuarkXPressEntry(const std::map<std::string, std::string>& texts)
{
    if (const auto type = texts.find("Thumb::Mimetype"); type != texts.end() && !type->second.empty())
        return g_content_type_is_a(type->second.c_str(), kQuarkXPressType);
    const auto uri = texts.find("Thumb::URI");
    return uri != texts.end() && NamesAQuarkXPressDocument(uri->second);
}

template <typename Visit>
void ForEachEntry(int folder, Visit&& visit)
{
    const int listed = dup(folder);
    DIR* listing = listed >= 0 ? fdopendir(listed) : nullptr;
    if (listing == nullptr) {
        if (listed >= 0)
            close(listed);
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            visit(entry->d_name);
    }
    closedir(listing);
}

int DeleteIn(int folder)
{
    int deleted = 0;
    ForEachEntry(folder, [&](const char* name) {
        const size_t length = std::strlen(name);
        if (length < 4 || std::strcmp(name + length - 4, ".png") != 0)
            return;
        const Descriptor entry = OpenRegularFile(folder, name, O_NOFOLLOW);
        if (entry && IsQuarkXPressEntry(PngTexts(entry.get())) && unlinkat(folder, name, 0) == 0)
            ++deleted;
    });
    return deleted;
}

}  // namespace

std::string ThumbnailCacheFolder()
{
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    const std::filesystem::path base =
        cacheHome && *cacheHome == '/' ? std::filesystem::path(cacheHome) : std::filesystem::path(NSHomeDirectory().utf8()) / ".cache";
    return (base / "thumbnails").string();
}

int DeleteQuarkXPressEntries(const std::string& cacheFolder)
{
    // The cache itself may be a link the user made; nothing inside it is followed.
    const Descriptor cache(open(cacheFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!cache)
        return 0;
    int deleted = 0;
    ForEachEntry(cache.get(), [&](const char* name) {
        const Descriptor size = OpenFolderInside(cache.get(), name);
        if (!size)
            return;
        if (std::strcmp(name, "fail") != 0) {
            deleted += DeleteIn(size.get());
            return;
        }
        ForEachEntry(size.get(), [&](const char* application) {
            if (const Descriptor folder = OpenFolderInside(size.get(), application))
                deleted += DeleteIn(folder.get());
        });
    });
    return deleted;
}
