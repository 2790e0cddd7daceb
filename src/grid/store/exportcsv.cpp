// The grid's rows as a CSV file that spreadsheets open: the column titles, the rows and the
// footers, numbers and dates in the forms spreadsheets read as numbers and dates.

#include "grid/tabrix.h"
#include "grid/core/gridclipboard_p.h"
#include "grid/uxutils.h"
#include "platform/cp949.h"
#include "platform/texception.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace {

// A CSV field: quoted when it holds the separator, a quote or a line break.
QString CsvField(const QString &text, QChar separator)
{
    const bool quoted = std::any_of(text.begin(), text.end(), [separator](QChar c) {
        return c == separator || c == u'"' || c == u'\n' || c == u'\r';
    });
    if (!quoted)
        return text;
    QString field = text;
    field.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + field + u'"';
}

// A text a spreadsheet would take for a formula (it starts with =, +, -, @, a tab or a
// carriage return and is no plain number) goes behind an apostrophe, so that it opens as
// the text it is and never runs.
QString AsText(const QString &text)
{
    if (text.isEmpty())
        return text;
    const QChar first = text.front();
    if (first != u'=' && first != u'+' && first != u'-' && first != u'@' && first != u'\t' && first != u'\r')
        return text;
    static const QRegularExpression plainNumber(QStringLiteral("^[+-]?[0-9][0-9,]*(\\.[0-9]+)?$"));
    return plainNumber.match(text).hasMatch() ? text : u'\'' + text;
}

QString NumberText(double value)
{
    if (!std::isfinite(value))
        return {};
    // The shortest digits that read back as the same number: 0.1, not 0.10000000000000001.
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QString TTabrix::CsvValue(int column, int row) const
{
    const TwCells cell = Cells(column, row);
    if (cell.Null())
        return {};
    TwMemColumn *memColumn = GetMemColumn(column);
    // Columns that show a list's item export the item (whatever repeats the grid leaves
    // blank on the screen).
    const TwEditKind kind = memColumn->GetEditKind();
    if (kind == wekCheckBox || kind == wekBoolean)
        return cell.Bool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (kind == wekPickList || kind == wekRadioGroup
        || (memColumn->ItemsMode() && memColumn->ListOption().ValuesIndex() != 0))
        return AsText(cell.Text());
    switch (memColumn->DataType()) {
    case wdtBool:
        return cell.Bool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case wdtShort:
    case wdtByte:
    case wdtSmall:
    case wdtWord:
    case wdtLong:
    case wdtFloat:
        return NumberText(cell.Float());
    case wdtDate:
        return TXDateFrom(cell.DateTime()).toString(Qt::ISODate);
    case wdtTime:
        return TXTimeFrom(cell.DateTime()).toString(QStringLiteral("HH:mm:ss"));
    case wdtDateTime:
        return TXDateFrom(cell.DateTime()).toString(Qt::ISODate) + u' '
            + TXTimeFrom(cell.DateTime()).toString(QStringLiteral("HH:mm:ss"));
    case wdtGraphic:
        return {};
    default:
        return AsText(cell.String());
    }
}

void TTabrix::ExportToCsv(const QString &path, const TwCsvOptions &options)
{
    const QChar separator = options.Separator;
    if (separator == u'"' || separator == u'\r' || separator == u'\n' || separator.isNull())
        throw TException(QStringLiteral("'%1': 구분 문자로 쓸 수 없는 글자입니다.").arg(path));
    const bool cp949 = options.Encoding == TwCsvEncoding::Cp949;
    const std::vector<TwColumn *> columns = TXReadingColumns(*this);
    const QString lineEnd = QStringLiteral("\r\n");

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TException(QStringLiteral("'%1'에 저장할 수 없습니다: %2").arg(path, file.errorString()));
    QString chunk;
    // Written a few thousand rows at a time: the file never waits whole in memory. A
    // character code page 949 lacks ends the export; the unfinished file is discarded.
    const auto flush = [&](bool last) {
        if (!last && chunk.size() < 1 << 20)
            return;
        bool exact = true;
        file.write(cp949 ? Platform::ToCp949(chunk, &exact) : chunk.toUtf8());
        if (!exact)
            throw TException(QStringLiteral("'%1': 코드 페이지 949에 없는 글자가 있어 저장하지 않았습니다.").arg(path));
        chunk.clear();
    };
    if (options.Encoding == TwCsvEncoding::Utf8Bom)
        file.write("\xEF\xBB\xBF");
    const auto writeLine = [&](const QStringList &fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                chunk += separator;
            chunk += CsvField(fields[i], separator);
        }
        chunk += lineEnd;
        flush(false);
    };
    if (options.Titles) {
        QStringList titles;
        for (TwColumn *column : columns)
            titles << column->Title().Caption();
        writeLine(titles);
    }
    for (int row = 0; row < GetRowCount(); ++row) {
        QStringList fields;
        fields.reserve(static_cast<qsizetype>(columns.size()));
        for (TwColumn *column : columns)
            fields << CsvValue(column->Index(), row);
        writeLine(fields);
    }
    if (options.Footers) {
        for (int line = 0; line < Footers().Count(); ++line) {
            if (!Footers().Items(line)->Visible())
                continue;
            QStringList fields;
            for (TwColumn *column : columns)
                fields << AsText(column->Footer().GetText(line));
            writeLine(fields);
        }
    }
    flush(true);
    // The file appears whole under its name or not at all.
    if (!file.commit())
        throw TException(QStringLiteral("'%1'에 저장할 수 없습니다: %2").arg(path, file.errorString()));
}
