#pragma once

// Labels that paint themselves: borders, margins, a drop shadow, a password mask and a
// small coloured corner mark; and a label that shows a number through a pattern.

#include "grid/tabrixmeta.h"
#include "grid/uxtypes.h"
#include "gridex/tabrixexexport.h"
#include "gridex/tabrixexmeta.h"

#include <QMargins>
#include <QWidget>

#include <cstdint>
#include <memory>

enum TwLabelBorderStyle : std::uint8_t { mlbsLine, mlbsRaised, mlbsSunken, mlbsDeep };

inline constexpr TColor clNavy = 0x800000u;

class TABRIXEX_EXPORT TwCustomLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TwAlignment Alignment READ Alignment WRITE SetAlignment DESIGNABLE false)
    Q_PROPERTY(TwLabelBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle DESIGNABLE false)
    Q_PROPERTY(TColor BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(quint16 BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(bool Chima READ Chima WRITE SetChima)
    Q_PROPERTY(TColor ChimaColor READ ChimaColor WRITE SetChimaColor)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TwTextLayout Layout READ Layout WRITE SetLayout DESIGNABLE false)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(bool Shadow READ Shadow WRITE SetShadow)
    Q_PROPERTY(TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(Tw::Alignment textAlignment READ metaTextAlignment WRITE setTextAlignment)
    Q_PROPERTY(TwEx::LabelBorderStyle borderStyle READ metaBorderStyle WRITE setBorderStyle)
    Q_PROPERTY(Tw::TextLayout textLayout READ metaTextLayout WRITE setTextLayout)

public:
    explicit TwCustomLabel(QWidget *parent = nullptr);
    ~TwCustomLabel() override;

    TwAlignment Alignment() const;
    void SetAlignment(TwAlignment value);
    TwLabelBorderStyle BorderStyle() const;
    void SetBorderStyle(TwLabelBorderStyle value);
    TColor BorderColor() const;
    void SetBorderColor(TColor value);
    quint16 BorderWidth() const;
    void SetBorderWidth(quint16 value);
    bool Chima() const;
    void SetChima(bool value);
    TColor ChimaColor() const;
    void SetChimaColor(TColor value);
    TColor Color() const;
    void SetColor(TColor value);
    QWidget *FocusControl() const;
    void SetFocusControl(QWidget *control);
    TwTextLayout Layout() const;
    void SetLayout(TwTextLayout value);
    QMargins Margins() const;
    /// Repaints when any side differs.
    void SetMargins(const QMargins &margins);
    int MarginLeft() const { return Margins().left(); }
    void SetMarginLeft(int value);
    int MarginTop() const { return Margins().top(); }
    void SetMarginTop(int value);
    int MarginRight() const { return Margins().right(); }
    void SetMarginRight(int value);
    int MarginBottom() const { return Margins().bottom(); }
    void SetMarginBottom(int value);
    QChar PasswordChar() const;
    void SetPasswordChar(QChar value);
    bool Shadow() const;
    void SetShadow(bool value);
    TColor ShadowColor() const;
    void SetShadowColor(TColor value);
    bool ShowAccelChar() const;
    void SetShowAccelChar(bool value);
    bool Transparent() const;
    void SetTransparent(bool value);
    bool WordWrap() const;
    void SetWordWrap(bool value);

    /// While loading, changes raise no events.
    bool IsLoading() const;
    void SetLoading(bool value);

    /// The text each descendant shows.
    virtual QString GetLabelText() const = 0;
    /// The text as painted: the password mask, or a blank for an empty text.
    QString PaintedText() const;

    QSize sizeHint() const override;

protected:
    /// Repaints and renews the accelerator after the text changed.
    void TextChanged();

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void UpdateAccelerator();

    struct Private;
    std::unique_ptr<Private> const d;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    using QWidget::setLayout; // the widget's own stays reachable
    void setAlignment(TwAlignment value) { SetAlignment(value); }
    void setBorderStyle(TwLabelBorderStyle value) { SetBorderStyle(value); }
    void setBorderColor(TColor value) { SetBorderColor(value); }
    void setBorderWidth(quint16 value) { SetBorderWidth(value); }
    void setChima(bool value) { SetChima(value); }
    void setChimaColor(TColor value) { SetChimaColor(value); }
    void setColor(TColor value) { SetColor(value); }
    void setLayout(TwTextLayout value) { SetLayout(value); }
    void setMarginLeft(int value) { SetMarginLeft(value); }
    void setMarginTop(int value) { SetMarginTop(value); }
    void setMarginRight(int value) { SetMarginRight(value); }
    void setMarginBottom(int value) { SetMarginBottom(value); }
    void setShadow(bool value) { SetShadow(value); }
    void setShadowColor(TColor value) { SetShadowColor(value); }
    void setTransparent(bool value) { SetTransparent(value); }
    void setTextAlignment(Tw::Alignment value) { SetAlignment(static_cast<TwAlignment>(value)); }
    void setBorderStyle(TwEx::LabelBorderStyle value) { SetBorderStyle(static_cast<TwLabelBorderStyle>(value)); }
    void setTextLayout(Tw::TextLayout value) { SetLayout(static_cast<TwTextLayout>(value)); }

private:
    // The Designer properties' values, read from the published ones.
    Tw::Alignment metaTextAlignment() const { return static_cast<Tw::Alignment>(Alignment()); }
    TwEx::LabelBorderStyle metaBorderStyle() const { return static_cast<TwEx::LabelBorderStyle>(BorderStyle()); }
    Tw::TextLayout metaTextLayout() const { return static_cast<Tw::TextLayout>(Layout()); }
};

class TABRIXEX_EXPORT TwLabel : public TwCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QWidget *FocusControl READ FocusControl WRITE SetFocusControl)
    Q_PROPERTY(QChar PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    explicit TwLabel(QWidget *parent = nullptr);
    explicit TwLabel(const QString &caption, QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    void Clear() { SetCaption(QString()); }

    QString GetLabelText() const override { return m_caption; }

private:
    QString m_caption;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setCaption(const QString &value) { SetCaption(value); }
    void setFocusControl(QWidget *value) { SetFocusControl(value); }
    void setPasswordChar(QChar value) { SetPasswordChar(value); }
    void setShowAccelChar(bool value) { SetShowAccelChar(value); }
    void setWordWrap(bool value) { SetWordWrap(value); }
};

class TABRIXEX_EXPORT TwNumLabel : public TwCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Format READ Format WRITE SetFormat)
    Q_PROPERTY(bool IsNull READ IsNull WRITE SetIsNull)
    Q_PROPERTY(QString Prefix READ Prefix WRITE SetPrefix)
    Q_PROPERTY(QString Suffix READ Suffix WRITE SetSuffix)
    Q_PROPERTY(double Value READ Value WRITE SetValue)

public:
    explicit TwNumLabel(QWidget *parent = nullptr);

    double Value() const { return m_value; }
    /// A new value turns IsNull off.
    void SetValue(double value);
    bool IsNull() const { return m_isNull; }
    /// On sets Value to 0.
    void SetIsNull(bool value);
    QString Format() const { return m_format; }
    void SetFormat(const QString &format);
    QString Prefix() const { return m_prefix; }
    void SetPrefix(const QString &prefix);
    QString Suffix() const { return m_suffix; }
    void SetSuffix(const QString &suffix);
    void Clear() { SetIsNull(true); }

    /// Empty while null, else Prefix + the value through Format + Suffix.
    QString GetLabelText() const override;

signals:
    /// Value or IsNull changed (not while loading).
    void OnChange();

private:
    double m_value = 0;
    bool m_isNull = false;
    QString m_format;
    QString m_prefix;
    QString m_suffix;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setFormat(const QString &value) { SetFormat(value); }
    void setIsNull(bool value) { SetIsNull(value); }
    void setPrefix(const QString &value) { SetPrefix(value); }
    void setSuffix(const QString &value) { SetSuffix(value); }
    void setValue(double value) { SetValue(value); }
};

static_assert(int(TwEx::mlbsLine) == mlbsLine && int(TwEx::mlbsRaised) == mlbsRaised
              && int(TwEx::mlbsSunken) == mlbsSunken && int(TwEx::mlbsDeep) == mlbsDeep);
