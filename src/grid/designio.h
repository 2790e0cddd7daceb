#pragma once

// Reading and writing one object of a grid's JSON design. The writer puts a value only when
// it differs from its default; the reader checks every value against the limits its setter
// keeps and fails with a message naming the property ("Columns[2].LevelIndex: …").

#include "grid/uxtypes.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <limits>
#include <vector>

class TwDrawObject;
class TwTitle;

class TABRIX_EXPORT TwDesignWriter
{
public:
    const QJsonObject &Json() const { return m_json; }
    bool IsEmpty() const { return m_json.isEmpty(); }

    void Int(const char *key, qint64 value, qint64 defaultValue);
    void Bool(const char *key, bool value, bool defaultValue);
    /// An empty text is the default.
    void Text(const char *key, const QString &value);
    /// A text with a default of its own: an empty text that differs from it is written.
    void Text(const char *key, const QString &value, const QString &defaultValue);
    /// An empty list is the default.
    void List(const char *key, const QStringList &value);
    /// An empty object is left out.
    void Object(const char *key, const TwDesignWriter &value);
    void Object(const char *key, const QJsonObject &value);
    void Font(const char *key, const TwFont &font);
    /// The assigned values that differ from the object's defaults.
    void DrawObject(const TwDrawObject &object);
    void Title(const TwTitle &title);

private:
    QJsonObject m_json;
};

class TABRIX_EXPORT TwDesignReader
{
public:
    static constexpr int IntMax = std::numeric_limits<int>::max();
    /// The largest width or height in pixels a design may hold.
    static constexpr int PixelMax = TwMaxPixels;

    TwDesignReader(const QJsonObject &json, const QString &path);

    const QString &Path() const { return m_path; }
    bool Has(const char *key) const;
    /// A whole number within min .. max; the default when the key is absent.
    int Int(const char *key, int defaultValue, int min = 0, int max = IntMax) const;
    /// An enumeration member: a whole number within 0 .. last.
    template<typename E>
    E Enum(const char *key, E defaultValue, E last) const
    {
        return static_cast<E>(Int(key, static_cast<int>(defaultValue), 0, static_cast<int>(last)));
    }
    quint32 Bits(const char *key, quint32 defaultValue, int bits) const;
    TColor Color(const char *key, TColor defaultValue) const;
    bool Bool(const char *key, bool defaultValue) const;
    QString Text(const char *key) const;
    QStringList List(const char *key) const;
    /// A nested object (empty when absent), its path extended by the key.
    TwDesignReader Object(const char *key) const;
    /// The objects of an array, each with its path and index.
    std::vector<TwDesignReader> Array(const char *key) const;
    TwFont Font(const char *key) const;
    void DrawObject(TwDrawObject &object) const;
    void Title(TwTitle &title) const;

    /// Fails with "path.key: problem".
    [[noreturn]] void Fail(const char *key, const QString &problem) const;

private:
    /// "path.key", or the key alone at the top.
    QString PathOf(const char *key) const;

    QJsonObject m_json;
    QString m_path;
};
