#include "updater/release/contentcheck.h"

TContentCheck::TContentCheck(QString name, TExpectedContent expected)
    : m_name(std::move(name))
    , m_expected(std::move(expected))
{
}

bool TContentCheck::Add(QByteArrayView bytes)
{
    m_received += bytes.size();
    if (!m_expected.Sha256.isEmpty())
        m_hash.addData(bytes);
    return !TooMany();
}

bool TContentCheck::TooMany() const
{
    return (m_expected.Limit >= 0 && m_received > m_expected.Limit)
        || (!m_expected.Sha256.isEmpty() && m_received > m_expected.Size);
}

void TContentCheck::Finish()
{
    const bool signedFile = !m_expected.Sha256.isEmpty();
    const auto fail = [&](const QString &text) {
        if (signedFile)
            throw TContentMismatch(text);
        throw TException(text);
    };
    if (m_expected.Limit >= 0 && m_received > m_expected.Limit)
        fail(QStringLiteral("%1: more than %2 bytes").arg(m_name).arg(m_expected.Limit));
    if ((m_expected.Size > 0 || signedFile) && m_received != m_expected.Size) {
        if (TooMany())
            fail(QStringLiteral("%1: more than %2 bytes").arg(m_name).arg(m_expected.Size));
        fail(QStringLiteral("%1: received %2 of %3 bytes").arg(m_name).arg(m_received).arg(m_expected.Size));
    }
    if (signedFile && m_hash.result() != m_expected.Sha256)
        throw TContentMismatch(
            QStringLiteral("%1: the SHA-256 of the received bytes is not the one the signed release lists").arg(m_name));
}
