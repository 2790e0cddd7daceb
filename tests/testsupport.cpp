#include "testsupport.h"

#include "platform/texception.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

MessageBoxRecorder::MessageBoxRecorder(Platform::TMsgButton answer)
{
    m_previous = Platform::SetMessageBoxHook([this, answer](const Platform::TMessageBoxCall &call) {
        // Own copies: the texts may be literals of a library that is unloaded afterwards.
        Platform::TMessageBoxCall copy = call;
        copy.Text = QString(call.Text.constData(), call.Text.size());
        copy.Caption = QString(call.Caption.constData(), call.Caption.size());
        m_calls.push_back(copy);
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    Platform::SetMessageBoxHook(m_previous);
}

QString IconName(Platform::TMsgIcon icon)
{
    switch (icon) {
    case Platform::TMsgIcon::Information:
        return QStringLiteral("information");
    case Platform::TMsgIcon::Warning:
        return QStringLiteral("warning");
    case Platform::TMsgIcon::Error:
        return QStringLiteral("error");
    case Platform::TMsgIcon::Question:
        return QStringLiteral("question");
    case Platform::TMsgIcon::None:
        break;
    }
    return QStringLiteral("none");
}

QString MessageBoxRecorder::Summary() const
{
    QStringList lines;
    for (const auto &call : m_calls)
        lines << call.Caption + QLatin1Char('|') + call.Text + QLatin1Char('|') + IconName(call.Icon);
    return lines.join(QLatin1Char('\n'));
}

QString PicturePath(const QString &name)
{
    QDir folder(QStringLiteral(TOVEL_BUILD_DIR "/pictures"));
    folder.mkpath(QStringLiteral("."));
    return folder.filePath(name);
}

QByteArray ReadFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

QString ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const TException &error) {
        return error.Message();
    }
    return QStringLiteral("(no error)");
}

bool WaitUntil(const std::function<bool()> &condition, int ms)
{
    return QTest::qWaitFor(condition, ms * SanitizerSlowdown);
}

void WhenModal(std::function<void(QWidget *)> drive)
{
    auto *poll = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, drive] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < 5000 * SanitizerSlowdown)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!modal) {
            ADD_FAILURE() << "no dialog opened";
            return;
        }
        drive(modal);
        if (QApplication::activeModalWidget() == modal) {
            ADD_FAILURE() << "the dialog stayed open";
            static_cast<QDialog *>(modal)->reject();
        }
    });
    poll->start(10);
}
