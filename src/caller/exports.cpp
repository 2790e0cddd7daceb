// The C exports of libZULCaller.so. Nothing thrown inside may cross this boundary: a
// failure becomes a message box and the export's own answer for it.

#include "caller/ZULCaller.h"

#include "caller/logincheck.h"
#include "caller/udm.h"
#include "caller/usermenu.h"
#include "common/fixedfield.h"
#include "platform/messagebox.h"
#include "platform/texception.h"

namespace {

const QString UserInfoCaption = QStringLiteral("사용자정보");

void ShowUserInfoError(const QString &text)
{
    Platform::ShowMessageBox(Platform::ApplicationWindow(), text, UserInfoCaption, Platform::TMsgIcon::Error);
}

char ResultChar(int code)
{
    switch (code) {
    case 0:
        return '0';
    case 1:
        return '1';
    case 2:
        return '2';
    default:
        return '9';
    }
}

char CheckLogin(TLoginInfo &info)
{
    if (EnsureDataModule() && !dmCaller()->Connect()) {
        ShowUserInfoError(NoDatabaseText());
        return '9';
    }
    const TResultVal result = RunLoginCheck(*dmCaller(), info);
    if (result.Success != 1)
        ShowUserInfoError(result.Msg);
    return ResultChar(result.Code);
}

} // namespace

ZULCALLER_EXPORT char CheckLoginInfo(TLoginInfo info)
{
    try {
        return CheckLogin(info);
    } catch (const TException &error) {
        ShowUserInfoError(error.Message());
    } catch (const std::exception &error) {
        ShowUserInfoError(QString::fromLocal8Bit(error.what()));
    }
    return '9';
}

ZULCALLER_EXPORT void ZUL_DB_CONNNECT(QSqlDatabase *connection)
{
    if (!connection)
        return;
    try {
        if (EnsureDataModule() && !dmCaller()->Connect()) {
            *connection = QSqlDatabase();
            return;
        }
        *connection = dmCaller()->DBConn();
    } catch (const std::exception &error) {
        ShowUserInfoError(QString::fromLocal8Bit(error.what()));
        *connection = QSqlDatabase();
    }
}

ZULCALLER_EXPORT void ZUL_GET_USER_MENU(TMenuResult *result, const char *userId, TMenuInfos *menuInfos)
{
    if (!result || !menuInfos)
        return;
    try {
        // The main program connects first; a caller that did not still gets a module.
        EnsureDataModule();
        const QString id = userId ? ReadFixedField(userId, sizeof(TLoginInfo::UserId)) : QString();
        RunUserMenuQuery(*dmCaller(), *result, id, *menuInfos);
    } catch (const std::exception &error) {
        result->Code = '9';
        SetMenuMessage(*result, QString::fromLocal8Bit(error.what()));
    }
}
