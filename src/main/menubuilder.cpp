#include "main/menubuilder.h"

#include "common/fixedfield.h"
#include "main/knownprograms.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

namespace {

const char *const HintProperty = "hint";

} // namespace

QString ShortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString HintOf(const QObject *item)
{
    return item ? item->property(HintProperty).toString() : QString();
}

void SetHint(QObject *item, const QString &hint)
{
    item->setProperty(HintProperty, hint);
}

QString ProgramCaption(int number, const QString &name, const QString &progId)
{
    return QStringLiteral("%1 %2\t(%3)").arg(number).arg(name, progId);
}

void BuildProgramMenu(QMenuBar *menuBar, const TMenuInfos &rows, const std::function<void(QAction *)> &configure)
{
    for (QAction *top : menuBar->actions()) {
        QMenu *menu = top->menu();
        const QString key = LongHint(HintOf(top)).trimmed();
        if (!menu || key.isEmpty())
            continue;
        int number = static_cast<int>(menu->actions().size());
        bool separated = false;
        for (const TMenuInfo &row : rows) {
            if (ReadFixed(row.SysId) != key)
                continue;
            if (ReadFixed(row.DsProg).toUpper() == QLatin1String("P") && number > 0 && !separated) {
                separated = true;
                menu->addSeparator();
            }
            ++number;
            const QString name = ReadFixed(row.ProgName);
            const QString progId = ReadFixed(row.ProgId);
            QAction *item = menu->addAction(ProgramCaption(number, name, progId));
            item->setObjectName(QStringLiteral("N") + progId);
            SetHint(item, name + QLatin1Char('|') + progId);
            item->setEnabled(KnownProgramIndex(progId) >= 0);
            if (configure)
                configure(item);
        }
    }
}
