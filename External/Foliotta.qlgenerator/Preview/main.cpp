// foliotta-preview FILE [--png OUT]: the quick preview of a QuarkXPress document in a window, or,
// with --png, the same view drawn into a PNG file without a window on screen.
#include "HelperProgram.h"
#include "PreviewOfDocument.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: foliotta-preview FILE [--png OUT]\n");
    return 2;
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
    if (!pngPath.empty()) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("foliotta-preview"));
    const std::string qxpextract = LocateQxpExtract(QXPEXTRACT_FROM_PREVIEW);
    std::unique_ptr<PreviewWindow> window = PreviewOfDocument(qxpextract, document);
    window->show();
    if (pngPath.empty()) return application.exec();

    if (!window->grab().save(QString::fromLocal8Bit(pngPath.c_str()), "PNG")) {
        std::fprintf(stderr, "foliotta-preview: cannot write %s\n", pngPath.c_str());
        return 1;
    }
    return 0;
}
