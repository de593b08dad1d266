#pragma once
// The text form of one settings root: [key path] sections of "name"="text" values, read tolerantly.
#include <QByteArray>
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
    // Lines that do not parse are skipped, so a garbled file yields what little it holds.
    static SettingsFile parse(const QByteArray &content);
    QByteArray serialize() const;

    std::optional<StoredValue> value(const QString &key, const QString &name) const;
    void setText(const QString &key, const QString &name, const QString &text);
    bool remove(const QString &key, const QString &name);
    const QList<SettingsEntry> &entries() const { return list; }

private:
    int indexOf(const QString &key, const QString &name) const;
    QList<SettingsEntry> list;
};

} // namespace pulsivar
