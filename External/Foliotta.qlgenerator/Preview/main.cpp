// foliotta-preview FILE [--png OUT]: the quick preview of a QuarkXPress document in a window, or,
// with --png, the same view drawn into a PNG file without a window on screen.
#include "HelperProgram.h"
#include "OutputFile.h"
#include "PreviewOfDocument.h"

#include <QApplication>
#include <QBuffer>
#include <QPixmap>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: foliotta-preview FILE [--png OUT]\n");
    return 2;
}

int CannotWrite(const std::string& pngPath) {
    std::fprintf(stderr, "foliotta-preview: cannot write %s\n", pngPath.c_str());
    return 1;
}

// The window as PNG bytes, written as the thumbnailer writes its pictures.
bool SavePicture(const QPixmap& picture, const std::string& pngPath) {
    QByteArray png;
    QBuffer buffer(&png);
    return buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG") &&
           WriteOutputFile(png.toStdString(), pngPath);
}

}  // namespace

int main(int argc, char** argv) {
    std::string document;
    std::string pngPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
            pngPath = argv[++i];
        } else if (document.empty() && argv[i][0] != '-') {
            document = argv[i];
        } else {
            return Usage();
        }
    }
    if (document.empty()) return Usage();
    if (!pngPath.empty()) {
        if (!IsWritableOutput(pngPath)) return CannotWrite(pngPath);
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("foliotta-preview"));
    const std::string qxpextract = LocateQxpExtract(QXPEXTRACT_FROM_PREVIEW);
    std::unique_ptr<PreviewWindow> window = PreviewOfDocument(qxpextract, document);
    if (pngPath.empty()) {
        window->show();
        return application.exec();
    }
    // Drawn without being shown: shown on the offscreen platform, a window only warns that the
    // platform cannot take its size limits.
    return SavePicture(window->grab(), pngPath) ? 0 : CannotWrite(pngPath);
}
