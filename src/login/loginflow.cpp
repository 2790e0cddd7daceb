#include "login/loginflow.h"

#include "platform/messagebox.h"
#include "platform/process.h"
#include "platform/programfolder.h"
#include "platform/singleinstance.h"

#include <QFileInfo>
#include <QLibrary>

namespace LoginFlow {
namespace {

using TCheckLoginInfo = char (*)(TLoginInfo);

void ShowError(const QString &text, const QString &caption)
{
    Platform::ShowMessageBox(Platform::ApplicationWindow(), text, caption, Platform::TMsgIcon::Error);
}

} // namespace

QString MainWindowCaption()
{
    return QStringLiteral("㈜Tovel 영업정산");
}

QString CallerLibraryPath()
{
    return Platform::ProgramFolder() + QStringLiteral("libZULCaller") + QString::fromLatin1(Platform::LibrarySuffix);
}

std::optional<char> CheckLogin(const TLoginInfo &info)
{
    const QString path = CallerLibraryPath();
    if (!QFileInfo(path).isFile()) {
        ShowError(QStringLiteral("해당 파일이 존재하지 않습니다\n\n파일명 : ") + path, Platform::ApplicationTitle());
        return std::nullopt;
    }
    QLibrary library(path);
    if (!library.load()) {
        ShowError(QStringLiteral("Load Library Error!"), Platform::ApplicationTitle());
        return std::nullopt;
    }
    std::optional<char> result;
    if (const auto check = reinterpret_cast<TCheckLoginInfo>(library.resolve("CheckLoginInfo")))
        result = check(info);
    library.unload();
    return result;
}

void StartNextProgram(const QString &userId)
{
    const QString folder = Platform::ProgramFolder();
    const QString updater = folder + Platform::ProgramFile("Skyrun");
    const QString main = Platform::ProgramFile("TovelMain");
    if (QFileInfo::exists(updater)) {
        Platform::StartProgram(updater, {QStringLiteral("run"), main, QStringLiteral("run"), userId, QString()});
        return;
    }
    if (QFileInfo::exists(folder + main)) {
        Platform::StartProgram(folder + main, {QStringLiteral("run"), userId});
        return;
    }
    ShowError(QStringLiteral("관련파일(") + main + QStringLiteral(")을 찾을 수 없습니다"), Platform::ApplicationTitle());
}

bool RefuseSecondStart()
{
    if (!Platform::WindowExists(MainWindowCaption()))
        return false;
    ShowError(QStringLiteral("프로그램이 이미 실행 되어 있습니다."), QStringLiteral("확인"));
    Platform::RaiseWindow(MainWindowCaption());
    return true;
}

} // namespace LoginFlow
