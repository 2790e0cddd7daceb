#pragma once

// The combo box: an edit of the grid library with a drop-down button in its custom area and
// the grid library's item list as its drop-down. TwCustomCombo holds the button, its tracking,
// the keyboard and the drop-down protocol; TwCombo adds the parallel Items and Values lists
// and the value they stand for.

#include "grid/drawobjects.h"
#include "grid/uxedits.h"
#include "grid/uxlists.h"
#include "gridex/tabrixexexport.h"
#include "gridex/tabrixexmeta.h"

#include <QStringList>

#include <memory>

class TwCustomCombo;
class TwImageList;

enum TwComboStyle : std::uint8_t {
    wcsDropDown, ///< free text allowed besides the listed values
    wcsDropDownList, ///< only listed values
};

/// The list option a combo publishes: its fonts default to the combo's font, and a change of
/// the value column's position refreshes the combo's text.
class TABRIXEX_EXPORT TwComboListOption : public TwItemListOption
{
    Q_OBJECT
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D NOTIFY Ctl3DChanged)

public:
    explicit TwComboListOption(TwCustomCombo *combo);
    ~TwComboListOption() override;

    TwCustomCombo *Combo() const { return m_combo; }
    /// The list's 3-D frame (default on).
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);
    void Assign(const TwListoption &source) override;

    TwFont DefaultFont() const override;
    TwFont DefaultTitleFont() const override;

signals:
    void Ctl3DChanged(bool value);

private:
    TwCustomCombo *m_combo;
    bool m_ctl3D = true;
};

/// The combo's drop-down: owned by the combo, hidden until dropped down; its close-up goes
/// to the combo, and a row's image index is the combo's choice.
class TABRIXEX_EXPORT TwComboList : public TwItemList
{
    Q_OBJECT

public:
    explicit TwComboList(TwCustomCombo *combo);
    ~TwComboList() override;

    TwCustomCombo *Combo() const { return m_combo; }
    int GetImageIndex(int row) const override;

protected:
    void CloseUp(bool accept) override;

private:
    TwCustomCombo *m_combo;
};

struct TwCustomComboPrivate;

/// The button, its tracking, the keyboard and the drop-down protocol of a combo.
class TABRIXEX_EXPORT TwCustomCombo : public TwCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(bool EnableNull READ EnableNull WRITE SetEnableNull)
    Q_PROPERTY(TwListoption *ListOption READ ListOption WRITE SetListOption)
    Q_PROPERTY(TwComboStyle Style READ Style WRITE SetStyle DESIGNABLE false)
    Q_PROPERTY(bool Designing READ Designing WRITE SetDesigning DESIGNABLE false STORED false)
    Q_PROPERTY(TwEx::ComboStyle comboStyle READ metaComboStyle WRITE setComboStyle)

public:
    explicit TwCustomCombo(QWidget *parent = nullptr);
    ~TwCustomCombo() override;

    /// Opens the list; with `capture` the list takes the mouse at once.
    virtual void DropDown(bool capture);
    /// Closes the list, applying the choice when `accept`.
    virtual void CloseUp(bool accept);
    /// Whether a typed printable character is taken (true here).
    virtual bool Editable() const;

    TwItemList *List();
    TwComboListOption *ListOption();
    /// Copies the given option into the combo's own.
    void SetListOption(const TwListoption *value);
    /// An empty text may clear the value when the list closes (default on).
    bool EnableNull() const;
    void SetEnableNull(bool value);
    TwComboStyle Style() const;
    void SetStyle(TwComboStyle value);
    bool DroppedDown() const;
    /// The width of the button at the right edge: the platform's scroll bar width.
    int ButtonWidth() const;
    /// Design time: set by the form designer; the edit then shows the object name.
    bool Designing() const;
    void SetDesigning(bool value);
    /// Loading: set while a form description is read; option changes do not touch the text.
    bool Loading() const;
    void SetLoading(bool value);

    QRect GetCustomRect() const override;

signals:
    void OnDropDown();
    void OnCloseUp(bool accept);
    /// The edit's change notification, held back while the combo sets a free text itself.
    void OnChange();

protected:
    virtual TwComboList *CreateList();
    virtual TwComboListOption *CreateListOption();
    /// Refreshes the text from the value after the list option changed; nothing here.
    virtual void ListOptionChanged();

    /// Whether DropDown may open the list now; remembers the text and raises OnDropDown.
    bool BeginDropDown();
    /// Places the list below (or above) the control, shows it and marks dropped down.
    void ShowList(bool capture);
    /// Hides the list and marks it closed; false when it was not dropped down.
    bool HideList();
    /// The edit text when the list opened.
    QString DropDownText() const;
    /// Sets the edit text without raising OnChange.
    void SetTextSilently(const QString &text);
    bool AutoDrop() const;

    void DrawCustom(QPainter *canvas, const QRect &rect) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    /// Whether a focus change takes the keyboard away from the combo and its list.
    bool LeavesCombo(const QFocusEvent *event) const;
    /// The focus left the combo: the list closes without a choice.
    void FocusLeft();
    /// Leaving the control; TwCombo shows a listed value again.
    virtual void LeaveControl();

private:
    friend class TwComboListOption;
    bool KeyBeforeEdit(QKeyEvent *key);
    void SetPressed(bool value);
    void StopTracking();
    void TextEdited();

    std::unique_ptr<TwCustomComboPrivate> const d;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    using TwCustomEdit::setStyle; // the widget's own stays reachable
    void setEnableNull(bool value) { SetEnableNull(value); }
    void setListOption(TwListoption *value) { SetListOption(value); }
    void setStyle(TwComboStyle value) { SetStyle(value); }
    void setDesigning(bool value) { SetDesigning(value); }
    void setComboStyle(TwEx::ComboStyle value) { SetStyle(static_cast<TwComboStyle>(value)); }

private:
    // The Designer properties' values, read from the published ones.
    TwEx::ComboStyle metaComboStyle() const { return static_cast<TwEx::ComboStyle>(Style()); }
};

struct TwComboPrivate;

/// The combo box: Items are the list's rows, Values what the control stands for; the
/// selected row is the value index and the text follows it.
class TABRIXEX_EXPORT TwCombo : public TwCustomCombo
{
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(QStringList Values READ Values WRITE SetValues)
    Q_PROPERTY(int ValueIndex READ ValueIndex WRITE SetValueIndex NOTIFY OnValueChange)
    Q_PROPERTY(QString AsString READ GetString WRITE SetString STORED false)

public:
    explicit TwCombo(QWidget *parent = nullptr);
    ~TwCombo() override;

    void DropDown(bool capture) override;
    void CloseUp(bool accept) override;
    /// False only for wcsDropDownList without values.
    bool Editable() const override;

    QStringList Items() const;
    void SetItems(const QStringList &value);
    QStringList Values() const;
    void SetValues(const QStringList &value);
    /// Row images of the list; the combo does not own them.
    const TwImageList *Images() const;
    void SetImages(const TwImageList *value);

    int ValueIndex() const;
    /// Selects row `index` (limited to -1 .. the last value) and shows its text; nothing while
    /// the list is dropped down or at design time.
    void SetValueIndex(int index);

    /// The selected value; with none, empty for wcsDropDownList and the edit text otherwise.
    QString GetString() const;
    /// Selects the row of a listed value; an unlisted text is shown as free text with
    /// wcsDropDown and ignored with wcsDropDownList.
    void SetString(const QString &value);
    /// The text as a number: empty gives 0, other non-numbers a TException.
    qint64 GetInteger() const;
    void SetInteger(qint64 value);
    double GetFloat() const;
    void SetFloat(double value);
    /// The float value, or a null variant when IsNull.
    QVariant GetVariant() const;
    void SetVariant(const QVariant &value);
    bool IsNull() const;
    /// Selects no row.
    void Clear();

signals:
    void OnValueChange();
    /// Lets the owner choose the image of a row; `index` starts as the row.
    void OnGetImageIndex(int row, int &index);

protected:
    void ListOptionChanged() override;
    void keyPressEvent(QKeyEvent *event) override;
    void LeaveControl() override;

private:
    friend class TwComboList;
    int ImageIndexOf(int row);
    void ListsChanged();
    void TextChanged();

    std::unique_ptr<TwComboPrivate> const d;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setItems(const QStringList &value) { SetItems(value); }
    void setValues(const QStringList &value) { SetValues(value); }
    void setValueIndex(int value) { SetValueIndex(value); }
    void setAsString(const QString &value) { SetString(value); }
};

static_assert(int(TwEx::wcsDropDown) == wcsDropDown && int(TwEx::wcsDropDownList) == wcsDropDownList);
