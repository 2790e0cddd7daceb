#pragma once

#include "common/gplib.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

/// The login window: employee number and password over the login picture.
class TfrmLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget *parent = nullptr);
    ~TfrmLogin() override;

    /// The values of gp.ini read when the window was shown.
    const GpLib::TLoginValues &LoginValues() const { return m_loginValues; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SpdBtn_okClick();
    void Edit_UserIdChange();
    void Edit_PasswordChange();

    QLabel *Image1;
    QLineEdit *Edit_UserId;
    QLineEdit *Edit_Password;
    QToolButton *SpdBtn_ok;
    QToolButton *SpdBtn_cancel;
    GpLib::TLoginValues m_loginValues;
};
