#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include "platform/oledb.h"

#include <functional>
#include <memory>

/// The caller library's data module: the connection and the query the exports share.
class TdmCaller
{
public:
    /// Reads the connection string from gp.ini (Base64) or takes the built-in one.
    /// A stored value that is not valid Base64 leaves the module without a usable
    /// connection string; the decoding error is reported to the user here.
    TdmCaller();
    ~TdmCaller();
    TdmCaller(const TdmCaller &) = delete;
    TdmCaller &operator=(const TdmCaller &) = delete;

    /// Opens the connection unless it is open; on failure shows the connection message.
    bool Connect();

    /// Runs `sql` on qryLogin, prepared with the one bound value `value`. When it fails
    /// because the connection was lost (the server ended the session or restarted), the
    /// connection is opened again with the stored settings and the query runs once more
    /// on a fresh qryLogin. Returns the failure's text, empty on success.
    QString RunQuery(const QString &sql, const QString &value);

    QSqlDatabase DBConn() const;
    QSqlQuery &qryLogin() { return *m_qryLogin; }
    const QString &ConnectionString() const { return m_connString; }

private:
    QString RunQuery(const std::function<bool(QSqlQuery &)> &attempt);
    void ShowConnectFailure(const QString &reason) const;

    QString m_connString;
    Platform::TDbWaits m_waits;
    bool m_connStringUsable = true;
    bool m_configured = false;
    std::unique_ptr<QSqlQuery> m_qryLogin;
};

/// A column of the current row as trimmed text.
QString FieldText(const QSqlQuery &query, int column);

/// The module of this process, or null before the first export that needs it.
TdmCaller *dmCaller();

/// Creates the module on first use; tells whether it was created by this call.
bool EnsureDataModule();

/// The built-in connection string used when gp.ini gives none.
QString DefaultConnectionString();
