#pragma once

// Single-line edits with inner margins, horizontal alignment, vertical layout of their one
// text line and a reserved custom area at the right edge that descendants paint themselves
// (drop-down and ellipsis buttons).

#include "grid/tabrixmeta.h"
#include "grid/uxtypes.h"

#include <QLineEdit>
#include <QMargins>
#include <QRect>

#include <memory>

class QKeyEvent;
class QPainter;

class TABRIX_EXPORT TwCustomEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(TwAlignment Alignment READ Alignment WRITE SetAlignment DESIGNABLE false)
    Q_PROPERTY(TwTextLayout Layout READ Layout WRITE SetLayout DESIGNABLE false)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(Tw::Alignment textAlignment READ metaTextAlignment WRITE setTextAlignment)
    Q_PROPERTY(Tw::TextLayout textLayout READ metaTextLayout WRITE setTextLayout)

public:
    explicit TwCustomEdit(QWidget *parent = nullptr);
    ~TwCustomEdit() override;

    TwAlignment Alignment() const;
    void SetAlignment(TwAlignment value);
    TwTextLayout Layout() const;
    void SetLayout(TwTextLayout value);
    /// Side 0 left, 1 top, 2 right, 3 bottom; another side is a TException.
    int GetMargin(int side) const;
    void SetMargin(int side, int value);
    int MarginLeft() const { return GetMargin(0); }
    void SetMarginLeft(int value) { SetMargin(0, value); }
    int MarginTop() const { return GetMargin(1); }
    void SetMarginTop(int value) { SetMargin(1, value); }
    int MarginRight() const { return GetMargin(2); }
    void SetMarginRight(int value) { SetMargin(2, value); }
    int MarginBottom() const { return GetMargin(3); }
    void SetMarginBottom(int value) { SetMargin(3, value); }
    QMargins Margins() const;
    void SetMargins(const QMargins &margins);

    TColor Color() const;
    void SetColor(TColor value);
    bool Ctl3D() const { return hasFrame(); }
    void SetCtl3D(bool value) { setFrame(value); }
    bool TabStop() const;
    void SetTabStop(bool value);
    /// Entering the control other than by a mouse click selects the whole text (default on).
    bool AutoSelect() const;
    void SetAutoSelect(bool value);

    /// Lays out the text line again; called after size, font, margin, alignment and layout changes.
    void UpdateEditRect();
    /// The one-line rectangle the text is drawn in, in client coordinates.
    QRect GetEditRect() const;
    /// The area at the right edge that DrawCustom paints; empty here.
    virtual QRect GetCustomRect() const;
    void InvalidateCustom();

protected:
    /// Paints the custom area with the control's font; draws nothing here.
    virtual void DrawCustom(QPainter *canvas, const QRect &rect);

    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> const d;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    using QLineEdit::setAlignment; // the widget's own stays reachable
    using QLineEdit::setLayout; // the widget's own stays reachable
    void setAlignment(TwAlignment value) { SetAlignment(value); }
    void setLayout(TwTextLayout value) { SetLayout(value); }
    void setMarginLeft(int value) { SetMarginLeft(value); }
    void setMarginTop(int value) { SetMarginTop(value); }
    void setMarginRight(int value) { SetMarginRight(value); }
    void setMarginBottom(int value) { SetMarginBottom(value); }
    void setColor(TColor value) { SetColor(value); }
    void setCtl3D(bool value) { SetCtl3D(value); }
    void setTabStop(bool value) { SetTabStop(value); }
    void setAutoSelect(bool value) { SetAutoSelect(value); }
    void setTextAlignment(Tw::Alignment value) { SetAlignment(static_cast<TwAlignment>(value)); }
    void setTextLayout(Tw::TextLayout value) { SetLayout(static_cast<TwTextLayout>(value)); }

private:
    // The Designer properties' values, read from the published ones.
    Tw::Alignment metaTextAlignment() const { return static_cast<Tw::Alignment>(Alignment()); }
    Tw::TextLayout metaTextLayout() const { return static_cast<Tw::TextLayout>(Layout()); }
};

/// The same edit with an input mask (EditMask, in Qt's mask notation).
class TABRIX_EXPORT TwCustomMaskEdit : public TwCustomEdit
{
    Q_OBJECT

public:
    explicit TwCustomMaskEdit(QWidget *parent = nullptr);

    QString EditMask() const { return inputMask(); }
    void SetEditMask(const QString &mask) { setInputMask(mask); }

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool ClaimsEscape(const QKeyEvent *key) const;
};
