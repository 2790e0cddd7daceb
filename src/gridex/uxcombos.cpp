#include "gridex/uxcombos.h"

#include "grid/uxgraphics.h"
#include "grid/uxutils.h"
#include "gridex/uxcombos_p.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>

// ---------------------------------------------------------------------------------------------
// TwComboListOption

TwComboListOption::TwComboListOption(TwCustomCombo *combo)
    : m_combo(combo)
{
    connect(this, &TwItemListOption::ValuesIndexChanged, this, [this] {
        if (m_combo && !m_combo->Loading())
            m_combo->ListOptionChanged();
    });
}

TwComboListOption::~TwComboListOption() = default;

void TwComboListOption::SetCtl3D(bool value)
{
    if (value == m_ctl3D)
        return;
    m_ctl3D = value;
    emit Ctl3DChanged(value);
}

void TwComboListOption::Assign(const TwListoption &source)
{
    TwItemListOption::Assign(source);
    if (const auto *combo = qobject_cast<const TwComboListOption *>(&source))
        SetCtl3D(combo->Ctl3D());
}

TwFont TwComboListOption::DefaultFont() const
{
    if (!m_combo)
        return TwItemListOption::DefaultFont();
    return TwFont { m_combo->font(), TXColorOf(m_combo->palette().color(QPalette::Text)) };
}

TwFont TwComboListOption::DefaultTitleFont() const { return DefaultFont(); }

// ---------------------------------------------------------------------------------------------
// TwComboList

TwComboList::TwComboList(TwCustomCombo *combo)
    : TwItemList(combo)
    , m_combo(combo)
{
    hide();
}

TwComboList::~TwComboList() = default;

int TwComboList::GetImageIndex(int row) const
{
    auto *combo = qobject_cast<TwCombo *>(m_combo);
    return combo ? combo->ImageIndexOf(row) : row;
}

void TwComboList::CloseUp(bool accept) { m_combo->CloseUp(accept); }

// ---------------------------------------------------------------------------------------------
// TwCustomCombo

namespace {

bool IsEnterOrEscape(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape; }

bool IsToggleKey(const QKeyEvent *key)
{
    return (key->modifiers() & Qt::AltModifier) && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down);
}

} // namespace

TwCustomCombo::TwCustomCombo(QWidget *parent)
    : TwCustomEdit(parent)
    , d(std::make_unique<TwCustomComboPrivate>())
{
    d->m_buttonWidth = TXButtonWidth();
    SetLayout(tlCenter);
    setMouseTracking(true);
    UpdateEditRect();
    connect(this, &QLineEdit::textChanged, this, &TwCustomCombo::TextEdited);
    connect(this, &QObject::objectNameChanged, this, [this](const QString &name) {
        if (d->m_designing)
            SetTextSilently(name);
    });
}

TwCustomCombo::~TwCustomCombo()
{
    // The list is a child window: it goes with the combo, but must not call back into it.
    if (d->m_list)
        d->m_list->removeEventFilter(this);
    delete d->m_list;
}

TwComboList *TwCustomCombo::CreateList() { return new TwComboList(this); }

TwComboListOption *TwCustomCombo::CreateListOption() { return new TwComboListOption(this); }

bool TwCustomCombo::Editable() const { return true; }

void TwCustomCombo::ListOptionChanged() { }

void TwCustomCombo::LeaveControl() { }

TwItemList *TwCustomCombo::List()
{
    if (!d->m_list) {
        d->m_list = CreateList();
        d->m_list->installEventFilter(this);
    }
    return d->m_list;
}

TwComboListOption *TwCustomCombo::ListOption()
{
    if (!d->m_listOption)
        d->m_listOption.reset(CreateListOption());
    return d->m_listOption.get();
}

void TwCustomCombo::SetListOption(const TwListoption *value)
{
    if (value && value != ListOption())
        ListOption()->Assign(*value);
}

bool TwCustomCombo::EnableNull() const { return d->m_enableNull; }

void TwCustomCombo::SetEnableNull(bool value) { d->m_enableNull = value; }

TwComboStyle TwCustomCombo::Style() const { return d->m_style; }

void TwCustomCombo::SetStyle(TwComboStyle value) { d->m_style = value; }

bool TwCustomCombo::DroppedDown() const { return d->m_droppedDown; }

int TwCustomCombo::ButtonWidth() const { return d->m_buttonWidth; }

bool TwCustomCombo::Designing() const { return d->m_designing; }

void TwCustomCombo::SetDesigning(bool value)
{
    if (value == d->m_designing)
        return;
    d->m_designing = value;
    SetTextSilently(value ? objectName() : QString());
}

bool TwCustomCombo::Loading() const { return d->m_loading; }

void TwCustomCombo::SetLoading(bool value) { d->m_loading = value; }

QString TwCustomCombo::DropDownText() const { return d->m_dropDownText; }

bool TwCustomCombo::AutoDrop() const { return d->m_listOption ? d->m_listOption->AutoDrop() : true; }

void TwCustomCombo::SetTextSilently(const QString &text)
{
    const bool setting = d->m_setting;
    d->m_setting = true;
    setText(text);
    d->m_setting = setting;
}

QRect TwCustomCombo::GetCustomRect() const
{
    // The client area lies inside the frame the 3-D look draws.
    const int frame = Ctl3D() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const QRect client = rect().adjusted(frame, frame, -frame, -frame);
    if (client.width() <= 0 || client.height() <= 0)
        return {};
    const int width = IMin(d->m_buttonWidth, client.width());
    return QRect(client.right() - width + 1, client.top(), width, client.height());
}

void TwCustomCombo::DrawCustom(QPainter *canvas, const QRect &rect)
{
    TXDrawComboButton(canvas, rect, isEnabled(), !Ctl3D(), d->m_pressed && d->m_tracking);
}

// --- drop-down protocol ----------------------------------------------------------------------

bool TwCustomCombo::BeginDropDown()
{
    if (d->m_droppedDown || isReadOnly())
        return false;
    d->m_dropDownText = text();
    emit OnDropDown();
    return true;
}

void TwCustomCombo::DropDown(bool capture)
{
    if (!BeginDropDown())
        return;
    ShowList(capture);
}

void TwCustomCombo::ShowList(bool capture)
{
    Q_UNUSED(capture) // a shown popup holds the mouse and the keyboard in any case
    TwItemList *list = List();
    const QPoint below = mapToGlobal(QPoint(0, height()));
    QPoint at = below;
    const QScreen *screen = this->screen();
    if (screen && below.y() + list->height() > screen->geometry().bottom() + 1)
        at = mapToGlobal(QPoint(0, -list->height()));
    list->move(at);
    setFocus(Qt::OtherFocusReason);
    d->m_droppedDown = true;
    list->show();
    // A popup's first show may place it by a frame it does not have (the offscreen platform
    // adds one): it is put where it belongs once it is a window.
    list->move(at);
}

bool TwCustomCombo::HideList()
{
    if (!d->m_droppedDown)
        return false;
    d->m_droppedDown = false;
    StopTracking();
    if (d->m_list)
        d->m_list->hide();
    return true;
}

void TwCustomCombo::CloseUp(bool accept)
{
    if (!HideList())
        return;
    if (!accept)
        setText(d->m_dropDownText);
    emit OnCloseUp(accept);
}

void TwCustomCombo::TextEdited()
{
    if (d->m_setting)
        return;
    emit OnChange();
    if (!d->m_droppedDown || !d->m_list)
        return;
    // A text no row begins with leaves no row selected: Enter then keeps the typed text
    // rather than taking the row that was selected before.
    if (text().isEmpty() || d->m_list->Locate(text(), true) < 0)
        d->m_list->SetItemIndex(-1);
}

// --- keys --------------------------------------------------------------------------------------

bool TwCustomCombo::KeyBeforeEdit(QKeyEvent *key)
{
    const bool alt = key->modifiers() & Qt::AltModifier;
    if (d->m_droppedDown && !alt && IsEnterOrEscape(key->key())) {
        CloseUp(key->key() != Qt::Key_Escape);
        return true;
    }
    if (IsToggleKey(key)) {
        if (d->m_droppedDown)
            CloseUp(true);
        else
            DropDown(true);
        return true;
    }
    if (d->m_droppedDown && TwItemList::KeepsKey(key) && d->m_list) {
        // The list keeps these keys itself; one it hands back anyway ends here.
        if (d->m_passingKey)
            return true;
        d->m_passingKey = true;
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(d->m_list, &copy);
        d->m_passingKey = false;
        return true;
    }
    return false;
}

bool TwCustomCombo::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Enter and Esc close an open list before a dialog sees them; Alt+Up/Down are ours.
        auto *key = static_cast<QKeyEvent *>(event);
        if ((d->m_droppedDown && IsEnterOrEscape(key->key())) || IsToggleKey(key)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && KeyBeforeEdit(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    // The list is a window of its own holding the pointer and the keyboard: it must not stay
    // behind when the combo or its form is hidden.
    if (event->type() == QEvent::Hide)
        CloseUp(false);
    return TwCustomEdit::event(event);
}

void TwCustomCombo::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) && AutoDrop())
        DropDown(true);
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        TwCustomEdit::keyPressEvent(event);
        return;
    }
    const QChar c = typed.at(0);
    if (c == QChar(0x1B) && d->m_droppedDown) {
        CloseUp(false);
        event->accept();
        return;
    }
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
        TwCustomEdit::keyPressEvent(event);
        return;
    }
    if (!Editable()) {
        TXErrBeep();
        event->accept();
        return;
    }
    if (AutoDrop())
        DropDown(true);
    TwCustomEdit::keyPressEvent(event);
}

void TwCustomCombo::inputMethodEvent(QInputMethodEvent *event)
{
    // Composed characters are typed characters: a combo that takes none refuses them too.
    if (!Editable() && (!event->preeditString().isEmpty() || !event->commitString().isEmpty())) {
        if (!event->commitString().isEmpty())
            TXErrBeep();
        event->accept();
        return;
    }
    if (!event->preeditString().isEmpty() && AutoDrop() && !d->m_droppedDown)
        DropDown(true);
    TwCustomEdit::inputMethodEvent(event);
}

// --- button and mouse ----------------------------------------------------------------------

void TwCustomCombo::SetPressed(bool value)
{
    if (value == d->m_pressed)
        return;
    d->m_pressed = value;
    InvalidateCustom();
}

void TwCustomCombo::StopTracking()
{
    SetPressed(false);
    d->m_tracking = false;
}

void TwCustomCombo::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !GetCustomRect().contains(event->position().toPoint())) {
        TwCustomEdit::mousePressEvent(event);
        return;
    }
    event->accept();
    d->m_tracking = true;
    SetPressed(true);
    DropDown(false);
}

void TwCustomCombo::mouseMoveEvent(QMouseEvent *event)
{
    const bool onButton = GetCustomRect().contains(event->position().toPoint());
    setCursor(onButton ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (!d->m_tracking) {
        TwCustomEdit::mouseMoveEvent(event);
        return;
    }
    SetPressed(onButton);
}

void TwCustomCombo::mouseReleaseEvent(QMouseEvent *event)
{
    if (!d->m_tracking) {
        TwCustomEdit::mouseReleaseEvent(event);
        return;
    }
    StopTracking();
}

bool TwCustomCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != d->m_list)
        return TwCustomEdit::eventFilter(watched, event);
    // While the list shows it receives every mouse event; the button's tracking follows them
    // here, so that a press on the button, a drag into the list and a release choose a row.
    switch (event->type()) {
    case QEvent::MouseMove:
        if (d->m_tracking) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint global = mouse->globalPosition().toPoint();
            SetPressed(GetCustomRect().contains(mapFromGlobal(global)));
            if (d->m_list->rect().contains(d->m_list->mapFromGlobal(global)))
                StopTracking();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (d->m_tracking)
            StopTracking();
        break;
    case QEvent::FocusOut:
        // The list holds the keyboard after a press that chose no row (on its scroll bar, or
        // a drag released outside): the focus leaving it for another control leaves the combo.
        if (d->m_droppedDown && d->m_list->isVisible() && LeavesCombo(static_cast<QFocusEvent *>(event)))
            FocusLeft();
        break;
    case QEvent::Hide:
        // Qt may close the popup itself (another application activated): a cancelled
        // drop-down, unless the list's own close-up follows at once.
        if (d->m_droppedDown)
            QTimer::singleShot(0, this, [this] { CloseUp(false); });
        break;
    default:
        break;
    }
    return false;
}

// --- focus and state ---------------------------------------------------------------------------

void TwCustomCombo::focusOutEvent(QFocusEvent *event)
{
    TwCustomEdit::focusOutEvent(event);
    if (LeavesCombo(event))
        FocusLeft();
}

bool TwCustomCombo::LeavesCombo(const QFocusEvent *event) const
{
    // Showing the list moves the keyboard to it, and a click on one of its rows hands it
    // the focus: neither is leaving the control, nor is the focus coming back from the list.
    if (event->reason() == Qt::PopupFocusReason)
        return false;
    const QWidget *next = QApplication::focusWidget();
    if (!next)
        return true;
    return next != this && !(d->m_list && (next == d->m_list || d->m_list->isAncestorOf(next)));
}

void TwCustomCombo::FocusLeft()
{
    StopTracking();
    CloseUp(false);
    LeaveControl();
}

void TwCustomCombo::changeEvent(QEvent *event)
{
    TwCustomEdit::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    // A disabled combo takes no choice: an open list closes as when the focus leaves.
    if (!isEnabled())
        CloseUp(false);
    update();
}
