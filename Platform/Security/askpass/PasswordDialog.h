// The dialog that asks for an administrator's password: says what is asking, shows sudo's prompt,
// and after a wrong password says so.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;

class PasswordDialog : public QDialog {
public:
    PasswordDialog(const QString& requester, const QString& prompt, bool afterWrongPassword);

    QString password() const;
    QLineEdit* passwordField() const { return passwordField_; }
    QDialogButtonBox* buttons() const { return buttons_; }

private:
    QLineEdit* passwordField_;
    QDialogButtonBox* buttons_;
};
