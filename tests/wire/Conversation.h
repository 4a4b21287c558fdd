#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace morvex::test {

// A recorded exchange after the handshake and connect: what the client sends ("C>") and what the
// server answers ("S>"), in order. File format, one step per line (an indented line continues
// the step above):
//   # comment
//   @buffer 1024            server option for this conversation
//   C> '{"method":...' C0 ']}'     quoted ASCII, hex pairs, {blob K N} = N test-blob bytes from K
struct Conversation
{
    struct Step
    {
        bool fromClient;
        QByteArray bytes;
    };
    QString name;
    std::map<QString, QString> options;
    std::vector<Step> steps;

    static Conversation load(const QString &path);
    // Parses one line's tokens into bytes.
    static QByteArray parseBytes(const QString &tokens);
};

// The test blob: byte i is (i * 31 + 7) mod 256.
QByteArray testBlob(qsizetype offset, qsizetype size);

QString conversationDir();

} // namespace morvex::test
