#include "updater/release/contentcheck.h"

TContentCheck::TContentCheck(QString name, TExpectedContent expected)
    : m_name(std::move(name))
    , m_expected(std::move(expected))
{
}

void TContentCheck::Add(QByteArrayView bytes)
{
    if (!m_expected.Sha256.isEmpty())
        m_hash.addData(bytes);
}

void TContentCheck::Finish(qint64 received)
{
    const bool signedFile = !m_expected.Sha256.isEmpty();
    if (m_expected.Size > 0 && received != m_expected.Size) {
        const QString text = QStringLiteral("%1: received %2 of %3 bytes").arg(m_name).arg(received).arg(m_expected.Size);
        if (signedFile)
            throw TContentMismatch(text);
        throw TException(text);
    }
    if (signedFile && m_hash.result() != m_expected.Sha256)
        throw TContentMismatch(
            QStringLiteral("%1: the SHA-256 of the received bytes is not the one the signed release lists").arg(m_name));
}
