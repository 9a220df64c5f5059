#include "Askpass.h"

#include "PasswordDialog.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

class AskpassNotes {
public:
    AskpassNotes() : file_(qEnvironmentVariable("ORVELLA_ASKPASS_NOTES")) {}

    int earlierRequests()
    {
        if (file_.fileName().isEmpty() || !file_.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray notes = file_.readAll();
        file_.close();
        return static_cast<int>(notes.count('a'));
    }
    void note(char what)
    {
        if (file_.fileName().isEmpty() || !file_.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        file_.write(&what, 1);
        file_.close();
    }

private:
    QFile file_;
};

} // namespace

int RunAskpass(int argc, char** argv, const std::function<void(PasswordDialog&)>& whenShown)
{
    QApplication application(argc, argv);
    const QString prompt = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Password:");
    QString requester = qEnvironmentVariable("ORVELLA_ASKPASS_REQUESTER");
    if (requester.isEmpty())
        requester = QStringLiteral("A program");

    AskpassNotes notes;
    PasswordDialog dialog(requester, prompt, notes.earlierRequests() > 0);
    notes.note('a');
    if (whenShown)
        QTimer::singleShot(0, &dialog, [&dialog, &whenShown] { whenShown(dialog); });
    if (dialog.exec() != QDialog::Accepted) {
        notes.note('c');
        return 1;
    }
    std::fputs(dialog.password().toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    return 0;
}
