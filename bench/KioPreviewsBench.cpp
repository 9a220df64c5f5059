// kio-previews-bench SIZE FILE...
// Asks KDE's thumbnail worker for every FILE's preview in one KIO::PreviewJob, with every thumbnail
// plugin enabled and nothing saved in the cache, as Dolphin asks for a folder. Prints how many got a
// preview, the time the job took, and when the first and the last preview came.
#include <KFileItem>
#include <KIO/PreviewJob>

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: kio-previews-bench SIZE FILE...\n");
        return 2;
    }
    const int size = QString(argv[1]).toInt();
    KFileItemList items;
    for (int i = 2; i < argc; ++i)
        items.append(KFileItem(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]))));
    const QStringList plugins = KIO::PreviewJob::availablePlugins();
    QElapsedTimer clock;
    clock.start();
    KIO::PreviewJob* job = KIO::filePreview(items, QSize(size, size), &plugins);
    job->setScaleType(KIO::PreviewJob::Scaled);
    int previews = 0;
    qint64 first = 0, last = 0;
    QObject::connect(job, &KIO::PreviewJob::gotPreview, [&] {
        last = clock.elapsed();
        first = previews++ == 0 ? last : first;
    });
    QObject::connect(job, &KJob::result, &application, &QCoreApplication::quit);
    application.exec();
    std::printf("%d previews of %lld files in %lld ms, the first after %lld ms, the last after %lld ms\n", previews,
                static_cast<long long>(items.size()), clock.elapsed(), first, last);
    return 0;
}
