#include "grid/uxdlgmemo.h"
#include "grid/support/uxdlgmemo_p.h"

#include "grid/uxutils.h"
#include "platform/cp949.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

#include <limits>

namespace {

const QString MemoFilter = QStringLiteral("Text File(*.txt)|*.txt|All Files(*.*)|*.*");

// Text files come from Windows workstations in code page 949, or from anywhere in UTF-8;
// bytes that read as valid UTF-8 are taken as UTF-8.
QString DecodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = Platform::FromCp949(bytes);
    // The box holds lines, not line ends: a Windows line end is one character in it.
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The text box of the memo. Typing, input-method commits, pasting and dropping are held to
// the limit before they reach the document, so the undo history only ever holds texts that
// fit and undoing or redoing never runs past the limit.
class TwMemoBox : public QPlainTextEdit
{
public:
    TwMemoBox(QWidget *parent, const int *limit)
        : QPlainTextEdit(parent)
        , m_limit(limit)
    {
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const QString text = event->text();
        // A printable key with Ctrl is a shortcut (undo, paste, …), not input.
        const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
        const bool inserts = enter || (!shortcut && !text.isEmpty() && text.at(0).isPrint());
        if (inserts && (enter ? 1 : int(text.size())) > Room()) {
            TXErrBeep();
            event->accept();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent *event) override
    {
        const int room = Room();
        if (event->commitString().size() <= room) {
            QPlainTextEdit::inputMethodEvent(event);
            return;
        }
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(Fitting(event->commitString(), room), event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&cut);
        TXErrBeep();
    }

    void insertFromMimeData(const QMimeData *source) override
    {
        const int room = Room();
        if (!source->hasText() || source->text().size() <= room) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        QMimeData cut;
        cut.setText(Fitting(source->text(), room));
        QPlainTextEdit::insertFromMimeData(&cut);
        TXErrBeep();
    }

private:
    // How many characters may still come in place of the selection.
    int Room() const
    {
        if (*m_limit <= 0)
            return std::numeric_limits<int>::max();
        const QTextCursor cursor = textCursor();
        // The document counts one closing paragraph separator beyond the text.
        const int kept = document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
        return qMax(0, *m_limit - kept);
    }

    // The head of `text` that fits in `room`, never splitting a character outside the basic plane.
    static QString Fitting(QString text, int room)
    {
        text.truncate(room);
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
        return text;
    }

    const int *m_limit;
};

void Refuse(QWidget *owner, const QString &text)
{
    Platform::ShowMessageBox(owner, text, Platform::ApplicationTitle(), Platform::TMsgIcon::Warning);
}

} // namespace

TwInDlgMemo::TwInDlgMemo(QWidget *parent)
    : TwInDlg(parent)
    , d(std::make_unique<TwInDlgMemoPrivate>())
{
    setObjectName(QStringLiteral("TwInDlgMemo"));
    d->m_memo = new TwMemoBox(this, &d->m_editLimit);
    d->m_memo->setObjectName(QStringLiteral("Memo"));
    d->m_memo->setFrameShape(QFrame::NoFrame);
    d->m_memo->setTabChangesFocus(true);
    SetContent(d->m_memo);

    connect(AddButton(QStringLiteral("&Load"), QStringLiteral("LoadButton")), &QToolButton::clicked, this,
        &TwInDlgMemo::Load);
    connect(
        AddButton(QStringLiteral("&Ok"), QStringLiteral("OkButton")), &QToolButton::clicked, this, &TwInDlgMemo::Ok);
    connect(AddButton(QStringLiteral("&Cancel"), QStringLiteral("CancelButton")), &QToolButton::clicked, this,
        &QDialog::reject);
}

TwInDlgMemo::~TwInDlgMemo() = default;

void TwInDlgMemo::SetOnOk(std::function<void(const QString &)> callback) { d->m_onOk = std::move(callback); }

QPlainTextEdit *TwInDlgMemo::Memo() const { return d->m_memo; }

int TwInDlgMemo::EditLimit() const { return d->m_editLimit; }

void TwInDlgMemo::SetEditLimit(int limit) { d->m_editLimit = qMax(0, limit); }

int TwInDlgMemo::ShowDlg(const QRect &cell, QWidget *cellOwner, const QVariant &value, int editLimit)
{
    SetEditLimit(editLimit);
    d->m_memo->clear();
    if (!value.isNull())
        d->m_memo->setPlainText(value.toString());
    return ShowAt(cell, cellOwner);
}

void TwInDlgMemo::showEvent(QShowEvent *event)
{
    TwInDlg::showEvent(event);
    d->m_memo->selectAll();
    d->m_memo->setFocus();
}

void TwInDlgMemo::Ok()
{
    if (d->m_onOk)
        d->m_onOk(d->m_memo->toPlainText());
    accept();
}

void TwInDlgMemo::Load()
{
    const QString path = Platform::OpenFileName(this, QString(), MemoFilter, QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Refuse(this, QStringLiteral("파일을 읽을 수 없습니다.\n%1").arg(path));
        return;
    }
    if (file.size() > MaxFileSize) {
        Refuse(this,
            QStringLiteral("파일이 너무 큽니다. %1 KB 이하의 파일만 읽을 수 있습니다.\n%2")
                .arg(MaxFileSize / 1024)
                .arg(path));
        return;
    }
    const QString text = DecodeText(file.read(MaxFileSize + 1));
    if (d->m_editLimit > 0 && text.size() > d->m_editLimit) {
        Refuse(this,
            QStringLiteral("파일의 내용이 너무 깁니다. %1자까지 입력할 수 있습니다.\n%2")
                .arg(d->m_editLimit)
                .arg(path));
        return;
    }
    d->m_memo->setPlainText(text);
}
