#include "grid/uxdlgimg.h"
#include "grid/support/uxdlgimg_p.h"

#include "platform/filedialog.h"
#include "platform/messagebox.h"

#include <QImageReader>
#include <QLabel>
#include <QToolButton>

namespace {

// Bitmaps first, as the cells were always given; then whatever else Qt reads.
QString PictureFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Bitmaps (*.bmp)|*.bmp|Pictures|") + patterns.join(QLatin1Char(';'));
}

} // namespace

TwInDlgImg::TwInDlgImg(QWidget *parent)
    : TwInDlg(parent)
    , d(std::make_unique<TwInDlgImgPrivate>())
{
    setObjectName(QStringLiteral("TwInDlgImg"));
    d->m_image = new QLabel(this);
    d->m_image->setObjectName(QStringLiteral("Image"));
    d->m_image->setAlignment(Qt::AlignCenter);
    // A large picture shows its middle and must not grow the popup.
    d->m_image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    SetContent(d->m_image);

    connect(AddButton(QStringLiteral("&Load"), QStringLiteral("LoadButton")), &QToolButton::clicked, this,
        &TwInDlgImg::Load);
    connect(AddButton(QStringLiteral("Cle&ar"), QStringLiteral("ClearButton")), &QToolButton::clicked, this,
        &TwInDlgImg::Clear);
    connect(AddButton(QStringLiteral("&Ok"), QStringLiteral("OkButton")), &QToolButton::clicked, this, &TwInDlgImg::Ok);
    connect(AddButton(QStringLiteral("&Cancel"), QStringLiteral("CancelButton")), &QToolButton::clicked, this,
        &QDialog::reject);
}

TwInDlgImg::~TwInDlgImg() = default;

void TwInDlgImg::SetOnOk(std::function<void(const QPixmap &)> callback) { d->m_onOk = std::move(callback); }

QPixmap TwInDlgImg::Picture() const { return d->m_picture; }

void TwInDlgImg::SetPicture(const QPixmap &picture)
{
    d->m_picture = picture;
    d->m_image->setPixmap(picture);
}

QLabel *TwInDlgImg::Image() const { return d->m_image; }

int TwInDlgImg::ShowDlg(const QRect &cell, QWidget *cellOwner, const QPixmap &bitmap)
{
    SetPicture(bitmap);
    return ShowAt(cell, cellOwner);
}

void TwInDlgImg::Clear() { SetPicture(QPixmap()); }

void TwInDlgImg::Ok()
{
    if (d->m_onOk)
        d->m_onOk(d->m_picture);
    accept();
}

void TwInDlgImg::Load()
{
    const QString path = Platform::OpenFileName(this, QString(), PictureFilter(), QStringLiteral("bmp"));
    if (path.isEmpty())
        return;
    // The reader refuses pictures over its allocation limit instead of exhausting memory.
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        Platform::ShowMessageBox(this,
            QStringLiteral("그림 파일을 읽을 수 없습니다.\n%1\n%2").arg(path, reader.errorString()),
            Platform::ApplicationTitle(), Platform::TMsgIcon::Warning);
        return;
    }
    SetPicture(QPixmap::fromImage(image));
}
