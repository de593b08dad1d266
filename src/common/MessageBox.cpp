// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/MessageBox.h"

#include <QApplication>
#include <QStringList>

namespace pulsivar {

namespace {
// Enough for every message of the program; a box this size fits a small screen with its buttons.
constexpr qsizetype maxLines = 20;
constexpr qsizetype maxLineChars = 200;
constexpr qsizetype maxChars = 1000;
// The end of a text usually holds its question, so it is kept when the middle must go.
constexpr qsizetype keptLastLines = 4;
constexpr qsizetype maxTitleChars = 120;
const QString ellipsis = QStringLiteral("\u2026");

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) || c == QChar::LineSeparator
           || c == QChar::ParagraphSeparator;
}

QString elided(const QString &line, qsizetype limit)
{
    if (line.size() <= limit)
        return line;
    const qsizetype head = (limit - 1) * 2 / 3;
    return line.left(head) + ellipsis + line.right(limit - 1 - head);
}

qsizetype characters(const QStringList &lines)
{
    qsizetype count = 0;
    for (const QString &line : lines)
        count += line.size() + 1;
    return count;
}

// Texts may carry what came from a file or the network. Every kind of line break counts, runs of
// empty lines become one, other control characters go, long lines lose their middle, and a text
// with too many lines or characters loses the lines before its last ones.
QString bounded(const QString &text)
{
    QStringList lines{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (isLineBreak(c)) {
            if (!(lines.last().isEmpty() && lines.size() > 1 && lines[lines.size() - 2].isEmpty()))
                lines.append(QString());
        } else if (c.category() != QChar::Other_Control || c == u'\t') {
            lines.last() += c;
        }
    }
    if (lines.size() > 1 && lines.last().isEmpty() && lines[lines.size() - 2].isEmpty())
        lines.removeLast();
    for (QString &line : lines)
        line = elided(line, maxLineChars);
    if (lines.size() > maxLines || characters(lines) > maxChars) {
        const QStringList last = lines.mid(lines.size() - keptLastLines);
        QStringList first = lines.mid(0, lines.size() - keptLastLines);
        while (!first.isEmpty()
               && (first.size() + 1 + last.size() > maxLines || characters(first) + 2 + characters(last) > maxChars))
            first.removeLast();
        lines = first + QStringList{ellipsis} + last;
    }
    return lines.join(u'\n');
}

QString boundedTitle(QString title)
{
    for (QChar &c : title) {
        if (isLineBreak(c) || c.category() == QChar::Other_Control)
            c = u' ';
    }
    return elided(title, maxTitleChars);
}

MessageAnswerer &answererSlot()
{
    static MessageAnswerer answerer;
    return answerer;
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QMessageBox::StandardButton showMessage(const QString &title, const QString &text, MessageIcon icon,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton, QWidget *parent)
{
    const MessageRequest request{boundedTitle(title), bounded(text), icon, buttons, defaultButton};
    if (answererSlot())
        return answererSlot()(request);

    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(qtIcon(icon), request.title, request.text, buttons, parent);
    // Plain text: a tag in a text from outside must not change how the box looks.
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("messageBox"));
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // An hourglass set by the caller must not hide the pointer over the box.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (busy)
        QApplication::restoreOverrideCursor();
    return answer;
}

void setMessageAnswerer(MessageAnswerer answerer)
{
    answererSlot() = std::move(answerer);
}

} // namespace pulsivar
