#pragma once

// The settings of a drop-down item list: its look, its columns and its value column. The
// list's owner (a combo, a grid column) publishes them.

#include "grid/uxtypes.h"

#include <QChar>
#include <QObject>
#include <QString>

#include <memory>

class TwListoptionPrivate;
class TwItemListOptionPrivate;

/// The look and behaviour of a drop-down list, published by its owner (a column, a combo).
/// The fonts are the owner's until assigned; an assigned font is kept and stored with a
/// design. A QObject for its properties, without a parent: its owner deletes it.
class TABRIX_EXPORT TwListoption : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool AutoDrop READ AutoDrop WRITE SetAutoDrop NOTIFY AutoDropChanged)
    Q_PROPERTY(bool CaseSensitive READ CaseSensitive WRITE SetCaseSensitive NOTIFY CaseSensitiveChanged)
    Q_PROPERTY(int CharWidth READ CharWidth WRITE SetCharWidth NOTIFY CharWidthChanged)
    Q_PROPERTY(bool ColLines READ ColLines WRITE SetColLines NOTIFY ColLinesChanged)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor NOTIFY ColorChanged)
    Q_PROPERTY(TwFont Font READ Font WRITE SetFont NOTIFY FontChanged)
    Q_PROPERTY(int ItemCount READ ItemCount WRITE SetItemCount NOTIFY ItemCountChanged)
    Q_PROPERTY(TColor LineColor READ LineColor WRITE SetLineColor NOTIFY LineColorChanged)
    Q_PROPERTY(bool RowLines READ RowLines WRITE SetRowLines NOTIFY RowLinesChanged)
    Q_PROPERTY(bool ShowTitle READ ShowTitle WRITE SetShowTitle NOTIFY ShowTitleChanged)
    Q_PROPERTY(TColor TitleColor READ TitleColor WRITE SetTitleColor NOTIFY TitleColorChanged)
    Q_PROPERTY(TwFont TitleFont READ TitleFont WRITE SetTitleFont NOTIFY TitleFontChanged)
    Q_PROPERTY(int Width READ Width WRITE SetWidth NOTIFY WidthChanged)

public:
    TwListoption();
    ~TwListoption() override;
    TwListoption(const TwListoption &) = delete;
    TwListoption &operator=(const TwListoption &) = delete;

    /// Copies every property of `source`, the fonts with their assigned state; descendants
    /// also copy their own properties when `source` has them.
    virtual void Assign(const TwListoption &source);

    /// The owner opens the list as soon as the user starts typing.
    bool AutoDrop() const;
    void SetAutoDrop(bool value);
    /// Locate compares with case.
    bool CaseSensitive() const;
    void SetCaseSensitive(bool value);
    /// The character width that sizes the columns: 0 the font's average width, negative
    /// the font's maximum width, positive that many pixels. Clamped to ±TwMaxPixels.
    int CharWidth() const;
    void SetCharWidth(int value);
    bool ColLines() const;
    void SetColLines(bool value);
    TColor Color() const;
    void SetColor(TColor value);
    TwFont Font() const;
    void SetFont(const TwFont &font);
    bool FontAssigned() const;
    /// Rows shown when dropped down; clamped to 0 .. TwMaxPixels.
    int ItemCount() const;
    void SetItemCount(int value);
    TColor LineColor() const;
    void SetLineColor(TColor value);
    /// Horizontal lines between rows (one pixel more per row).
    bool RowLines() const;
    void SetRowLines(bool value);
    bool ShowTitle() const;
    void SetShowTitle(bool value);
    TColor TitleColor() const;
    void SetTitleColor(TColor value);
    TwFont TitleFont() const;
    void SetTitleFont(const TwFont &font);
    bool TitleFontAssigned() const;
    /// 0: the owner's width; positive: that width; -1: the width of all columns; other
    /// negatives: the larger of the owner's width and the width of all columns. Clamped to
    /// ±TwMaxPixels.
    int Width() const;
    void SetWidth(int value);

    virtual TwFont DefaultFont() const;
    virtual TwFont DefaultTitleFont() const;

signals:
    void AutoDropChanged(bool value);
    void CaseSensitiveChanged(bool value);
    void CharWidthChanged(int value);
    void ColLinesChanged(bool value);
    void ColorChanged(TColor value);
    void FontChanged(const TwFont &value);
    void ItemCountChanged(int value);
    void LineColorChanged(TColor value);
    void RowLinesChanged(bool value);
    void ShowTitleChanged(bool value);
    void TitleColorChanged(TColor value);
    void TitleFontChanged(const TwFont &value);
    void WidthChanged(int value);

protected:
    /// Called after every change of a property; owners repaint from here.
    virtual void Changed() {}

private:
    Q_DECLARE_PRIVATE_D(d, TwListoption)
    std::unique_ptr<TwListoptionPrivate> d;
};

/// The options of a list whose items are split into columns, with a value list that may
/// be shown as one more column.
class TABRIX_EXPORT TwItemListOption : public TwListoption
{
    Q_OBJECT
    Q_PROPERTY(QChar Separator READ Separator WRITE SetSeparator NOTIFY SeparatorChanged)
    Q_PROPERTY(int ValuesIndex READ ValuesIndex WRITE SetValuesIndex NOTIFY ValuesIndexChanged)
    Q_PROPERTY(QString Titles READ Titles WRITE SetTitles NOTIFY TitlesChanged)

public:
    TwItemListOption();
    ~TwItemListOption() override;

    void Assign(const TwListoption &source) override;

    /// Splits items and Titles into columns.
    QChar Separator() const;
    void SetSeparator(QChar value);
    /// Where the value column is shown among the item columns; -1 (and lower values): not
    /// shown.
    int ValuesIndex() const;
    void SetValuesIndex(int value);
    /// The column titles, split at Separator.
    QString Titles() const;
    void SetTitles(const QString &value);

signals:
    void SeparatorChanged(QChar value);
    void ValuesIndexChanged(int value);
    void TitlesChanged(const QString &value);

private:
    Q_DECLARE_PRIVATE_D(d, TwItemListOption)
    std::unique_ptr<TwItemListOptionPrivate> d;
};
