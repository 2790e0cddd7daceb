#include "grid/uxmfootstyles.h"
#include "grid/store/uxmfootstyles_p.h"

#include "grid/core/gridowner_p.h"
#include "grid/columns.h"
#include "grid/customgrid.h" // the grid is the dialog's parent and names its caption
#include "grid/gridparts.h"
#include "grid/memcolumn.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <iterator>

namespace {

constexpr int ClientWidth = 294;
constexpr int MethodColumns = 2;

// The radio items as the designer has always listed them, trailing blanks included.
const char *const MethodItems[]
    = { "wfmeNone", "wfmeCustom ", "wfmeCount ", "wfmeSum", "wfmeAverage ", "wfmeMax ", "wfmeMin" };
const char *const OperatorItems[] = { " All", " ==", " >", " >=", " <", " <=", " !=" };
constexpr int MethodCount = int(std::size(MethodItems));

// A style entry: method digit, condition column in four digits (9999: the footer's own),
// operator digit, operand.
struct TwStyleEntry
{
    int Method = wfmeNone;
    int Column = -1;
    int Operator = wfopAll;
    QString Operand;

    static TwStyleEntry Parse(QString text)
    {
        if (text.size() < 6)
            text = TwMemColumnFooter::DefaultStyleText();
        TwStyleEntry entry;
        entry.Method = qBound(0, text.at(0).unicode() - '0', int(wfmeMin));
        entry.Column = text.mid(1, 4).toInt();
        if (entry.Column == 9999)
            entry.Column = -1;
        entry.Operator = qBound(0, text.at(5).unicode() - '0', int(wfopNEQ));
        entry.Operand = text.mid(6);
        return entry;
    }

    QString Text() const
    {
        const QString column = Column < 0 ? QStringLiteral("9999")
                                          : QString::number(qMin(Column, 9998)).rightJustified(4, QLatin1Char('0'));
        return QString::number(Method) + column + QString::number(Operator) + Operand;
    }
};

QString ColumnName(const TwColumn &column)
{
    const QString caption = column.Title().Caption();
    return caption.isEmpty() ? QStringLiteral("Column[%1]").arg(column.Index()) : caption;
}

// Enabled controls take the window colour, disabled ones the button face.
void SetInputEnabled(QWidget *control, bool enabled)
{
    control->setEnabled(enabled);
    const QPalette standard = QApplication::palette(control);
    const QColor colour = standard.color(enabled ? QPalette::Base : QPalette::Button);
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, colour);
    if (qobject_cast<QComboBox *>(control))
        palette.setColor(QPalette::Button, colour);
    control->setPalette(palette);
}

} // namespace

TwDlgMFootStyles::TwDlgMFootStyles(TwMemColumnFooter *footer, QWidget *parent)
    : QDialog(parent)
    , d(std::make_unique<TwDlgMFootStylesPrivate>())
{
    Q_ASSERT_X(footer && footer->GetGrid() && footer->Column(), "TwDlgMFootStyles", "a footer of a column in a grid");
    d->m_footer = footer;
    setObjectName(QStringLiteral("TwDlgMFootStyles"));
    setWindowTitle(
        QStringLiteral("Edit %1.%2.Footer.Styles").arg(footer->GetGrid()->objectName(), ColumnName(*footer->Column())));

    auto *layout = new QVBoxLayout(this);

    auto *footersRow = new QHBoxLayout;
    auto *footersLabel = new QLabel(QStringLiteral("&Footers"), this);
    d->m_cbFooters = new QComboBox(this);
    d->m_cbFooters->setObjectName(QStringLiteral("cbFooters"));
    footersLabel->setBuddy(d->m_cbFooters);
    footersRow->addWidget(footersLabel);
    footersRow->addWidget(d->m_cbFooters, 1);
    layout->addLayout(footersRow);

    d->m_grpMethods = new QGroupBox(QStringLiteral("&Method"), this);
    d->m_grpMethods->setObjectName(QStringLiteral("grpMethods"));
    d->m_methods = new QButtonGroup(this);
    auto *methodsLayout = new QGridLayout(d->m_grpMethods);
    // Like a radio group: the items fill the first column, then the second.
    const int rows = (MethodCount + MethodColumns - 1) / MethodColumns;
    for (int i = 0; i < MethodCount; ++i) {
        auto *item = new QRadioButton(QString::fromLatin1(MethodItems[i]), d->m_grpMethods);
        item->setObjectName(QStringLiteral("grpMethods%1").arg(i));
        d->m_methods->addButton(item, i);
        methodsLayout->addWidget(item, i % rows, i / rows);
    }
    layout->addWidget(d->m_grpMethods);

    d->m_grpCondition = new QGroupBox(QStringLiteral("&Condition"), this);
    d->m_grpCondition->setObjectName(QStringLiteral("grpCondition"));
    auto *conditionLayout = new QGridLayout(d->m_grpCondition);
    d->m_cbColumns = new QComboBox(d->m_grpCondition);
    d->m_cbColumns->setObjectName(QStringLiteral("cbColumns"));
    d->m_cbOperator = new QComboBox(d->m_grpCondition);
    d->m_cbOperator->setObjectName(QStringLiteral("cbOperator"));
    for (const char *item : OperatorItems)
        d->m_cbOperator->addItem(QString::fromLatin1(item));
    d->m_edOperand = new QLineEdit(d->m_grpCondition);
    d->m_edOperand->setObjectName(QStringLiteral("edOperand"));
    conditionLayout->addWidget(d->m_cbColumns, 0, 0, 1, 2);
    conditionLayout->addWidget(d->m_cbOperator, 1, 0);
    conditionLayout->addWidget(d->m_edOperand, 1, 1);
    conditionLayout->setColumnStretch(1, 1);
    layout->addWidget(d->m_grpCondition);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    d->m_cmOk = new QPushButton(QStringLiteral("&Ok"), this);
    d->m_cmOk->setObjectName(QStringLiteral("cmOk"));
    d->m_cmOk->setDefault(true);
    d->m_cmCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    d->m_cmCancel->setObjectName(QStringLiteral("cmCancel"));
    d->m_cmHelp = new QPushButton(QStringLiteral("&Help"), this);
    d->m_cmHelp->setObjectName(QStringLiteral("cmHelp"));
    for (QPushButton *button : { d->m_cmOk, d->m_cmCancel, d->m_cmHelp })
        buttons->addWidget(button);
    layout->addLayout(buttons);

    // A dialog border: the form keeps its size.
    setFixedSize(ClientWidth, sizeHint().height());

    FillLists();

    connect(d->m_cbFooters, &QComboBox::currentIndexChanged, this, &TwDlgMFootStyles::ReadStyle);
    connect(d->m_methods, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            Changed();
    });
    connect(d->m_cbColumns, &QComboBox::currentIndexChanged, this, &TwDlgMFootStyles::Changed);
    connect(d->m_cbOperator, &QComboBox::currentIndexChanged, this, &TwDlgMFootStyles::Changed);
    connect(d->m_edOperand, &QLineEdit::textChanged, this, &TwDlgMFootStyles::Changed);
    connect(d->m_cmOk, &QPushButton::clicked, this, &TwDlgMFootStyles::Ok);
    connect(d->m_cmCancel, &QPushButton::clicked, this, &QDialog::reject);

    ReadStyle();
}

TwDlgMFootStyles::~TwDlgMFootStyles() = default;

void TwDlgMFootStyles::FillLists()
{
    const QScopedValueRollback loading(d->m_loading, true);
    TwGridOwner *grid = TwOwnerOf(d->m_footer->GetGrid());
    const int lines = grid->Footers().Count();
    for (int i = 0; i < lines; ++i) {
        d->m_cbFooters->addItem(QStringLiteral("Footer%1").arg(i));
        d->m_styles << d->m_footer->Styles().value(i, TwMemColumnFooter::DefaultStyleText());
    }
    const TwColumns &columns = grid->Columns();
    for (int i = 0; i < columns.Count(); ++i)
        d->m_cbColumns->addItem(QStringLiteral("%1 - %2").arg(i).arg(columns.Items(i)->Title().Caption()));
    d->m_cbFooters->setCurrentIndex(lines > 0 ? 0 : -1);
}

QStringList TwDlgMFootStyles::Styles() const { return d->m_styles; }

bool TwDlgMFootStyles::Modified() const { return d->m_modified; }

void TwDlgMFootStyles::ReadStyle()
{
    const int line = d->m_cbFooters->currentIndex();
    if (line < 0 || line >= d->m_styles.size())
        return;
    const QScopedValueRollback loading(d->m_loading, true);
    const TwStyleEntry entry = TwStyleEntry::Parse(d->m_styles.at(line));
    d->m_methods->button(entry.Method)->setChecked(true);
    d->m_cbColumns->setCurrentIndex(entry.Column < d->m_cbColumns->count() ? entry.Column : -1);
    d->m_cbOperator->setCurrentIndex(entry.Operator);
    d->m_edOperand->setText(entry.Operand);
    UpdateControls();
}

void TwDlgMFootStyles::WriteStyle()
{
    const int line = d->m_cbFooters->currentIndex();
    if (line < 0 || line >= d->m_styles.size())
        return;
    TwStyleEntry entry = TwStyleEntry::Parse(d->m_styles.at(line));
    entry.Method = qMax(0, d->m_methods->checkedId());
    // The list has no entry for the footer's own column nor for one beyond the grid's
    // columns: such a condition column stays as it is until another entry is chosen.
    if (d->m_cbColumns->currentIndex() >= 0)
        entry.Column = d->m_cbColumns->currentIndex();
    entry.Operator = qMax(0, d->m_cbOperator->currentIndex());
    entry.Operand = d->m_edOperand->text();
    d->m_styles[line] = entry.Text();
}

void TwDlgMFootStyles::Changed()
{
    if (d->m_loading)
        return;
    WriteStyle();
    d->m_modified = true;
    UpdateControls();
}

void TwDlgMFootStyles::UpdateControls()
{
    const bool condition = d->m_methods->checkedId() >= wfmeCount;
    SetInputEnabled(d->m_cbColumns, condition);
    SetInputEnabled(d->m_cbOperator, condition);
    SetInputEnabled(d->m_edOperand, condition && d->m_cbOperator->currentIndex() != wfopAll);
}

void TwDlgMFootStyles::Ok()
{
    if (d->m_modified) {
        for (int line = 0; line < d->m_styles.size(); ++line) {
            const TwStyleEntry entry = TwStyleEntry::Parse(d->m_styles.at(line));
            d->m_footer->SetStyle(
                line, TwFooterMethod(entry.Method), entry.Column, TwFooterOperator(entry.Operator), entry.Operand);
        }
    }
    accept();
}

bool EditMFootStyles(TwMemColumnFooter *footer)
{
    QWidget *grid = footer ? footer->GetGrid() : nullptr; // the dialog's parent
    if (!grid || TwOwnerOf(footer->GetGrid())->Footers().Count() == 0)
        return false;
    TwDlgMFootStyles dialog(footer, grid);
    return dialog.exec() == QDialog::Accepted;
}
