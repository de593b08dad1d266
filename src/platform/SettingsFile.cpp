#include "platform/SettingsFile.h"

#include <QStringList>

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
std::optional<QString> readQuoted(const QString &line, qsizetype &pos)
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

std::optional<StoredValue> readValue(const QString &rest)
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
        value.text = rest.mid(4);
        return value;
    }
    return std::nullopt;
}

} // namespace

SettingsFile SettingsFile::parse(const QByteArray &content)
{
    SettingsFile file;
    QString key;
    bool inKey = false;
    const QStringList lines = QString::fromUtf8(content).split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']') && line.size() > 2) {
            key = line.mid(1, line.size() - 2);
            inKey = true;
            continue;
        }
        if (!inKey)
            continue;
        qsizetype pos = 0;
        const auto name = readQuoted(line, pos);
        if (!name || name->isEmpty() || pos >= line.size() || line[pos] != u'=')
            continue;
        const auto value = readValue(line.mid(pos + 1));
        if (!value)
            continue;
        const int existing = file.indexOf(key, *name);
        if (existing >= 0)
            file.list[existing].value = *value;
        else
            file.list.append({key, *name, *value});
    }
    return file;
}

QByteArray SettingsFile::serialize() const
{
    QString out = QStringLiteral("; Pulsivar settings: one [key] a section, \"name\"=\"text\" a value.\n");
    QStringList keys;
    for (const auto &entry : list) {
        if (!keys.contains(entry.key, Qt::CaseInsensitive))
            keys.append(entry.key);
    }
    for (const auto &key : keys) {
        out += QStringLiteral("\n[%1]\n").arg(key);
        for (const auto &entry : list) {
            if (entry.key.compare(key, Qt::CaseInsensitive) != 0)
                continue;
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

int SettingsFile::indexOf(const QString &key, const QString &name) const
{
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].key.compare(key, Qt::CaseInsensitive) == 0
            && list[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<StoredValue> SettingsFile::value(const QString &key, const QString &name) const
{
    const int index = indexOf(key, name);
    if (index < 0)
        return std::nullopt;
    return list[index].value;
}

void SettingsFile::setText(const QString &key, const QString &name, const QString &text)
{
    StoredValue value;
    value.text = text;
    const int index = indexOf(key, name);
    if (index >= 0)
        list[index].value = value;
    else
        list.append({key, name, value});
}

bool SettingsFile::remove(const QString &key, const QString &name)
{
    const int index = indexOf(key, name);
    if (index < 0)
        return false;
    list.removeAt(index);
    return true;
}

} // namespace pulsivar
