#include "grid/designio.h"

#include "grid/drawobjects.h"
#include "platform/texception.h"

#include <QBuffer>
#include <QJsonArray>

#include <cmath>
#include <utility>

// TwDesignWriter

void TwDesignWriter::Int(const char *key, qint64 value, qint64 defaultValue)
{
    if (value != defaultValue)
        m_json.insert(QLatin1String(key), QJsonValue(value));
}

void TwDesignWriter::Bool(const char *key, bool value, bool defaultValue)
{
    if (value != defaultValue)
        m_json.insert(QLatin1String(key), value);
}

void TwDesignWriter::Text(const char *key, const QString &value)
{
    if (!value.isEmpty())
        m_json.insert(QLatin1String(key), value);
}

void TwDesignWriter::Text(const char *key, const QString &value, const QString &defaultValue)
{
    if (value != defaultValue)
        m_json.insert(QLatin1String(key), value);
}

void TwDesignWriter::List(const char *key, const QStringList &value)
{
    if (!value.isEmpty())
        m_json.insert(QLatin1String(key), QJsonArray::fromStringList(value));
}

void TwDesignWriter::Object(const char *key, const TwDesignWriter &value)
{
    Object(key, value.m_json);
}

void TwDesignWriter::Object(const char *key, const QJsonObject &value)
{
    if (!value.isEmpty())
        m_json.insert(QLatin1String(key), value);
}

void TwDesignWriter::Font(const char *key, const TwFont &font)
{
    QJsonObject json;
    json.insert(QStringLiteral("Family"), font.Font.family());
    if (font.Font.pixelSize() > 0)
        json.insert(QStringLiteral("PixelSize"), font.Font.pixelSize());
    else
        json.insert(QStringLiteral("PointSize"), font.Font.pointSizeF());
    const std::pair<const char *, bool> flags[] = {
        {"Bold", font.Font.bold()},
        {"Italic", font.Font.italic()},
        {"Underline", font.Font.underline()},
        {"StrikeOut", font.Font.strikeOut()},
    };
    for (const auto &[key, set] : flags) {
        if (set)
            json.insert(QLatin1String(key), true);
    }
    json.insert(QStringLiteral("Color"), static_cast<qint64>(font.Color));
    m_json.insert(QLatin1String(key), json);
}

void TwDesignWriter::DrawObject(const TwDrawObject &object)
{
    if (object.IsAssigned(wovAlignment))
        Int("Alignment", object.Alignment(), object.DefaultAlignment());
    if (object.IsAssigned(wovColor))
        Int("Color", object.Color(), object.DefaultColor());
    if (object.IsAssigned(wovFitStyle))
        Int("FitStyle", object.FitStyle(), object.DefaultFitStyle());
    if (object.IsAssigned(wovFont))
        Font("Font", object.Font());
    if (object.IsAssigned(wovLayout))
        Int("Layout", object.Layout(), object.DefaultLayout());
    if (object.IsAssigned(wovMarginLeft))
        Int("MarginLeft", object.MarginLeft(), object.DefaultMarginLeft());
    if (object.IsAssigned(wovMarginTop))
        Int("MarginTop", object.MarginTop(), object.DefaultMarginTop());
    if (object.IsAssigned(wovMarginRight))
        Int("MarginRight", object.MarginRight(), object.DefaultMarginRight());
    if (object.IsAssigned(wovMarginBottom))
        Int("MarginBottom", object.MarginBottom(), object.DefaultMarginBottom());
    if (object.IsAssigned(wovWordWrap))
        Bool("WordWrap", object.WordWrap(), object.DefaultWordWrap());
    Int("CellStyle", object.CellStyle(), object.DefaultCellStyle());
}

void TwDesignWriter::Title(const TwTitle &title)
{
    DrawObject(title);
    Text("Caption", title.Caption());
    Bool("Clicking", title.Clicking(), false);
    if (!title.Image().isNull()) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        title.Image().save(&buffer, "PNG");
        Text("Image", QString::fromLatin1(bytes.toBase64()));
    }
    Int("ImageLayout", title.ImageLayout(), wimgNone);
}

// TwDesignReader

TwDesignReader::TwDesignReader(const QJsonObject &json, const QString &path)
    : m_json(json)
    , m_path(path)
{
}

QString TwDesignReader::PathOf(const char *key) const
{
    return m_path.isEmpty() ? QString::fromLatin1(key) : m_path + QLatin1Char('.') + QLatin1String(key);
}

void TwDesignReader::Fail(const char *key, const QString &problem) const
{
    const QString name = PathOf(key);
    throw TException(QStringLiteral("%1: %2").arg(name, problem));
}

bool TwDesignReader::Has(const char *key) const
{
    return m_json.contains(QLatin1String(key));
}

int TwDesignReader::Int(const char *key, int defaultValue, int min, int max) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    if (value.isUndefined())
        return defaultValue;
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || number != std::trunc(number))
        Fail(key, QStringLiteral("a whole number is expected"));
    if (number < min || number > max)
        Fail(key, QStringLiteral("%1 is out of range %2..%3").arg(QString::number(number, 'g', 17)).arg(min).arg(max));
    return static_cast<int>(number);
}

quint32 TwDesignReader::Bits(const char *key, quint32 defaultValue, int bits) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    if (value.isUndefined())
        return defaultValue;
    const double number = value.toDouble(-1);
    const double limit = std::ldexp(1.0, bits);
    if (!value.isDouble() || number != std::trunc(number) || number < 0 || number >= limit)
        Fail(key, QStringLiteral("a set of %1 members is expected").arg(bits));
    return static_cast<quint32>(number);
}

TColor TwDesignReader::Color(const char *key, TColor defaultValue) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    if (value.isUndefined())
        return defaultValue;
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != std::trunc(number) || number < 0 || number > 0xFFFFFFFF)
        Fail(key, QStringLiteral("a colour number is expected"));
    return static_cast<TColor>(number);
}

bool TwDesignReader::Bool(const char *key, bool defaultValue) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    if (value.isUndefined())
        return defaultValue;
    if (!value.isBool())
        Fail(key, QStringLiteral("true or false is expected"));
    return value.toBool();
}

QString TwDesignReader::Text(const char *key) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    if (value.isUndefined())
        return {};
    if (!value.isString())
        Fail(key, QStringLiteral("a text is expected"));
    return value.toString();
}

QStringList TwDesignReader::List(const char *key) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    if (value.isUndefined())
        return {};
    if (!value.isArray())
        Fail(key, QStringLiteral("a list of texts is expected"));
    QStringList list;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            Fail(key, QStringLiteral("a list of texts is expected"));
        list << item.toString();
    }
    return list;
}

TwDesignReader TwDesignReader::Object(const char *key) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    const QString path = PathOf(key);
    if (value.isUndefined())
        return TwDesignReader(QJsonObject(), path);
    if (!value.isObject())
        Fail(key, QStringLiteral("an object is expected"));
    return TwDesignReader(value.toObject(), path);
}

std::vector<TwDesignReader> TwDesignReader::Array(const char *key) const
{
    const QJsonValue value = m_json.value(QLatin1String(key));
    if (value.isUndefined())
        return {};
    if (!value.isArray())
        Fail(key, QStringLiteral("a list of objects is expected"));
    std::vector<TwDesignReader> items;
    const QJsonArray array = value.toArray();
    const QString name = PathOf(key);
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString path = QStringLiteral("%1[%2]").arg(name).arg(i);
        if (!array.at(i).isObject())
            throw TException(QStringLiteral("%1: an object is expected").arg(path));
        items.emplace_back(array.at(i).toObject(), path);
    }
    return items;
}

TwFont TwDesignReader::Font(const char *key) const
{
    const TwDesignReader json = Object(key);
    TwFont font;
    font.Font.setFamily(json.Text("Family"));
    if (json.Has("PixelSize")) {
        font.Font.setPixelSize(json.Int("PixelSize", 12, 1, 4096));
    } else {
        const QJsonValue size = json.m_json.value(QStringLiteral("PointSize"));
        const double points = size.isUndefined() ? 9 : size.toDouble(-1);
        if (!(points > 0 && points <= 4096))
            json.Fail("PointSize", QStringLiteral("a size above 0 and up to 4096 points is expected"));
        font.Font.setPointSizeF(points);
    }
    font.Font.setBold(json.Bool("Bold", false));
    font.Font.setItalic(json.Bool("Italic", false));
    font.Font.setUnderline(json.Bool("Underline", false));
    font.Font.setStrikeOut(json.Bool("StrikeOut", false));
    font.Color = json.Color("Color", clWindowText);
    return font;
}

void TwDesignReader::DrawObject(TwDrawObject &object) const
{
    constexpr int IntMin = std::numeric_limits<int>::min();
    if (Has("Alignment"))
        object.SetAlignment(Enum("Alignment", taLeftJustify, taCenter));
    if (Has("Color"))
        object.SetColor(Color("Color", 0));
    if (Has("FitStyle"))
        object.SetFitStyle(Enum("FitStyle", wfitNone, wfitPath));
    if (Has("Font"))
        object.SetFont(Font("Font"));
    if (Has("Layout"))
        object.SetLayout(Enum("Layout", tlTop, tlBottom));
    if (Has("MarginLeft"))
        object.SetMarginLeft(Int("MarginLeft", 0, IntMin));
    if (Has("MarginTop"))
        object.SetMarginTop(Int("MarginTop", 0, IntMin));
    if (Has("MarginRight"))
        object.SetMarginRight(Int("MarginRight", 0, IntMin));
    if (Has("MarginBottom"))
        object.SetMarginBottom(Int("MarginBottom", 0, IntMin));
    if (Has("WordWrap"))
        object.SetWordWrap(Bool("WordWrap", false));
    if (Has("CellStyle"))
        object.SetCellStyle(Enum("CellStyle", wcsNormal, wcsDown));
}

void TwDesignReader::Title(TwTitle &title) const
{
    DrawObject(title);
    title.SetCaption(Text("Caption"));
    title.SetClicking(Bool("Clicking", false));
    QPixmap image;
    const QString text = Text("Image");
    if (!text.isEmpty() && !image.loadFromData(QByteArray::fromBase64(text.toLatin1()), "PNG"))
        Fail("Image", QStringLiteral("a PNG picture in Base64 is expected"));
    title.SetImage(image);
    title.SetImageLayout(Enum("ImageLayout", wimgNone, wimgBottom));
}
