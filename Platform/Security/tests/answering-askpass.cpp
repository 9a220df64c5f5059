// The password dialog for unattended runs: the real dialog, drawn offscreen and answered by itself.
// STANDIN_ASKPASS_ANSWERS lists the answers of successive showings ("|" between them, the last one
// repeats; "cancel" presses Cancel); each showing appends the dialog's texts as one line to
// STANDIN_ASKPASS_LOG. The tests put it in the real dialog's place inside a private root.
#include "Askpass.h"
#include "PasswordDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return RunAskpass(argc, argv, [](PasswordDialog& dialog) {
        QFile log(qEnvironmentVariable("STANDIN_ASKPASS_LOG"));
        int showing = 0;
        if (log.open(QIODevice::ReadOnly)) {
            showing = static_cast<int>(log.readAll().count('\n'));
            log.close();
        }
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        if (log.open(QIODevice::WriteOnly | QIODevice::Append))
            log.write((texts.join(QStringLiteral(" | ")) + QStringLiteral("\n")).toUtf8());

        const QStringList answers = qEnvironmentVariable("STANDIN_ASKPASS_ANSWERS").split(QLatin1Char('|'));
        const QString answer = answers.at(std::min<qsizetype>(showing, answers.size() - 1));
        if (answer == QStringLiteral("cancel")) {
            dialog.buttons()->button(QDialogButtonBox::Cancel)->click();
            return;
        }
        dialog.passwordField()->setText(answer);
        dialog.buttons()->button(QDialogButtonBox::Ok)->click();
    });
}
