// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SettingsFile.h"

#include <QStringDecoder>

namespace pulsivar {

namespace {

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case 0: out += QStringLiteral("\\0"); break;
        default: out += c;
        }
    }
    return out;
}

// Reads a quoted string starting at pos (which must be at the opening quote); moves pos past it.
std::optional<QString> readQuoted(QStringView line, qsizetype &pos)
{
    if (pos >= line.size() || line[pos] != u'"')
        return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return out;
        }
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return std::nullopt;
        switch (line[pos].unicode()) {
        case '\\': out += u'\\'; break;
        case '"': out += u'"'; break;
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case '0': out += QChar(0); break;
        default: return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<StoredValue> readValue(QStringView rest)
{
    StoredValue value;
    if (rest.startsWith(u'"')) {
        qsizetype pos = 0;
        auto text = readQuoted(rest, pos);
        if (!text || pos != rest.size())
            return std::nullopt;
        value.text = *text;
        return value;
    }
    if (rest.startsWith(QLatin1String("dword:")) && rest.size() == 14) {
        bool ok = false;
        const uint32_t bits = rest.mid(6).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        value.type = StoredValue::Type::Number;
        value.number = static_cast<int32_t>(bits);
        return value;
    }
    if (rest.startsWith(QLatin1String("hex:"))) {
        value.type = StoredValue::Type::Other;
        value.text = rest.mid(4).toString();
        return value;
    }
    return std::nullopt;
}

// Text without a byte-order mark in UTF-16 is told by its NUL bytes: every other byte of an ASCII
// character. UTF-8 that does not decode is taken byte for byte, as Latin-1.
QString decodeText(const QByteArray &content)
{
    std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(content);
    if (!encoding && content.size() >= 2) {
        if (content[0] != 0 && content[1] == 0)
            encoding = QStringConverter::Utf16LE;
        else if (content[0] == 0 && content[1] != 0)
            encoding = QStringConverter::Utf16BE;
    }
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    QString text = decoder.decode(content);
    if (decoder.hasError() && encoding.value_or(QStringConverter::Utf8) == QStringConverter::Utf8)
        text = QString::fromLatin1(content);
    return text;
}

} // namespace

SettingsFile SettingsFile::parse(const QByteArray &content)
{
    SettingsFile file;
    const QString text = decodeText(content);
    QString key;
    QHash<Caseless, int> *names = nullptr;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        ++lineNumber;
        const QStringView line = QStringView(text).mid(start, end - start).trimmed();
        start = end + (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n' ? 2 : 1);

        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']') && line.size() > 2 && !line.contains(QChar(0))) {
            key = line.mid(1, line.size() - 2).toString();
            names = &file.index[Caseless{key}];
            file.keysSeen = true;
            continue;
        }
        qsizetype pos = 0;
        // A raw NUL is binary data, never text of ours.
        const auto name = names && !line.contains(QChar(0)) ? readQuoted(line, pos) : std::nullopt;
        const auto value = name && !name->isEmpty() && pos < line.size() && line[pos] == u'='
                               ? readValue(line.mid(pos + 1))
                               : std::nullopt;
        if (!value) {
            if (file.unreadLine == 0)
                file.unreadLine = lineNumber;
            continue;
        }
        const auto existing = names->constFind(Caseless{*name});
        if (existing != names->constEnd()) {
            file.list[*existing].value = *value;
        } else {
            names->insert(Caseless{*name}, int(file.list.size()));
            file.list.append({key, *name, *value});
        }
    }
    return file;
}

QByteArray SettingsFile::serialize() const
{
    // Each key's values together, keys in the order they first appear.
    QHash<Caseless, int> groupOf;
    QList<QList<int>> groups;
    for (int i = 0; i < list.size(); ++i) {
        auto found = groupOf.constFind(Caseless{list[i].key});
        if (found == groupOf.constEnd()) {
            found = groupOf.insert(Caseless{list[i].key}, int(groups.size()));
            groups.append(QList<int>());
        }
        groups[*found].append(i);
    }
    QString out = QStringLiteral("; Pulsivar settings: one [key] a section, \"name\"=\"text\" a value.\n");
    for (const auto &group : groups) {
        out += QStringLiteral("\n[%1]\n").arg(list[group.first()].key);
        for (const int i : group) {
            const SettingsEntry &entry = list[i];
            out += u'"' + escaped(entry.name) + QStringLiteral("\"=");
            switch (entry.value.type) {
            case StoredValue::Type::Text: out += u'"' + escaped(entry.value.text) + u'"'; break;
            case StoredValue::Type::Number:
                out += QStringLiteral("dword:%1").arg(uint32_t(entry.value.number), 8, 16, QChar(u'0'));
                break;
            case StoredValue::Type::Other: out += QStringLiteral("hex:") + entry.value.text; break;
            }
            out += u'\n';
        }
    }
    return out.toUtf8();
}

size_t qHash(const SettingsFile::Caseless &name, size_t seed)
{
    // FNV-1a over the case-folded code points, as QString::compare folds them.
    size_t hash = seed ^ size_t(0xcbf29ce484222325ull);
    const qsizetype size = name.text.size();
    const QChar *chars = name.text.constData();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t point = chars[i].unicode();
        if (point < 0x80) {
            if (point >= u'A' && point <= u'Z')
                point += u'a' - u'A';
        } else {
            if (QChar::isHighSurrogate(point) && i + 1 < size && chars[i + 1].isLowSurrogate())
                point = QChar::surrogateToUcs4(char16_t(point), chars[++i].unicode());
            point = QChar::toCaseFolded(point);
        }
        hash = (hash ^ point) * size_t(0x100000001b3ull);
    }
    return hash;
}

int SettingsFile::indexOf(const QString &key, const QString &name) const
{
    const auto names = index.constFind(Caseless{key});
    return names == index.constEnd() ? -1 : names->value(Caseless{name}, -1);
}

void SettingsFile::reindex()
{
    index.clear();
    for (int i = 0; i < list.size(); ++i)
        index[Caseless{list[i].key}].insert(Caseless{list[i].name}, i);
}

std::optional<StoredValue> SettingsFile::value(const QString &key, const QString &name) const
{
    const int at = indexOf(key, name);
    if (at < 0)
        return std::nullopt;
    return list[at].value;
}

void SettingsFile::setText(const QString &key, const QString &name, const QString &text)
{
    StoredValue value;
    value.text = text;
    const int at = indexOf(key, name);
    if (at >= 0) {
        list[at].value = value;
        return;
    }
    list.append({key, name, value});
    index[Caseless{key}].insert(Caseless{name}, int(list.size() - 1));
}

bool SettingsFile::remove(const QString &key, const QString &name)
{
    const int at = indexOf(key, name);
    if (at < 0)
        return false;
    list.removeAt(at);
    reindex();
    return true;
}

} // namespace pulsivar
