// The exports through which a business module opens another module, and posts the
// message that tells the main program its window has closed.

#include "caller/ZULCaller.h"

#include "caller/udm.h"
#include "common/moduleloader.h"
#include "platform/application.h"
#include "platform/cp949.h"
#include "platform/handles.h"
#include "platform/messagebox.h"
#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace {

// The answer of CallDLL and ZUL_CALL_SHOW, kept until the next call of either.
QByteArray &ResultText()
{
    static QByteArray text;
    return text;
}

void SetResult(const QString &text)
{
    ResultText() = Platform::ToCp949(text);
}

QString UpperId(const char *progId)
{
    return progId ? QString::fromLatin1(progId).toUpper() : QString();
}

// Makes sure of the data module and its connection; false after telling the user.
bool EnsureConnection()
{
    if (EnsureDataModule() && !dmCaller()->Connect()) {
        Platform::ShowMessageBox(nullptr, QStringLiteral("데이타베이스 서버 접속 오류 !!!"), QStringLiteral("출하자조회"),
                                 Platform::TMsgIcon::Error);
        return false;
    }
    return true;
}

// Unloads a library right after its call: objects the module left to deferred deletion
// (a window closed with deleteLater()) are deleted first, since their code is the module's.
void UnloadAfterCall(std::uint32_t library)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ModuleLoader::UnloadModule(library);
}

// Runs a module's entry. An error it throws is the module's object: its text is copied
// while the module is loaded, and reported once the module is gone.
template<typename Call>
void RunEntry(std::uint32_t library, Call call)
{
    QString failure;
    try {
        call();
    } catch (...) {
        failure = Platform::ExceptionText(std::current_exception());
    }
    UnloadAfterCall(library);
    if (!failure.isEmpty())
        Platform::ReportError(failure);
}

void CallModule(const QString &progId, const TLoginInfo &info, const void *extra)
{
    const std::uint32_t library = ModuleLoader::LoadModule(ModuleLoader::ModulePath(Platform::ProgramFolder(), progId));
    if (library == 0)
        return;
    QSqlDatabase connection = dmCaller()->DBConn();
    RunEntry(library, [&] {
        if (progId == QLatin1String("J380P")) {
            TJ380PRecord record{};
            if (extra)
                std::memcpy(record.Bytes, extra, sizeof record.Bytes);
            else
                std::memcpy(record.Bytes, &info, sizeof info);
            if (auto modal = reinterpret_cast<TModalJ380P>(Platform::LibrarySymbol(library, "MODAL_J380P")))
                modal(&connection, record);
        } else if (const TModuleShowEntry *entry = ModuleLoader::ShowEntry(library, progId);
                   entry && entry->ShowForUser) {
            entry->ShowForUser(&connection, info);
        }
    });
}

QString CallForm(const char *parameter, std::int32_t value)
{
    const QString fileName = QStringLiteral("J900E") + QLatin1String(Platform::LibrarySuffix);
    // One file is tested and exactly that file is loaded: the one in the current folder.
    const QFileInfo file(QDir::current().filePath(fileName));
    if (!file.isFile())
        return QStringLiteral("해당 파일이 존재하지 않습니다\n\n파일명 : ") + fileName;
    const std::uint32_t library = Platform::LoadLibraryFile(file.absoluteFilePath());
    if (library == 0)
        return QStringLiteral("DLL 파일 호출 오류입니다\n\n파일명 : ") + fileName;
    QByteArray answer;
    RunEntry(library, [&] {
        if (auto callForm = reinterpret_cast<TCallForm>(Platform::LibrarySymbol(library, "CallForm"))) {
            const char *text = callForm(parameter ? parameter : "", value);
            answer = QByteArray(text ? text : ""); // copied before the module goes
        }
    });
    return Platform::FromCp949(answer);
}

} // namespace

ZULCALLER_EXPORT bool ZUL_POST_MESSAGE(std::uint32_t window, std::uint32_t message)
{
    return Platform::PostWindowMessage(window, message);
}

ZULCALLER_EXPORT void ZUL_CALL_SHOW(const char *progId, TLoginInfo loginInfo, const void *extra)
{
    try {
        SetResult(QStringLiteral("PBL"));
        const QString id = UpperId(progId);
        if (!EnsureConnection())
            return;
        if (id == QLatin1String("J380P") || id == QLatin1String("SA30E") || id == QLatin1String("J900E"))
            CallModule(id, loginInfo, extra);
    } catch (...) {
        Platform::ReportException(std::current_exception());
    }
}

ZULCALLER_EXPORT const char *CallDLL(const char *progId, const char *parameter, std::int32_t value)
{
    try {
        SetResult(QStringLiteral("PBL"));
        const QString id = UpperId(progId);
        if (!EnsureConnection())
            return ResultText().constData();
        if (id == QLatin1String("J900E")) {
            SetResult(CallForm(parameter, value));
        }
    } catch (...) {
        Platform::ReportException(std::current_exception());
    }
    return ResultText().constData();
}
