#pragma once

// The number edit: a self-painted numeric input that keeps its own text, caret and
// selection, so that it shows a fixed number of decimals, thousand separators, a separate
// minus sign and an optional spin button while the user types digits in place. The grid's
// number editor and the published number edit build on it.

#include "grid/tabrixmeta.h"
#include "grid/uxtypes.h"

#include <QWidget>

#include <cstdint>
#include <memory>

/// The frame of an edit: none, or single (a sunken client edge with Ctl3D, a plain line
/// without).
enum TwBorderStyle : std::uint8_t { bsNone, bsSingle };

class TABRIX_EXPORT TwCustomNumEdit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(TwBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle DESIGNABLE false)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool EnableNull READ EnableNull WRITE SetEnableNull)
    Q_PROPERTY(TwTextLayout Layout READ Layout WRITE SetLayout DESIGNABLE false)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool Spinner READ Spinner WRITE SetSpinner)
    Q_PROPERTY(bool Spinner3D READ Spinner3D WRITE SetSpinner3D)
    Q_PROPERTY(bool ThousandSep READ ThousandSep WRITE SetThousandSep)
    Q_PROPERTY(double Value READ Value WRITE SetValue NOTIFY OnChange)
    Q_PROPERTY(bool IsNull READ IsNull)
    Q_PROPERTY(Tw::BorderStyle borderStyle READ metaBorderStyle WRITE setBorderStyle)
    Q_PROPERTY(Tw::TextLayout textLayout READ metaTextLayout WRITE setTextLayout)

public:
    explicit TwCustomNumEdit(QWidget *parent = nullptr);
    ~TwCustomNumEdit() override;

    bool AutoSelect() const;
    void SetAutoSelect(bool value);
    TwBorderStyle BorderStyle() const;
    void SetBorderStyle(TwBorderStyle value);
    bool Ctl3D() const;
    void SetCtl3D(bool value);
    bool EnableNull() const;
    void SetEnableNull(bool value);
    TwTextLayout Layout() const;
    void SetLayout(TwTextLayout value);
    /// Characters of the raw text (digits and point); 0 = no limit; never below Precision.
    int MaxLength() const;
    void SetMaxLength(int value);
    double MaxValue() const;
    void SetMaxValue(double value);
    double MinValue() const;
    void SetMinValue(double value);
    /// Decimals (0..65535, and at most MaxLength when MaxLength > 0).
    int Precision() const;
    void SetPrecision(int value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    bool Spinner() const;
    void SetSpinner(bool value);
    bool Spinner3D() const;
    void SetSpinner3D(bool value);
    bool ThousandSep() const;
    void SetThousandSep(bool value);

    /// The value; null reads as 0.
    double Value() const;
    /// Makes the control non-null; NaN and infinities are ignored (the value is kept).
    void SetValue(double value);
    bool IsNull() const;
    void Clear();

    /// The absolute value with exactly Precision decimals and '.' as point; empty = null.
    QString RawText() const;
    /// What is painted: separators, the locale's decimal point and a "-" for the minus sign.
    QString DisplayText() const;
    /// +1 or -1, kept apart from the raw text.
    int Sign() const;
    /// The caret as an index into the raw text.
    int CaretPos() const;
    /// The selection as raw indexes; both equal the caret when nothing is selected.
    int SelStart() const;
    int SelEnd() const;
    /// The x position (widget coordinates) of a raw index, and the raw index under an x.
    int PosToX(int index) const;
    int XToPos(int x) const;
    /// The area the text is painted in: the client area less the spin button.
    QRect EditRect() const;
    QRect SpinRect() const;

    /// Selects the integer part (up to the point) or the whole raw text.
    void SelectAll(bool integerPartOnly = false);
    void ClearSelection();
    void DeleteSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    /// The value clamped to MinValue..MaxValue when they differ, else unchanged.
    double CheckValue(double value) const;
    /// One spin step, offered to OnSpinClick first.
    void SpinClick(int delta);

    QSize sizeHint() const override;

signals:
    /// The raw text changed, or the sign flipped on a non-zero value.
    void OnChange();
    /// Before a spin step is applied; clear `accept` to refuse it.
    void OnSpinClick(TwCustomNumEdit *sender, int delta, bool &accept);

protected:
    /// The refusal beep (the system's default beep).
    virtual void ErrBeep();
    /// Raises OnChange.
    void Changed();
    /// Whether the user may change the value.
    bool CanModify() const;

    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    /// Shows the caret at once and restarts its blinking.
    void ShowCaret();

    struct Private;
    std::unique_ptr<Private> const d;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    using QWidget::setLayout; // the widget's own stays reachable
    void setAutoSelect(bool value) { SetAutoSelect(value); }
    void setBorderStyle(TwBorderStyle value) { SetBorderStyle(value); }
    void setCtl3D(bool value) { SetCtl3D(value); }
    void setEnableNull(bool value) { SetEnableNull(value); }
    void setLayout(TwTextLayout value) { SetLayout(value); }
    void setMaxLength(int value) { SetMaxLength(value); }
    void setMaxValue(double value) { SetMaxValue(value); }
    void setMinValue(double value) { SetMinValue(value); }
    void setPrecision(int value) { SetPrecision(value); }
    void setReadOnly(bool value) { SetReadOnly(value); }
    void setSpinner(bool value) { SetSpinner(value); }
    void setSpinner3D(bool value) { SetSpinner3D(value); }
    void setThousandSep(bool value) { SetThousandSep(value); }
    void setValue(double value) { SetValue(value); }
    void setBorderStyle(Tw::BorderStyle value) { SetBorderStyle(static_cast<TwBorderStyle>(value)); }
    void setTextLayout(Tw::TextLayout value) { SetLayout(static_cast<TwTextLayout>(value)); }

private:
    // The Designer properties' values, read from the published ones.
    Tw::BorderStyle metaBorderStyle() const { return static_cast<Tw::BorderStyle>(BorderStyle()); }
    Tw::TextLayout metaTextLayout() const { return static_cast<Tw::TextLayout>(Layout()); }
};

static_assert(int(Tw::bsNone) == bsNone && int(Tw::bsSingle) == bsSingle);
