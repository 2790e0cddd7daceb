// The text editors: the single-line edit and the multi-line edit, and the key table that
// decides which keys they keep and which they hand back to the grid.

#include "grid/core/ineditors_p.h"

#include "grid/customgrid.h"
#include "grid/support/cp949text_p.h"

#include <QApplication>
#include <QDateTime>
#include <QInputMethod>
#include <QKeyEvent>
#include <QTextBlock>
#include <QValidator>

namespace {

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A cell's text limit counts code page 949 bytes, as the database field behind it does (a
// Hangul syllable takes two): what an edit would add past it is cut off at the caret, as a
// limit in characters cuts a paste, so nothing typed is cut away later.
class TByteLimit : public QValidator
{
public:
    explicit TByteLimit(QObject *parent)
        : QValidator(parent)
    {
    }
    void SetLimit(int limit) { m_limit = limit; }
    int Limit() const { return m_limit; }
    State validate(QString &input, int &pos) const override
    {
        // The text before the edit fitted (the editor is loaded within the limit): the
        // excess is what was just put in before the caret.
        while (TXCp949Size(input) > m_limit && pos > 0) {
            const int units = pos > 1 && input.at(pos - 1).isLowSurrogate() && input.at(pos - 2).isHighSurrogate() ? 2 : 1;
            input.remove(pos - units, units);
            pos -= units;
        }
        return TXCp949Size(input) <= m_limit ? Acceptable : Invalid;
    }

private:
    int m_limit = 0;
};

} // namespace

// TwInEdit

TwInEdit::TwInEdit(TwCustomGrid *grid)
    : TwCustomMaskEdit(nullptr)
    , TwInEditor(grid)
{
    SetAutoSelect(false);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!m_setting)
            MarkModified();
    });
}

void TwInEdit::SetColumn(TwColumn *column)
{
    TwInEditor::SetColumn(column);
    if (!column)
        return;
    const int limit = column->GetEditLimit();
    setMaxLength(limit > 0 ? limit : 32767);
    if (limit <= 0) {
        setValidator(nullptr);
        return;
    }
    if (!m_byteLimit)
        m_byteLimit = new TByteLimit(this);
    static_cast<TByteLimit *>(m_byteLimit)->SetLimit(limit);
    setValidator(m_byteLimit);
}

QVariant TwInEdit::Value() const
{
    return text();
}

void TwInEdit::SetValue(const QVariant &value)
{
    m_setting = true;
    const QString text = value.isNull() ? QString() : value.toString();
    // A cell stored before its width narrowed is shown within the limit, as a limit in
    // characters shows it.
    setText(m_byteLimit && validator() == m_byteLimit ? TXCp949Left(text, static_cast<TByteLimit *>(m_byteLimit)->Limit()) : text);
    m_setting = false;
    SetModified(false);
    ForgetModifyAnswer();
    m_selectToggle = false;
}

void TwInEdit::Deselect()
{
    deselect();
    end(false);
}

void TwInEdit::HideEditor()
{
    TwInEditor::HideEditor();
}

void TwInEdit::ApplyColumn()
{
    TwColumn *column = Column();
    if (!column)
        return;
    SetAlignment(column->Alignment());
    SetLayout(column->Layout());
    setFont(column->Font().Font);
    SetCtl3D(column->EditBorder() != webNone);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, TXColor(column->Font().Color));
    palette.setColor(QPalette::Base, column->EditColor() ? TXColor(column->Color()) : QApplication::palette().color(QPalette::Base));
    setPalette(palette);
}

TwCaretPlace TwInEdit::CaretPlace() const
{
    TwCaretPlace place;
    const bool selection = hasSelectedText();
    place.AtLeft = !selection && cursorPosition() == 0;
    place.AtRight = !selection && cursorPosition() == text().size();
    return place;
}

bool TwInEdit::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Enter and Escape are the grid's: no default button or dialog takes them.
        auto *key = static_cast<QKeyEvent *>(event);
        if (IsEnter(key->key()) || key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return TwCustomMaskEdit::event(event);
}

void TwInEdit::keyPressEvent(QKeyEvent *event)
{
    TwCustomGrid *grid = Grid();
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool arrowMove = grid->Options().Has(wgoArrowMove);
    event->accept();
    auto toGrid = [&] { KeyToGrid(key, modifiers); };
    if (ListKey(event))
        return;
    const TwCaretPlace place = CaretPlace();
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Home:
        if (arrowMove && (ctrl || place.AtLeft)) {
            LeavingText();
            toGrid();
            return;
        }
        break;
    case Qt::Key_Right:
    case Qt::Key_End:
        if (arrowMove && (ctrl || place.AtRight)) {
            LeavingText();
            toGrid();
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
    case Qt::Key_F3:
        toGrid();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!alt) {
            toGrid();
            return;
        }
        break;
    case Qt::Key_F2:
        if (ctrl)
            toGrid();
        else
            Deselect();
        return;
    case Qt::Key_Delete:
        if (ctrl) {
            toGrid();
            return;
        }
        if (!CanModify())
            return;
        break;
    case Qt::Key_Insert:
        if (!(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
            toGrid();
            return;
        }
        if (shift && !CanModify())
            return;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The grid's Enter comes first (moving on, or taking the value and hiding); when
        // the editor stays on its cell Enter toggles between all selected and the caret at
        // the end.
        TwColumn *column = Column();
        const int row = EditingRow();
        toGrid();
        if (!StillEditing(column, row) || !isVisible())
            return;
        m_selectToggle = !(hasSelectedText() && selectedText() == text());
        if (m_selectToggle)
            selectAll();
        else
            Deselect();
        return;
    }
    default:
        if (RefusesTypedChange(event))
            return;
        break;
    }
    event->ignore();
    TwCustomMaskEdit::keyPressEvent(event);
}

void TwInEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Composition is ignored on a column that may not change.
    if (RefusesComposition(event)) {
        event->accept();
        return;
    }
    TwCustomMaskEdit::inputMethodEvent(event);
    if (!event->commitString().isEmpty())
        MarkModified();
}

void TwInEdit::mousePressEvent(QMouseEvent *event)
{
    // A second press within the double-click time counts as a double click even when the
    // first one opened the editor.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool twice = event->button() == Qt::LeftButton && now - m_lastPress <= QApplication::doubleClickInterval();
    m_lastPress = event->button() == Qt::LeftButton ? now : 0;
    if (twice) {
        QMouseEvent dbl(QEvent::MouseButtonDblClick, event->position(), event->scenePosition(), event->globalPosition(),
                        event->button(), event->buttons(), event->modifiers());
        mouseDoubleClickEvent(&dbl);
        m_lastPress = 0;
        return;
    }
    TwCustomMaskEdit::mousePressEvent(event);
}

void TwInEdit::focusOutEvent(QFocusEvent *event)
{
    QGuiApplication::inputMethod()->reset();
    TwCustomMaskEdit::focusOutEvent(event);
}

// TwInMultiEdit

TwInMultiEdit::TwInMultiEdit(TwCustomGrid *grid)
    : QPlainTextEdit(nullptr)
    , TwInEditor(grid)
{
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_setting)
            MarkModified();
    });
}

QVariant TwInMultiEdit::Value() const
{
    return toPlainText();
}

void TwInMultiEdit::SetValue(const QVariant &value)
{
    m_setting = true;
    setPlainText(value.isNull() ? QString() : value.toString());
    m_setting = false;
    SetModified(false);
    ForgetModifyAnswer();
}

void TwInMultiEdit::Deselect()
{
    moveCursor(QTextCursor::End);
}

void TwInMultiEdit::ApplyColumn()
{
    TwColumn *column = Column();
    if (!column)
        return;
    setFont(column->Font().Font);
    setFrameShape(column->EditBorder() == webNone ? QFrame::NoFrame : QFrame::StyledPanel);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, TXColor(column->Font().Color));
    palette.setColor(QPalette::Base, column->EditColor() ? TXColor(column->Color()) : QApplication::palette().color(QPalette::Base));
    setPalette(palette);
}

void TwInMultiEdit::keyPressEvent(QKeyEvent *event)
{
    TwCustomGrid *grid = Grid();
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool arrowMove = grid->Options().Has(wgoArrowMove);
    const QTextCursor cursor = textCursor();
    const bool selection = cursor.hasSelection();
    const bool atLeft = !selection && cursor.position() == 0;
    const bool atRight = !selection && cursor.atEnd();
    const bool firstLine = cursor.block() == document()->firstBlock() && cursor.block().layout()->lineForTextPosition(cursor.positionInBlock()).lineNumber() == 0;
    const bool lastLine = cursor.block() == document()->lastBlock()
        && cursor.block().layout()->lineForTextPosition(cursor.positionInBlock()).lineNumber()
            == cursor.block().layout()->lineCount() - 1;
    event->accept();
    auto toGrid = [&] { KeyToGrid(key, modifiers); };
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Home:
        if (arrowMove && (ctrl || atLeft))
            return toGrid();
        break;
    case Qt::Key_Right:
    case Qt::Key_End:
        if (arrowMove && (ctrl || atRight))
            return toGrid();
        break;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        if (ctrl || firstLine)
            return toGrid();
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        if (ctrl || lastLine)
            return toGrid();
        break;
    case Qt::Key_Escape:
    case Qt::Key_F3:
        return toGrid();
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!(modifiers & Qt::AltModifier))
            return toGrid();
        break;
    case Qt::Key_F2:
        if (ctrl)
            return toGrid();
        Deselect();
        return;
    case Qt::Key_Delete:
        if (ctrl)
            return toGrid();
        if (!CanModify())
            return;
        break;
    case Qt::Key_Insert:
        if (!(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            return toGrid();
        if ((modifiers & Qt::ShiftModifier) && !CanModify())
            return;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!CanModify())
            return;
        break;
    default:
        if (RefusesTypedChange(event))
            return;
        break;
    }
    event->ignore();
    QPlainTextEdit::keyPressEvent(event);
}

void TwInMultiEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (RefusesComposition(event)) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}
