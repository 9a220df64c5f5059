#include "PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(const QString& requester, const QString& prompt, bool afterWrongPassword)
{
    setWindowTitle(QStringLiteral("Authenticate"));
    auto* layout = new QVBoxLayout(this);
    auto* reason = new QLabel(QStringLiteral("\u201C%1\u201D wants to make changes. Enter an administrator's password "
                                             "to allow this.")
                                  .arg(requester),
                              this);
    reason->setObjectName(QStringLiteral("reason"));
    reason->setWordWrap(true);
    layout->addWidget(reason);
    if (afterWrongPassword) {
        auto* wrong = new QLabel(QStringLiteral("Sorry, that password was wrong. Try again."), this);
        wrong->setObjectName(QStringLiteral("wrongPassword"));
        layout->addWidget(wrong);
    }
    layout->addWidget(new QLabel(prompt, this));
    passwordField_ = new QLineEdit(this);
    passwordField_->setEchoMode(QLineEdit::Password);
    layout->addWidget(passwordField_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString PasswordDialog::password() const { return passwordField_->text(); }
