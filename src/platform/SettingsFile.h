// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The text form of one settings root: [key path] sections of "name"="text" values, read tolerantly.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace pulsivar {

struct StoredValue {
    enum class Type { Text, Number, Other };
    Type type = Type::Text;
    QString text;        // Text: the stored text
    int32_t number = 0;  // Number: the stored 32-bit value
};

struct SettingsEntry {
    QString key;   // e.g. SOFTWARE\Verrowind\Pulsivar
    QString name;  // the value's name
    StoredValue value;
};

// All values of one root, in file order. Key and value names compare without regard to case,
// as registry names do.
class SettingsFile {
public:
    // UTF-8 or UTF-16, with or without a byte-order mark, lines ended by CR LF, LF or CR. Lines
    // that do not parse are skipped, so a garbled file yields what little it holds.
    static SettingsFile parse(const QByteArray &content);
    QByteArray serialize() const;

    // The first line that is neither blank, a comment, a [key] nor a value of one; 0 when none.
    // A file with such a line was not written by us as it stands, so it is never written over.
    int firstUnreadLine() const { return unreadLine; }
    bool hasKeys() const { return keysSeen; }

    std::optional<StoredValue> value(const QString &key, const QString &name) const;
    void setText(const QString &key, const QString &name, const QString &text);
    bool remove(const QString &key, const QString &name);
    const QList<SettingsEntry> &entries() const { return list; }

private:
    // A name as a hash key that ignores case, sharing the entry's string rather than copying it.
    struct Caseless {
        QString text;
        bool operator==(const Caseless &other) const { return text.compare(other.text, Qt::CaseInsensitive) == 0; }
    };
    friend size_t qHash(const Caseless &name, size_t seed);

    int indexOf(const QString &key, const QString &name) const;
    void reindex();

    QList<SettingsEntry> list;
    // Each key's value names, and the position of each value in the list.
    QHash<Caseless, QHash<Caseless, int>> index;
    int unreadLine = 0;
    bool keysSeen = false;
};

} // namespace pulsivar
