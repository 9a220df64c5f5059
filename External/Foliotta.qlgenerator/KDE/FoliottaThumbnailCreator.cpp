// KDE's thumbnails of QuarkXPress documents: a plugin that KDE Frameworks 5's thumbnail worker
// loads (from the Qt 5 plugin folder, kf5/thumbcreator) for KIO::PreviewJob, as Dolphin, the file
// dialogs and the information panel ask it. It draws what foliotta-thumbnailer draws for the same
// size, in the skin and background colour chosen in the preference pane, in a child process, so
// that no document can take the long-lived worker down or hold it.
#include "SkinSettings.h"
#include "ThumbnailInChild.h"
#include "ThumbnailRequest.h"

#include <KIO/ThumbnailCreator>
#include <KPluginFactory>

#include <QFile>
#include <QImage>

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>

#include <dlfcn.h>

namespace {

// The thumbnailer's font configuration, where the install put it relative to this plugin.
std::string FontConfiguration()
{
    Dl_info self = {};
    if (dladdr(reinterpret_cast<const void*>(&FontConfiguration), &self) == 0 || self.dli_fname == nullptr)
        return {};
    const std::filesystem::path file = std::filesystem::path(self.dli_fname).parent_path() / FOLIOTTA_PLUGIN_TO_FONTS_CONF;
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) ? file.lexically_normal().string() : std::string();
}

}  // namespace

class FoliottaThumbnailCreator : public KIO::ThumbnailCreator {
    Q_OBJECT
public:
    FoliottaThumbnailCreator(QObject* parent, const QVariantList& arguments)
        : KIO::ThumbnailCreator(parent, arguments), drawer_(FontConfiguration())
    {
    }

    KIO::ThumbnailResult create(const KIO::ThumbnailRequest& request) override
    {
        try {
            return draw(request);
        } catch (const std::exception&) {  // out of memory, mostly: the worker goes on
            return KIO::ThumbnailResult::fail();
        }
    }

private:
    KIO::ThumbnailResult draw(const KIO::ThumbnailRequest& request)
    {
        // Read for every document, so that a change shows as soon as the cached pictures go.
        // Without a generator installed there are no thumbnails, as with the other desktops.
        const std::optional<SkinSettings> settings = ReadInstalledSkinSettings();
        if (!settings || !request.url().isLocalFile())
            return KIO::ThumbnailResult::fail();
        const QSize asked = request.targetSize();
        ThumbnailInChildRequest drawing{QFile::encodeName(request.url().toLocalFile()).toStdString(),
                                        std::clamp(std::max(asked.width(), asked.height()), 1, kLargestThumbnail),
                                        &SkinPaletteAtListIndex(settings->skinListIndex), std::nullopt};
        if (settings->background)
            drawing.background = SkinColorOf(*settings->background);
        const std::optional<ThumbnailPixels> pixels = drawer_.draw(drawing);
        if (!pixels)
            return KIO::ThumbnailResult::fail();
        QImage image(pixels->width, pixels->height, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return KIO::ThumbnailResult::fail();
        const size_t rowBytes = static_cast<size_t>(pixels->width) * 4;
        for (int y = 0; y < pixels->height; ++y)
            std::memcpy(image.scanLine(y), pixels->argb.data() + y * rowBytes, rowBytes);
        return KIO::ThumbnailResult::pass(image);
    }

    ThumbnailInChildDrawer drawer_;
};

K_PLUGIN_CLASS_WITH_JSON(FoliottaThumbnailCreator, "foliottathumbnail.json")

#include "FoliottaThumbnailCreator.moc"
