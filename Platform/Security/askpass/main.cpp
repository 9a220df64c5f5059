// The password dialog sudo shows through SUDO_ASKPASS: prints the password on standard output, or
// leaves a mark in ORVELLA_ASKPASS_CANCELLED and fails when the user cancels.
//
// ORVELLA_ASKPASS_ANSWER answers the dialog by itself ("cancel", or the text to enter), for
// unattended runs such as the test suites.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

namespace {

void markCancelled()
{
    const QString markPath = qEnvironmentVariable("ORVELLA_ASKPASS_CANCELLED");
    if (markPath.isEmpty())
        return;
    QFile mark(markPath);
    if (mark.open(QIODevice::WriteOnly | QIODevice::Truncate))
        mark.write("cancelled\n");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString prompt = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Password:");

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Authenticate"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("An administrator's password is needed to make changes."), &dialog));
    layout->addWidget(new QLabel(prompt, &dialog));
    auto* password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    layout->addWidget(password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    if (qEnvironmentVariableIsSet("ORVELLA_ASKPASS_ANSWER")) {
        const QString answer = qEnvironmentVariable("ORVELLA_ASKPASS_ANSWER");
        QTimer::singleShot(0, &dialog, [answer, password, buttons] {
            if (answer == QStringLiteral("cancel")) {
                buttons->button(QDialogButtonBox::Cancel)->click();
                return;
            }
            password->setText(answer);
            buttons->button(QDialogButtonBox::Ok)->click();
        });
    }

    if (dialog.exec() != QDialog::Accepted) {
        markCancelled();
        return 1;
    }
    std::fputs(password->text().toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    return 0;
}
