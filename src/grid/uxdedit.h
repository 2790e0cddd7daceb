#pragma once

// The date edit: Qt's date-time editor with a null state, a display format written in the
// components' date-format letters and integer access as yyyymmdd or hhmmss.

#include "grid/tabrixexport.h"
#include "grid/tabrixmeta.h"

#include <QDateTimeEdit>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <memory>

enum TwDateTimeKind : std::uint8_t { dtkDate, dtkTime };
enum TwDateMode : std::uint8_t { dmComboBox, dmUpDown };

/// The locale formats that a display format may name ("ddddd", "tt", …), in Qt's format
/// letters, and the separators that "/" and ":" stand for.
struct TABRIX_EXPORT TwDateFormats
{
    QString ShortDate;
    QString LongDate;
    QString ShortTime;
    QString LongTime;
    QString DateSeparator;
    QString TimeSeparator;

    static TwDateFormats FromLocale(const QLocale &locale);
};

/// A display format in the components' letters (yyyy, m, d, h, n, s, am/pm, ddddd, t, …)
/// as the picker's format (yyyy, M, d, H or h, m, s, tt, quoted literals).
TABRIX_EXPORT QString TXPickerFormat(const QString &format, const TwDateFormats &formats);
/// A picker format in Qt's format letters ("tt" → "AP"; letters Qt would read otherwise are quoted).
TABRIX_EXPORT QString TXPickerToQtFormat(const QString &picker);
/// A Qt format in picker letters ("AP" → "tt"; time zones and milliseconds are dropped).
TABRIX_EXPORT QString TXQtToPickerFormat(const QString &qtFormat);

class TABRIX_EXPORT TwCustomDateEdit : public QDateTimeEdit
{
    Q_OBJECT

public:
    explicit TwCustomDateEdit(QWidget *parent = nullptr);
    ~TwCustomDateEdit() override;

    QString EditFormat() const;
    void SetEditFormat(const QString &format);
    /// The format handed to the picker, in its own letters.
    QString PickerFormat() const;
    bool EnableNull() const;
    void SetEnableNull(bool value);
    bool FocusRect() const;
    void SetFocusRect(bool value);
    TwDateTimeKind Kind() const;
    void SetKind(TwDateTimeKind value);
    TwDateMode DateMode() const;
    void SetDateMode(TwDateMode value);
    /// The locale formats used by "ddddd", "tt" and the like; the system locale's by default.
    void SetDateFormats(const TwDateFormats &formats);

    bool IsNull() const;
    /// true is refused while EnableNull is off.
    void SetIsNull(bool value);
    void Clear();

    /// yyyymmdd (date kind) or hhmmss (time kind); 0 while null.
    int GetLong() const;
    /// An integer that names no date or time is a TException; the control stays as it was.
    void SetLong(int value);
    /// The short date text (date kind) or the long time text (time kind); empty while null.
    QString GetString() const;
    void SetString(const QString &text);

    /// While loading, a new EditFormat is only stored.
    void SetLoading(bool value);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyFormat();
    void OpenCalendar();
    void SetValue(const QDateTime &value);

    struct Private;
    std::unique_ptr<Private> const d;
};

class TABRIX_EXPORT TwDateEdit : public TwCustomDateEdit
{
    Q_OBJECT
    Q_PROPERTY(QString EditFormat READ EditFormat WRITE SetEditFormat)
    Q_PROPERTY(bool EnableNull READ EnableNull WRITE SetEnableNull)
    Q_PROPERTY(bool FocusRect READ FocusRect WRITE SetFocusRect)
    Q_PROPERTY(TwDateTimeKind Kind READ Kind WRITE SetKind DESIGNABLE false)
    Q_PROPERTY(TwDateMode DateMode READ DateMode WRITE SetDateMode DESIGNABLE false)
    Q_PROPERTY(bool IsNull READ IsNull WRITE SetIsNull STORED false)
    Q_PROPERTY(int AsLong READ GetLong WRITE SetLong STORED false)
    Q_PROPERTY(QString AsString READ GetString WRITE SetString STORED false)
    Q_PROPERTY(Tw::DateTimeKind kind READ metaKind WRITE setKind)
    Q_PROPERTY(Tw::DateMode dateMode READ metaDateMode WRITE setDateMode)

public:
    using TwCustomDateEdit::TwCustomDateEdit;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setEditFormat(const QString &value) { SetEditFormat(value); }
    void setEnableNull(bool value) { SetEnableNull(value); }
    void setFocusRect(bool value) { SetFocusRect(value); }
    void setKind(TwDateTimeKind value) { SetKind(value); }
    void setDateMode(TwDateMode value) { SetDateMode(value); }
    void setIsNull(bool value) { SetIsNull(value); }
    void setAsLong(int value) { SetLong(value); }
    void setAsString(const QString &value) { SetString(value); }
    void setKind(Tw::DateTimeKind value) { SetKind(static_cast<TwDateTimeKind>(value)); }
    void setDateMode(Tw::DateMode value) { SetDateMode(static_cast<TwDateMode>(value)); }

private:
    // The Designer properties' values, read from the published ones.
    Tw::DateTimeKind metaKind() const { return static_cast<Tw::DateTimeKind>(Kind()); }
    Tw::DateMode metaDateMode() const { return static_cast<Tw::DateMode>(DateMode()); }
};

static_assert(int(Tw::dtkDate) == dtkDate && int(Tw::dtkTime) == dtkTime);
static_assert(int(Tw::dmComboBox) == dmComboBox && int(Tw::dmUpDown) == dmUpDown);
