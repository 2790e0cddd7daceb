#include "caller/udm.h"

#include "common/base64.h"
#include "common/gplib.h"
#include "platform/dbhealth.h"
#include "platform/messagebox.h"
#include "platform/oledb.h"
#include "platform/programfolder.h"
#include "platform/texception.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QVariant>

#include <cstdlib>

namespace {

const QString ConnectionName = QStringLiteral("ZULCaller");

std::unique_ptr<TdmCaller> g_instance;

std::unique_ptr<TdmCaller> &Instance()
{
    return g_instance;
}

// The data module holds a Qt SQL connection, which must be closed while Qt's connection
// registry still exists: so the module goes when the application object does, never as
// late as the library's own static objects (the registry is gone by then).
void ReleaseDataModule()
{
    g_instance.reset();
}

// A library unloaded while the application runs (the login program loads it for each
// check) takes its release routine with it and releases the module itself.
struct TUnloadRelease
{
    ~TUnloadRelease()
    {
        qRemovePostRoutine(ReleaseDataModule);
        ReleaseDataModule();
    }
} g_unloadRelease;

// A program that ends through exit() while its application object still lives (Qt
// ends it so when its display goes away) runs no post routine, and the library's own
// static objects go after Qt SQL's registry. An exit handler registered once the
// registry exists runs before the registry goes, and so releases the module in time. A
// library unloaded earlier runs it then.
void ReleaseAtExitOnce()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    std::atexit(ReleaseDataModule);
}

} // namespace

QString DefaultConnectionString()
{
    return QStringLiteral("Provider=MSDAORA.1;Password=") + QStringLiteral(TOVEL_DEFAULT_DB_PASSWORD)
        + QStringLiteral(";User ID=qorvendl;Data Source=qorvendl1;Persist Security Info=True");
}

TdmCaller::TdmCaller()
{
    QString problem;
    m_waits = GpLib::ReadDbWaits(&problem);
    if (!problem.isEmpty())
        Platform::ShowMessageBox(Platform::ApplicationWindow(), problem, Platform::ApplicationTitle(),
                                 Platform::TMsgIcon::Warning);
    const QString stored = GpLib::ReadConnString();
    m_connString = stored;
    if (stored.isEmpty()) {
        m_connString = DefaultConnectionString();
        return;
    }
    try {
        m_connString = DecodeBase64Text(stored);
    } catch (const TException &error) {
        m_connStringUsable = false;
        Platform::ShowMessageBox(Platform::ApplicationWindow(), error.Message(), Platform::ApplicationTitle(),
                                 Platform::TMsgIcon::Error);
    }
}

TdmCaller::~TdmCaller()
{
    if (m_qryLogin)
        m_qryLogin->finish();
    m_qryLogin.reset();
    if (!QSqlDatabase::contains(ConnectionName))
        return;
    QSqlDatabase::database(ConnectionName, false).close();
    QSqlDatabase::removeDatabase(ConnectionName);
}

QSqlDatabase TdmCaller::DBConn() const
{
    return QSqlDatabase::database(ConnectionName, false);
}

bool TdmCaller::Connect()
{
    if (!m_connStringUsable)
        return false;
    // Once set up, the connection stays the one Qt SQL knows by this name: the modules
    // hold copies of it, and a reopened connection must reach them too.
    if (!m_configured) {
        QString error;
        if (!Platform::SetUpDatabase(ConnectionName, Platform::ParseOleDbString(m_connString),
                                     Platform::ProgramFolder(), &error, m_waits)) {
            ShowConnectFailure(error);
            return false;
        }
        ReleaseAtExitOnce();
        m_configured = true;
    }
    QSqlDatabase db = DBConn();
    if (db.isOpen())
        return true;
    m_qryLogin.reset();
    const bool opened = db.open();
    m_qryLogin = std::make_unique<QSqlQuery>(db);
    if (opened)
        return true;
    ShowConnectFailure(db.lastError().text());
    return false;
}

QString TdmCaller::RunQuery(const std::function<bool(QSqlQuery &)> &attempt)
{
    if (attempt(qryLogin()))
        return {};
    QString error = qryLogin().lastError().text();
    QSqlDatabase db = DBConn();
    if (Platform::ConnectionAnswers(db))
        return error;
    qryLogin().finish();
    m_qryLogin.reset();
    QString reason;
    const bool reopened = Platform::ReopenConnection(db, &reason);
    m_qryLogin = std::make_unique<QSqlQuery>(db);
    if (!reopened)
        return reason;
    if (attempt(qryLogin()))
        return {};
    return qryLogin().lastError().text();
}

QString TdmCaller::RunQuery(const QString &sql, const QString &value)
{
    return RunQuery([&sql, &value](QSqlQuery &query) {
        query.finish();
        if (!query.prepare(sql))
            return false;
        query.addBindValue(value);
        return query.exec();
    });
}

void TdmCaller::ShowConnectFailure(const QString &reason) const
{
    Platform::ShowMessageBox(Platform::ApplicationWindow(),
                             QStringLiteral("DB에 접속할 수 없습니다.\n") + QString(50, QLatin1Char('-'))
                                 + QLatin1Char('\n') + reason,
                             QStringLiteral("FAX전송"), Platform::TMsgIcon::Information);
}

QString FieldText(const QSqlQuery &query, int column)
{
    return query.value(column).toString().trimmed();
}

TdmCaller *dmCaller()
{
    return Instance().get();
}

bool EnsureDataModule()
{
    if (Instance())
        return false;
    Instance() = std::make_unique<TdmCaller>();
    qRemovePostRoutine(ReleaseDataModule); // registered once, however often a module is made
    qAddPostRoutine(ReleaseDataModule);
    return true;
}
