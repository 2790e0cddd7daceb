#include "main/mainflow.h"

#include "platform/messagebox.h"
#include "platform/singleinstance.h"

namespace MainFlow {

QString MainCaption()
{
    return QStringLiteral("㈜Tovel 영업정산");
}

bool AcceptsCommandLine(const QStringList &arguments)
{
    return arguments.size() == 2 && arguments.front().toLower() == QLatin1String("run");
}

void RefuseSecondInstance()
{
    Platform::ShowMessageBox(nullptr, QStringLiteral("프로그램이 이미 실행 되어 있습니다."), QStringLiteral("확인"),
                             Platform::TMsgIcon::Error);
    Platform::RaiseWindow(MainCaption());
}

} // namespace MainFlow
