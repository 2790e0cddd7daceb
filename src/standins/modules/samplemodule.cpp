// A sample business module. One source serves every sample program: TOVEL_MODULE_ID
// names the program the library is built for (J202P.so, J900E.so, ...). Its window shows
// what it received from its caller, and its buttons open other programs through the
// caller library, as a real module does.
//
// Each call is also noted in the application's property "TovelSampleModuleCalls" (a
// list of lines) and, when TOVEL_MODULE_TRACE names a file, appended to that file, so a
// test or the demo can see what a module received.

#include "caller/TovelModule.h"
#include "common/fixedfield.h"
#include "kit/modulenotes.h"
#include "kit/modulewindow.h"
#include "platform/cp949.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QSqlDatabase>
#include <QVBoxLayout>

#include <cstring>
#include <dlfcn.h>
#include <exception>

#define TOVEL_STRINGIFY2(x) #x
#define TOVEL_STRINGIFY(x) TOVEL_STRINGIFY2(x)

namespace {

// When this module's library file was written: an updated module shows its new time.
QString ModuleBuild()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&ModuleBuild), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

const QString ModuleId = QStringLiteral(TOVEL_STRINGIFY(TOVEL_MODULE_ID));

// Notes that the main program unloaded the module while it ran, so a run driven from
// outside sees that no module was left loaded.
struct TUnloadNote
{
    ~TUnloadNote()
    {
        if (QCoreApplication::instance())
            NoteInTrace(QStringLiteral("%1 unloaded").arg(ModuleId));
    }
} g_unloadNote;

QString UserLine(const TLoginInfo &info)
{
    return QStringLiteral("사용자: %1 (%2)  %3 %4")
        .arg(ReadFixed(info.UserNm), ReadFixed(info.UserId), ReadFixed(info.UserSectNm), ReadFixed(info.UserPlaceNm));
}

QString ConnectionLine(const QSqlDatabase *connection)
{
    if (!connection || !connection->isValid())
        return QStringLiteral("데이터베이스: 없음");
    return QStringLiteral("데이터베이스: %1 %2").arg(connection->driverName(),
                                                   connection->isOpen() ? QStringLiteral("연결됨") : QStringLiteral("닫힘"));
}

// The module's own error type, as business code has its own.
class TSampleError : public std::exception
{
public:
    const char *what() const noexcept override { return "sample module error: the trial user ERR01 cannot open it"; }
};

// The user "ERR01" makes every entry fail, to try how callers report a module's error.
void FailForTrialUser(const TLoginInfo &info)
{
    if (ReadFixed(info.UserId) == QLatin1String("ERR01"))
        throw TSampleError();
}

// Buttons that open other programs through the caller library, for the user of `info`.
void AddCallButtons(QWidget *parent, QVBoxLayout *layout, const TLoginInfo &info)
{
    auto *result = new QLabel(parent);
    result->setObjectName(QStringLiteral("lblCallResult"));
    const auto open = [info](const char *id) { ZUL_CALL_SHOW(id, info, nullptr); };

    auto *j900 = new QPushButton(QStringLiteral("정산서입력 (J900E) 열기"), parent);
    j900->setObjectName(QStringLiteral("btnCallJ900E"));
    QObject::connect(j900, &QPushButton::clicked, parent, [open] { open("J900E"); });
    auto *j380 = new QPushButton(QStringLiteral("출하자조회 (J380P) 열기"), parent);
    j380->setObjectName(QStringLiteral("btnCallJ380P"));
    QObject::connect(j380, &QPushButton::clicked, parent, [open] { open("j380p"); });
    auto *callDll = new QPushButton(QStringLiteral("CallDLL (J900E)"), parent);
    callDll->setObjectName(QStringLiteral("btnCallDLL"));
    QObject::connect(callDll, &QPushButton::clicked, parent, [result] {
        const char *answer = CallDLL("J900E", "sample", 7);
        result->setText(QStringLiteral("CallDLL: ") + Platform::FromCp949(QByteArrayView(answer, qstrlen(answer))));
    });
    layout->addWidget(j900);
    layout->addWidget(j380);
    layout->addWidget(callDll);
    layout->addWidget(result);
}

void ShowInFrame(QApplication *, QMdiArea *screen, QSqlDatabase *connection, const TModuleArgs *record,
                 std::uint32_t size)
{
    if (!screen || !record || size < sizeof(TModuleArgs))
        return;
    FailForTrialUser(record->LoginInfo);
    NoteShowInFrame(ModuleId, record, size);
    const QString progId = ReadFixed(record->ProgId);

    auto *window = new TModuleWindow(*record);
    // A module of its own program names its window with a literal, as modules do; the
    // main window must copy such a name before the module goes.
    if (progId == ModuleId)
        window->setObjectName(QStringLiteral("frm" TOVEL_STRINGIFY(TOVEL_MODULE_ID)));
    else
        window->setObjectName(QStringLiteral("frm") + progId);
    window->setWindowTitle(QStringLiteral("%1 %2").arg(progId, ReadFixed(record->ProgName)));
    auto *body = new QWidget(window);
    auto *layout = new QVBoxLayout(body);
    auto *received = new QLabel(body);
    received->setObjectName(QStringLiteral("lblReceived"));
    received->setText(QStringList{UserLine(record->LoginInfo),
                                  QStringLiteral("프로그램: %1 %2").arg(progId, ReadFixed(record->ProgName)),
                                  QStringLiteral("모듈: %1 (%2)").arg(ModuleId, ModuleBuild()),
                                  QStringLiteral("인자 크기: %1 바이트").arg(size),
                                  QStringLiteral("닫기 메시지: %1").arg(record->CloseMsg),
                                  ConnectionLine(connection)}
                          .join(QLatin1Char('\n')));
    layout->addWidget(received);
    AddCallButtons(body, layout, record->LoginInfo);
    layout->addStretch();
    window->setWidget(body);
    screen->addSubWindow(window);
    window->resize(420, 300);
    window->show();
}

// Opened by another module: a modal window, closed before the call returns.
void ShowModal(const QString &title, const QStringList &lines)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("dlg") + ModuleId);
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(lines.join(QLatin1Char('\n')), &dialog);
    label->setObjectName(QStringLiteral("lblReceived"));
    layout->addWidget(label);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

[[maybe_unused]] void ShowForUser(QSqlDatabase *connection, TLoginInfo info)
{
    FailForTrialUser(info);
    NoteModuleCall(QStringLiteral("%1 ShowForUser user=%2").arg(ModuleId, ReadFixed(info.UserId)));
    ShowModal(ModuleId, {UserLine(info), ConnectionLine(connection)});
}

} // namespace

#if defined(TOVEL_MODULE_FOR_USER)
TOVEL_MODULE_SHOW(TOVEL_MODULE_ID, ShowInFrame, ShowForUser);
#else
TOVEL_MODULE_SHOW(TOVEL_MODULE_ID, ShowInFrame, nullptr);
#endif

#if defined(TOVEL_MODULE_MODAL_J380P)
TOVEL_MODULE_EXPORT void MODAL_J380P(QSqlDatabase *connection, TJ380PRecord record)
{
    TLoginInfo info;
    std::memcpy(&info, record.Bytes, sizeof info);
    int zeros = 0;
    for (std::size_t i = sizeof info; i < sizeof record.Bytes; ++i)
        zeros += record.Bytes[i] == 0 ? 1 : 0;
    NoteModuleCall(QStringLiteral("J380P MODAL user=%1 zeros=%2").arg(ReadFixed(info.UserId)).arg(zeros));
    ShowModal(QStringLiteral("J380P 출하자조회"), {UserLine(info), ConnectionLine(connection)});
}
#endif

#if defined(TOVEL_MODULE_CALLFORM)
TOVEL_MODULE_EXPORT const char *CallForm(const char *parameter, std::int32_t value)
{
    static QByteArray answer;
    const QString text = QStringLiteral("정산서 %1 %2").arg(Platform::FromCp949(QByteArrayView(parameter, qstrlen(parameter))))
                             .arg(value);
    NoteModuleCall(QStringLiteral("J900E CallForm %1").arg(text));
    answer = Platform::ToCp949(text);
    return answer.constData();
}
#endif
