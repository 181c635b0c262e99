#pragma once

#include <QString>

// The server's reply to the greeting: UTF-8 from the start of the buffer up
// to the first zero byte, and never past the `received` bytes of the one
// receive (a failed receive, -1 or less, leaves the reply empty).
QString replyText(const char *buffer, qint64 received);

// The version the reply carries: the text after its first "-" (every
// repetition of the head up to that "-" removed), or the whole reply.
QString serverVersion(const QString &reply);
