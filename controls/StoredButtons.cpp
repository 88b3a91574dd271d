#include "StoredButtons.h"

#include "CmdButton.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPixmap>

#include <algorithm>

namespace lorvane {

namespace {

const QString pngPrefix = QStringLiteral("png:");

QString unquote(QStringView quoted, bool *ok)
{
    *ok = false;
    if (quoted.size() < 2 || !quoted.endsWith(QLatin1Char('"')))
        return {};
    QString out;
    const QStringView inner = quoted.mid(1, quoted.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const QChar c = inner.at(i);
        if (c == QLatin1Char('"'))
            return {}; // an unescaped quote inside: the value ends early
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i == inner.size())
            return {};
        switch (inner.at(i).unicode()) {
        case '"':
            out += QLatin1Char('"');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        default:
            return {};
        }
    }
    *ok = true;
    return out;
}

QString quote(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            out += QStringLiteral("\\\"");
        else if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString fontToText(const QFont &font)
{
    QStringList parts{font.family(), QString::number(font.pointSizeF())};
    if (font.bold())
        parts << QStringLiteral("bold");
    if (font.italic())
        parts << QStringLiteral("italic");
    if (font.underline())
        parts << QStringLiteral("underline");
    if (font.strikeOut())
        parts << QStringLiteral("strikeout");
    return parts.join(QStringLiteral(", "));
}

} // namespace

StoredButtons StoredButtons::parse(const QString &text)
{
    StoredButtons result;
    Section *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        auto fail = [&](const QString &why) {
            result.m_errors << QStringLiteral("line %1: %2").arg(n + 1).arg(why);
        };
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || line.size() < 3) {
                fail(QStringLiteral("a button name is written [Name]"));
                current = nullptr;
                continue;
            }
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (result.contains(name)) {
                fail(QStringLiteral("button %1 is given twice").arg(name));
                current = nullptr;
                continue;
            }
            result.m_sections.push_back({name, {}});
            current = &result.m_sections.back();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            fail(QStringLiteral("expected key = value"));
            continue;
        }
        if (!current) {
            fail(QStringLiteral("a value outside any [button]"));
            continue;
        }
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        if (value.startsWith(QLatin1Char('"'))) {
            bool ok = false;
            value = unquote(value, &ok);
            if (!ok) {
                fail(QStringLiteral("unfinished or malformed quoted text"));
                continue;
            }
        }
        if (current->bag.contains(key)) {
            fail(QStringLiteral("%1 is given twice for %2").arg(key, current->name));
            continue;
        }
        current->bag.setValue(key, value);
    }
    return result;
}

StoredButtons StoredButtons::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        StoredButtons result;
        result.m_errors << QStringLiteral("%1: %2").arg(path, file.errorString());
        return result;
    }
    return parse(QString::fromUtf8(file.readAll()));
}

QStringList StoredButtons::names() const
{
    QStringList result;
    for (const Section &s : m_sections)
        result << s.name;
    return result;
}

bool StoredButtons::contains(const QString &name) const
{
    return std::any_of(m_sections.begin(), m_sections.end(),
                       [&name](const Section &s) { return s.name == name; });
}

PropertyBag StoredButtons::bag(const QString &name) const
{
    for (const Section &s : m_sections) {
        if (s.name == name)
            return s.bag;
    }
    return {};
}

void StoredButtons::setBag(const QString &name, const PropertyBag &bag)
{
    for (Section &s : m_sections) {
        if (s.name == name) {
            s.bag = bag;
            return;
        }
    }
    m_sections.push_back({name, bag});
}

CmdButton *StoredButtons::create(const QString &name, QWidget *parent) const
{
    auto *button = new CmdButton(parent);
    button->setObjectName(name);
    if (!contains(name))
        qWarning("CmdButton %s has no stored values; using the defaults", qPrintable(name));
    const QStringList unreadable = button->ReadProperties(bag(name));
    if (!unreadable.isEmpty())
        qWarning("CmdButton %s: unreadable stored values %s", qPrintable(name),
                 qPrintable(unreadable.join(QStringLiteral(", "))));
    return button;
}

QString StoredButtons::toText() const
{
    QString out;
    for (const Section &s : m_sections) {
        if (!out.isEmpty())
            out += QLatin1Char('\n');
        out += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const QString &key : s.bag.keys())
            out += key.toLower() + QStringLiteral(" = ") + savedValueToText(s.bag.value(key)) +
                   QLatin1Char('\n');
    }
    return out;
}

QString savedValueToText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QString:
        return quote(value.toString());
    case QMetaType::QFont:
        return fontToText(value.value<QFont>());
    case QMetaType::QImage:
    case QMetaType::QPixmap: {
        const QImage image = value.typeId() == QMetaType::QImage ? value.value<QImage>()
                                                                 : value.value<QPixmap>().toImage();
        if (image.isNull())
            return {};
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return pngPrefix + QString::fromLatin1(png.toBase64());
    }
    default:
        return value.toString();
    }
}

int savedInt(const QVariant &value, bool *ok)
{
    *ok = false;
    if (value.typeId() != QMetaType::QString) {
        const int v = value.toInt(ok);
        return *ok ? v : 0;
    }
    const QString text = value.toString().trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        // Hexadecimal colours may use all 32 bits.
        const uint v = text.mid(2).toUInt(ok, 16);
        return *ok ? static_cast<int>(v) : 0;
    }
    const int v = text.toInt(ok, 10);
    return *ok ? v : 0;
}

bool savedBool(const QVariant &value, bool *ok)
{
    *ok = true;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() != QMetaType::QString) {
        const int v = value.toInt(ok);
        return *ok && v != 0;
    }
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1") || text == QLatin1String("-1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    *ok = false;
    return false;
}

QFont savedFont(const QVariant &value, bool *ok)
{
    *ok = true;
    if (value.typeId() == QMetaType::QFont)
        return value.value<QFont>();
    *ok = false;
    if (value.typeId() != QMetaType::QString)
        return {};
    const QStringList parts = value.toString().split(QLatin1Char(','));
    if (parts.size() < 2 || parts.at(0).trimmed().isEmpty())
        return {};
    bool sizeOk = false;
    const double size = parts.at(1).trimmed().toDouble(&sizeOk);
    if (!sizeOk || size <= 0)
        return {};
    QFont font(parts.at(0).trimmed());
    font.setPointSizeF(size);
    for (qsizetype i = 2; i < parts.size(); ++i) {
        const QString attribute = parts.at(i).trimmed().toLower();
        if (attribute == QLatin1String("bold"))
            font.setBold(true);
        else if (attribute == QLatin1String("italic"))
            font.setItalic(true);
        else if (attribute == QLatin1String("underline"))
            font.setUnderline(true);
        else if (attribute == QLatin1String("strikeout"))
            font.setStrikeOut(true);
        else
            return {};
    }
    *ok = true;
    return font;
}

QImage savedImage(const QVariant &value, bool *ok)
{
    *ok = true;
    if (value.typeId() == QMetaType::QImage)
        return value.value<QImage>();
    if (value.typeId() == QMetaType::QPixmap)
        return value.value<QPixmap>().toImage();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return {};
    QImage image;
    if (text.startsWith(pngPrefix))
        image.loadFromData(QByteArray::fromBase64(text.mid(pngPrefix.size()).toLatin1()), "PNG");
    else
        image.load(text);
    *ok = !image.isNull();
    return image;
}

} // namespace lorvane
