#include "grid/uxdlgmemo.h"
#include "grid/uxdlgmemo_p.h"

#include "grid/uxutils.h"
#include "platform/cp949.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

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
    d->m_memo = new QPlainTextEdit(this);
    d->m_memo->setObjectName(QStringLiteral("Memo"));
    d->m_memo->setFrameShape(QFrame::NoFrame);
    d->m_memo->setTabChangesFocus(true);
    SetContent(d->m_memo);
    connect(d->m_memo->document(), &QTextDocument::contentsChange, this,
        [this](int position, int, int added) { EnforceLimit(position, added); });

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
    {
        const QScopedValueRollback loading(d->m_loading, true);
        d->m_memo->clear();
        if (!value.isNull())
            d->m_memo->setPlainText(value.toString());
    }
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

void TwInDlgMemo::EnforceLimit(int position, int added)
{
    if (d->m_loading || d->m_editLimit <= 0 || added <= 0)
        return;
    // The document counts one closing paragraph separator beyond the text.
    const int excess = d->m_memo->document()->characterCount() - 1 - d->m_editLimit;
    if (excess <= 0)
        return;
    int cutStart = qMax(position, position + added - excess);
    // A character outside the basic plane is never split in two.
    if (cutStart > position && d->m_memo->document()->characterAt(cutStart).isLowSurrogate())
        --cutStart;
    const QScopedValueRollback loading(d->m_loading, true);
    QTextCursor cursor(d->m_memo->document());
    cursor.setPosition(cutStart);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    TXErrBeep();
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
    const QScopedValueRollback loading(d->m_loading, true);
    d->m_memo->setPlainText(text);
}
