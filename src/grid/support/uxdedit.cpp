#include "grid/uxdedit.h"

#include "grid/uxlocale.h"
#include "grid/uxutils.h"
#include "platform/texception.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <vector>

namespace {

// A piece of a display format during translation: the components' letters still to map,
// or picker text (quoted literals, locale formats) that stays as it is.
struct Segment
{
    QString Text;
    bool Picker = false;
};

bool StartsAt(const QString &text, qsizetype at, QLatin1StringView pattern)
{
    return QStringView(text).mid(at).startsWith(pattern);
}

QString Quoted(const QString &literal)
{
    QString text = literal;
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The end of a quoted part starting at `at` (the index after its closing quote).
qsizetype QuoteEnd(const QString &text, qsizetype at)
{
    const QChar quote = text.at(at);
    const qsizetype close = text.indexOf(quote, at + 1);
    return close < 0 ? text.size() : close + 1;
}

qsizetype RunLength(const QString &text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && text.at(end) == text.at(at))
        ++end;
    return end - at;
}

bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

QChar FirstSeparator(const QString &format, QChar fallback)
{
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}

} // namespace

TwDateFormats TwDateFormats::FromLocale(const QLocale &locale)
{
    TwDateFormats formats;
    formats.ShortDate = locale.dateFormat(QLocale::ShortFormat);
    formats.LongDate = locale.dateFormat(QLocale::LongFormat);
    formats.ShortTime = locale.timeFormat(QLocale::ShortFormat);
    formats.LongTime = locale.timeFormat(QLocale::LongFormat);
    formats.DateSeparator = FirstSeparator(formats.ShortDate, QLatin1Char('/'));
    formats.TimeSeparator = FirstSeparator(formats.ShortTime, QLatin1Char(':'));
    return formats;
}

QString TXQtToPickerFormat(const QString &qtFormat)
{
    QString picker;
    qsizetype i = 0;
    while (i < qtFormat.size()) {
        const QChar c = qtFormat.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = QuoteEnd(qtFormat, i);
            picker += qtFormat.mid(i, end - i);
            i = end;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            picker += c;
            ++i;
            continue;
        }
        const qsizetype run = RunLength(qtFormat, i);
        const char letter = c.toLatin1();
        switch (letter) {
        case 'A':
        case 'a':
            picker += QLatin1String("tt");
            i += run;
            if (i < qtFormat.size() && (qtFormat.at(i) == QLatin1Char('P') || qtFormat.at(i) == QLatin1Char('p')))
                ++i;
            continue;
        case 't':
            // The picker shows no time zone: the field and the blank before it go.
            if (!picker.isEmpty() && picker.back().isSpace())
                picker.chop(1);
            break;
        case 'z':
            // Nor milliseconds: the field and the decimal separator before it go.
            if (!picker.isEmpty() && (picker.back() == QLatin1Char('.') || picker.back() == QLatin1Char(',')))
                picker.chop(1);
            break;
        case 'y':
            picker += run >= 3 || run == 1 ? QLatin1String("yyyy") : QLatin1String("yy");
            break;
        case 'd':
        case 'M':
        case 'h':
        case 'H':
        case 'm':
        case 's':
            picker += qtFormat.mid(i, run);
            break;
        default:
            picker += Quoted(qtFormat.mid(i, run));
            break;
        }
        i += run;
    }
    return picker.trimmed();
}

QString TXPickerFormat(const QString &format, const TwDateFormats &formats)
{
    // Pass 1: expand quoted parts, AM/PM markers, locale formats and separators.
    std::vector<Segment> segments;
    bool twelveHour = false;
    auto addPicker = [&](const QString &text) {
        segments.push_back({ text, true });
        if (text.contains(QLatin1String("tt")))
            twelveHour = true;
    };
    auto addLetter = [&](QChar c) {
        if (segments.empty() || segments.back().Picker)
            segments.push_back({});
        segments.back().Text += c;
    };
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = format.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? format.size() : close + 1;
            segments.push_back({ Quoted(format.mid(i + 1, (close < 0 ? format.size() : close) - i - 1)), true });
            i = end;
            continue;
        }
        struct Expansion
        {
            QLatin1StringView Pattern;
            QString Picker;
        };
        const Expansion expansions[] = {
            { QLatin1StringView("am/pm"), QStringLiteral("tt") },
            { QLatin1StringView("ampm"), QStringLiteral("tt") },
            { QLatin1StringView("a/p"), QStringLiteral("tt") },
            { QLatin1StringView("dddddd"), TXQtToPickerFormat(formats.LongDate) },
            { QLatin1StringView("ddddd"), TXQtToPickerFormat(formats.ShortDate) },
            { QLatin1StringView("tt"), TXQtToPickerFormat(formats.LongTime) },
            { QLatin1StringView("t"), TXQtToPickerFormat(formats.ShortTime) },
            { QLatin1StringView("c"), TXQtToPickerFormat(formats.ShortDate) },
            { QLatin1StringView("/"), Quoted(formats.DateSeparator) },
            { QLatin1StringView(":"), Quoted(formats.TimeSeparator) },
        };
        bool expanded = false;
        for (const Expansion &e : expansions) {
            if (!StartsAt(format, i, e.Pattern))
                continue;
            addPicker(e.Picker);
            if (e.Picker == QLatin1String("tt"))
                twelveHour = true;
            i += e.Pattern.size();
            expanded = true;
            break;
        }
        if (expanded)
            continue;
        addLetter(c);
        ++i;
    }

    // Pass 2: the components' month, minute and hour letters become the picker's.
    QString picker;
    for (Segment &segment : segments) {
        if (!segment.Picker) {
            for (QChar &c : segment.Text) {
                if (c == QLatin1Char('m'))
                    c = QLatin1Char('M');
                else if (c == QLatin1Char('n'))
                    c = QLatin1Char('m');
                else if (c == QLatin1Char('h'))
                    c = twelveHour ? QLatin1Char('h') : QLatin1Char('H');
            }
        }
        picker += segment.Text;
    }
    return picker;
}

QString TXPickerToQtFormat(const QString &picker)
{
    QString qt;
    qsizetype i = 0;
    while (i < picker.size()) {
        const QChar c = picker.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = QuoteEnd(picker, i);
            qt += picker.mid(i, end - i);
            i = end;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            qt += c;
            ++i;
            continue;
        }
        const qsizetype run = RunLength(picker, i);
        switch (c.toLatin1()) {
        case 't':
            qt += QLatin1String("AP");
            break;
        case 'y':
            qt += run >= 3 ? QLatin1String("yyyy") : QLatin1String("yy");
            break;
        case 'g':
            break;
        case 'd':
        case 'M':
            qt += QString(qMin<qsizetype>(run, 4), c);
            break;
        case 'h':
        case 'H':
        case 'm':
        case 's':
            qt += QString(qMin<qsizetype>(run, 2), c);
            break;
        default:
            qt += Quoted(picker.mid(i, run));
            break;
        }
        i += run;
    }
    return qt;
}

struct TwCustomDateEdit::Private
{
    QString editFormat;
    QString pickerFormat;
    TwDateFormats formats = TwDateFormats::FromLocale(QLocale());
    bool enableNull = true;
    bool focusRect = true;
    bool isNull = false;
    bool loading = false;
    bool setting = false;
    TwDateTimeKind kind = dtkDate;
    TwDateMode mode = dmComboBox;
};

TwCustomDateEdit::TwCustomDateEdit(QWidget *parent)
    : QDateTimeEdit(parent)
    , d(std::make_unique<Private>())
{
    setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0)), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)));
    setDateTime(QDateTime::currentDateTime());
    setCalendarPopup(true);
    lineEdit()->installEventFilter(this);
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!d->setting && d->mode == dmUpDown)
            SetIsNull(false);
    });
    ApplyFormat();
}

TwCustomDateEdit::~TwCustomDateEdit() = default;

QString TwCustomDateEdit::EditFormat() const { return d->editFormat; }

void TwCustomDateEdit::SetEditFormat(const QString &format)
{
    d->editFormat = format;
    if (!d->loading)
        ApplyFormat();
}

QString TwCustomDateEdit::PickerFormat() const { return d->pickerFormat; }

void TwCustomDateEdit::SetDateFormats(const TwDateFormats &formats)
{
    d->formats = formats;
    ApplyFormat();
}

void TwCustomDateEdit::SetLoading(bool value)
{
    d->loading = value;
    if (!value)
        ApplyFormat();
}

void TwCustomDateEdit::ApplyFormat()
{
    if (!d->editFormat.isEmpty())
        d->pickerFormat = TXPickerFormat(d->editFormat, d->formats);
    else if (d->kind == dtkDate)
        d->pickerFormat = TXQtToPickerFormat(d->formats.ShortDate);
    else
        d->pickerFormat = TXQtToPickerFormat(d->formats.LongTime);
    setDisplayFormat(TXPickerToQtFormat(d->pickerFormat));
}

bool TwCustomDateEdit::EnableNull() const { return d->enableNull; }

void TwCustomDateEdit::SetEnableNull(bool value)
{
    d->enableNull = value;
    if (!value)
        SetIsNull(false);
}

bool TwCustomDateEdit::FocusRect() const { return d->focusRect; }

void TwCustomDateEdit::SetFocusRect(bool value)
{
    if (value == d->focusRect)
        return;
    d->focusRect = value;
    update();
}

TwDateTimeKind TwCustomDateEdit::Kind() const { return d->kind; }

void TwCustomDateEdit::SetKind(TwDateTimeKind value)
{
    if (value == d->kind)
        return;
    d->kind = value;
    setCalendarPopup(d->kind == dtkDate && d->mode == dmComboBox);
    ApplyFormat();
}

TwDateMode TwCustomDateEdit::DateMode() const { return d->mode; }

void TwCustomDateEdit::SetDateMode(TwDateMode value)
{
    d->mode = value;
    setCalendarPopup(d->kind == dtkDate && d->mode == dmComboBox);
}

bool TwCustomDateEdit::IsNull() const { return d->isNull; }

void TwCustomDateEdit::SetIsNull(bool value)
{
    if (value == d->isNull || (value && !d->enableNull))
        return;
    d->isNull = value;
    update();
    lineEdit()->update();
}

void TwCustomDateEdit::Clear() { SetIsNull(true); }

void TwCustomDateEdit::SetValue(const QDateTime &value)
{
    d->setting = true;
    setDateTime(value);
    d->setting = false;
    SetIsNull(false);
}

int TwCustomDateEdit::GetLong() const
{
    if (d->isNull)
        return 0;
    if (d->kind == dtkDate) {
        const QDate date = this->date();
        return date.year() * 10000 + date.month() * 100 + date.day();
    }
    const QTime time = this->time();
    return time.hour() * 10000 + time.minute() * 100 + time.second();
}

void TwCustomDateEdit::SetLong(int value)
{
    if (d->kind == dtkDate) {
        const QDate date(value / 10000, value / 100 % 100, value % 100);
        if (value <= 0 || !date.isValid() || date < minimumDate() || date > maximumDate())
            throw TException(QStringLiteral("'%1' is not a valid date (yyyymmdd)").arg(value));
        SetValue(QDateTime(date, time()));
        return;
    }
    const QTime time(value / 10000, value / 100 % 100, value % 100);
    if (value < 0 || !time.isValid())
        throw TException(QStringLiteral("'%1' is not a valid time (hhmmss)").arg(value));
    SetValue(QDateTime(date(), time));
}

QString TwCustomDateEdit::GetString() const
{
    if (d->isNull)
        return {};
    if (d->kind == dtkDate)
        return TXDateToText(TXDateOf(date()));
    return TXTimeToText(TXTimeOf(time()));
}

void TwCustomDateEdit::SetString(const QString &text)
{
    if (d->kind == dtkDate) {
        SetValue(QDateTime(TXDateFrom(TXTextToDate(text)), time()));
        return;
    }
    SetValue(QDateTime(date(), TXTimeFrom(TXTextToTime(text))));
}

void TwCustomDateEdit::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly()) {
        QDateTimeEdit::keyPressEvent(event);
        return;
    }
    const bool dropKey
        = event->key() == Qt::Key_F4 || (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    if (dropKey && calendarPopup()) {
        SetIsNull(false);
        OpenCalendar();
        return;
    }
    if (!d->isNull) {
        if (event->key() == Qt::Key_Delete && d->enableNull) {
            SetIsNull(true);
            return;
        }
        QDateTimeEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Home) {
        SetValue(QDateTime::currentDateTime());
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && (text.at(0).isDigit() || text.at(0) == QLatin1Char('.'))) {
        SetIsNull(false);
        // The first field is made active as a click on it would: selected, so the digit
        // replaces it instead of being refused by a full field.
        setSelectedSection(sectionAt(0));
        QDateTimeEdit::keyPressEvent(event);
        return;
    }
    if (!text.isEmpty() && text.at(0).isPrint())
        return;
    QDateTimeEdit::keyPressEvent(event);
}

void TwCustomDateEdit::OpenCalendar()
{
    // Qt's editor opens its calendar only from a press on its drop-down arrow.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    const QPointF at = arrow.isValid() ? QPointF(arrow.center()) : QPointF(width() - 4, height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QDateTimeEdit::mousePressEvent(&press);
}

bool TwCustomDateEdit::eventFilter(QObject *watched, QEvent *event)
{
    // While null the text field is painted empty, whatever date the picker holds.
    if (watched != lineEdit() || event->type() != QEvent::Paint || !d->isNull)
        return QDateTimeEdit::eventFilter(watched, event);
    QLineEdit *field = lineEdit();
    QPainter canvas(field);
    canvas.fillRect(field->rect(), field->palette().brush(QPalette::Base));
    if (hasFocus() && d->focusRect) {
        canvas.setPen(QPen(field->palette().color(QPalette::Text), 1, Qt::DotLine));
        canvas.drawRect(field->rect().adjusted(1, 1, -2, -2));
    }
    return true;
}
