#pragma once
// The line under a dialog's fields that says what is wrong with them (the Host and Join
// dialogs). Plain text, since it may quote what the user typed or a name from the network.

#include <QLabel>

namespace bg {

inline QLabel* dialogMessage(QWidget* parent) {
    auto* message = new QLabel(parent);
    message->setObjectName("label_message");
    // Read by its text, which says what went wrong; the description says what it is.
    message->setAccessibleDescription("Message");
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setStyleSheet("color: #a00000;");
    return message;
}

} // namespace bg
