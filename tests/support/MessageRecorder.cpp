// SPDX-License-Identifier: GPL-2.0-or-later
#include "MessageRecorder.h"

namespace pulsivar::test {

MessageRecorder::MessageRecorder()
{
    setMessageAnswerer([this](const MessageRequest &request) {
        requests.append(request);
        if (!answers.isEmpty())
            return answers.dequeue();
        if (request.defaultButton != QMessageBox::NoButton)
            return request.defaultButton;
        if (request.buttons.testFlag(QMessageBox::Ok))
            return QMessageBox::Ok;
        for (int bit = 0; bit < 32; ++bit) {
            const auto button = QMessageBox::StandardButton(1u << bit);
            if (request.buttons.testFlag(button))
                return button;
        }
        return QMessageBox::NoButton;
    });
}

MessageRecorder::~MessageRecorder()
{
    setMessageAnswerer({});
}

} // namespace pulsivar::test
