#include "platform/filedialog.h"

#include <QFileDialog>
#include <QStringList>

#include <utility>

namespace Platform {
namespace {

TOpenFileHook &OpenFileHook()
{
    static TOpenFileHook hook;
    return hook;
}

// "*.*" is every file on Windows; on Linux a name need not have a dot.
QString QtPatterns(const QString &patterns)
{
    QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &part : parts) {
        part = part.trimmed();
        if (part == QLatin1String("*.*"))
            part = QStringLiteral("*");
    }
    return parts.join(QLatin1Char(' '));
}

// The description without the patterns it quotes itself: Qt takes them from the brackets.
QString Description(const QString &text)
{
    const qsizetype open = text.lastIndexOf(QLatin1Char('('));
    if (open > 0 && text.endsWith(QLatin1Char(')')))
        return text.left(open).trimmed();
    return text.trimmed();
}

} // namespace

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << QStringLiteral("%1 (%2)").arg(Description(parts.at(i)), QtPatterns(parts.at(i + 1)));
    return entries.join(QStringLiteral(";;"));
}

TOpenFileHook SetOpenFileHook(TOpenFileHook hook) { return std::exchange(OpenFileHook(), std::move(hook)); }

QString OpenFileName(QWidget *owner, const QString &caption, const QString &filter, const QString &defaultSuffix)
{
    const TOpenFileCall call { owner, caption, QtFileFilter(filter), defaultSuffix };
    if (const TOpenFileHook &hook = OpenFileHook())
        return hook(call);

    QFileDialog dialog(owner, caption, QString(), call.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace Platform
