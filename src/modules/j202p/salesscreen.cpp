#include "salesscreen.h"

#include "salestable.h"

#include "grid/tabrix.h"
#include "grid/uxlocale.h"
#include "grid/uxutils.h"
#include "platform/messagebox.h"
#include "platform/texception.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>

#include <utility>
#include <QVBoxLayout>

TSalesScreen::TSalesScreen(const QSqlDatabase &connection, QWidget *parent)
    : QWidget(parent)
    , m_connection(connection)
{
    setObjectName(QStringLiteral("J202PScreen"));
    m_grid = new TTabrix(this);
    m_grid->setObjectName(QStringLiteral("grdSales"));
    SalesTable::BuildGrid(*m_grid);

    m_query = new QPushButton(QString::fromUtf16(u"조회"), this);
    m_query->setObjectName(QStringLiteral("btnQuery"));
    m_query->setToolTip(QStringLiteral("F5"));
    m_save = new QPushButton(QString::fromUtf16(u"저장"), this);
    m_save->setObjectName(QStringLiteral("btnSave"));
    m_save->setToolTip(QStringLiteral("Ctrl+S"));
    m_excel = new QPushButton(QString::fromUtf16(u"엑셀"), this);
    m_excel->setObjectName(QStringLiteral("btnExcel"));
    m_excel->setToolTip(QStringLiteral("Ctrl+E"));
    m_print = new QPushButton(QString::fromUtf16(u"인쇄"), this);
    m_print->setObjectName(QStringLiteral("btnPrint"));
    m_print->setToolTip(QStringLiteral("Ctrl+P"));
    for (QPushButton *button : {m_query, m_save, m_excel, m_print})
        button->setFocusPolicy(Qt::NoFocus);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_query);
    buttons->addWidget(m_save);
    buttons->addWidget(m_excel);
    buttons->addWidget(m_print);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_status);

    connect(m_query, &QPushButton::clicked, this, [this] { Query(); });
    connect(m_save, &QPushButton::clicked, this, [this] { Save(); });
    connect(m_excel, &QPushButton::clicked, this, [this] { ExportExcel(); });
    connect(m_print, &QPushButton::clicked, this, [this] { Print(); });
    // The keys act at once, wherever the focus is inside the screen (a button's own
    // shortcut would wait for its pressed look).
    for (const auto &[key, button] : {std::pair{QKeySequence(Qt::Key_F5), m_query},
                                      std::pair{QKeySequence(Qt::CTRL | Qt::Key_S), m_save},
                                      std::pair{QKeySequence(Qt::CTRL | Qt::Key_E), m_excel},
                                      std::pair{QKeySequence(Qt::CTRL | Qt::Key_P), m_print}}) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
    connect(m_grid, &TTabrix::OnCalcColumns, this, &TSalesScreen::CalcAmount);
    // A new sale is dated today, also on a screen left open past midnight.
    connect(m_grid, &TTabrix::OnBeforeInsert, this, [this] {
        m_grid->GetMemColumn(SalesTable::SaleDate)->SetDefaults(TXDateToText(TXDateOf(QDate::currentDate())));
    });
    connect(m_grid, &TTabrix::OnColumnTitleClick, this, &TSalesScreen::TitleClicked);
    setFocusProxy(m_grid);
}

TSalesScreen::~TSalesScreen() = default;

QString TSalesScreen::Status() const
{
    return m_status->text();
}

QString TSalesScreen::Caption() const
{
    return QString::fromUtf16(u"일일판매현황");
}

void TSalesScreen::ShowStatus(const QString &text)
{
    m_status->setText(text);
}

bool TSalesScreen::Query()
{
    if (!ConfirmLeave())
        return false;
    QElapsedTimer timer;
    timer.start();
    QString error;
    try {
        error = SalesTable::Load(m_connection, *m_grid);
    } catch (const TException &failure) {
        error = failure.Message();
    }
    // A load that failed left the rows, and their order, as they were.
    if (!error.isEmpty()) {
        ShowStatus(QString::fromUtf16(u"조회하지 못했습니다: ") + error);
        return false;
    }
    // The rows come in sale number order again.
    m_sortColumn = -1;
    for (int i = 0; i < SalesTable::ColumnCount; ++i)
        m_grid->GetMemColumn(i)->Title().SetSortMark(wsmNone);
    ShowStatus(QString::fromUtf16(u"%1건을 조회했습니다 (%2 ms).")
                   .arg(QLocale(QLocale::Korean).toString(m_grid->GetRowCount()))
                   .arg(timer.elapsed()));
    return true;
}

bool TSalesScreen::Save()
{
    try {
        m_grid->SetEditValue();
        // A new row the user has not typed into goes, as it does when the row is left.
        if (m_grid->GridMode() == wgmInsert && !m_grid->Modified())
            m_grid->Cancel();
        if (m_grid->GridMode() != wgmBrowse)
            m_grid->Post();
    } catch (const TException &failure) {
        Platform::ShowMessageBox(this, failure.Message(), Caption(), Platform::TMsgIcon::Error);
        return false;
    }
    SalesTable::TSaveCounts counts;
    QString error;
    if (!SalesTable::Save(m_connection, *m_grid, counts, error)) {
        const QString text = QString::fromUtf16(u"저장하지 못했습니다. 변경한 내용은 화면에 그대로 있습니다.\n\n") + error;
        ShowStatus(QString::fromUtf16(u"저장 실패: ") + error);
        Platform::ShowMessageBox(this, text, Caption(), Platform::TMsgIcon::Error);
        return false;
    }
    ShowStatus(QString::fromUtf16(u"저장했습니다: 추가 %1건, 수정 %2건, 삭제 %3건.")
                   .arg(counts.Inserted)
                   .arg(counts.Updated)
                   .arg(counts.Deleted));
    return true;
}

bool TSalesScreen::ExportExcel(const QString &path)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString name = QStringLiteral("%1_%2.xlsx").arg(Caption(), QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
        target = QFileDialog::getSaveFileName(this, QString::fromUtf16(u"엑셀로 저장"), QDir(folder).filePath(name),
                                              QString::fromUtf16(u"Excel 통합 문서 (*.xlsx)"));
        if (target.isEmpty())
            return false;
        if (!target.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
            target += QLatin1String(".xlsx");
    }
    try {
        TwXlsxOptions options;
        options.SheetName = Caption();
        m_grid->ExportToXlsx(target, options);
    } catch (const std::exception &failure) {
        const QString message = QString::fromUtf8(failure.what());
        ShowStatus(QString::fromUtf16(u"엑셀로 저장하지 못했습니다: ") + message);
        Platform::ShowMessageBox(this, message, Caption(), Platform::TMsgIcon::Error);
        return false;
    }
    ShowStatus(QString::fromUtf16(u"%1건을 엑셀로 저장했습니다: %2")
                   .arg(QLocale(QLocale::Korean).toString(m_grid->GetRowCount()), QDir::toNativeSeparators(target)));
    return true;
}

void TSalesScreen::Print()
{
    TwPrintOptions options;
    options.Title = Caption();
    options.User = m_connection.userName();
    try {
        m_grid->PrintPreview(options);
    } catch (const std::exception &failure) {
        Platform::ShowMessageBox(this, QString::fromUtf8(failure.what()), Caption(), Platform::TMsgIcon::Error);
    }
}

bool TSalesScreen::HasChanges() const
{
    return (m_grid->GridMode() != wgmBrowse && m_grid->Modified()) || SalesTable::HasChanges(*m_grid);
}

bool TSalesScreen::ConfirmLeave()
{
    if (!HasChanges())
        return true;
    const Platform::TMsgButton answer = Platform::ShowMessageBox(
        this, QString::fromUtf16(u"변경된 내용이 있습니다. 저장하시겠습니까?"), Caption(), Platform::TMsgIcon::Question,
        Platform::mbYes | Platform::mbNo | Platform::mbCancel, Platform::mbYes);
    if (answer == Platform::mbCancel)
        return false;
    if (answer == Platform::mbYes)
        return Save();
    m_grid->Cancel();
    return true;
}

void TSalesScreen::CalcAmount()
{
    TwMemColumn *quantity = m_grid->GetMemColumn(SalesTable::Quantity);
    TwMemColumn *price = m_grid->GetMemColumn(SalesTable::Price);
    TwMemColumn *amount = m_grid->GetMemColumn(SalesTable::Amount);
    if (quantity->GetNull() || price->GetNull()) {
        amount->SetNull();
        return;
    }
    amount->SetFloat(static_cast<double>(quantity->GetLong()) * price->GetLong());
}

void TSalesScreen::TitleClicked(TwColumn *column)
{
    if (!column)
        return;
    const int index = column->Index();
    m_sortDescending = index == m_sortColumn && !m_sortDescending;
    m_sortColumn = index;
    try {
        m_grid->Sort(index, m_sortDescending, true);
    } catch (const TException &failure) {
        // The row being edited could not be posted first (a required value is missing).
        m_sortColumn = -1;
        Platform::ShowMessageBox(this, failure.Message(), Caption(), Platform::TMsgIcon::Error);
    }
}
