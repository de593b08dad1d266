// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Answers every message box in a test and remembers what was asked.
#include "common/MessageBox.h"
#include <QList>
#include <QQueue>

namespace pulsivar::test {

class MessageRecorder {
public:
    // Installs itself as the answerer; unset again when destroyed.
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    // The next boxes get these answers in order; after that the default button, else OK, else the first.
    void queueAnswer(QMessageBox::StandardButton answer) { answers.enqueue(answer); }

    QList<MessageRequest> requests;
    QQueue<QMessageBox::StandardButton> answers;

    int count() const { return int(requests.size()); }
    const MessageRequest &last() const { return requests.last(); }
    void clear() { requests.clear(); }
};

} // namespace pulsivar::test
