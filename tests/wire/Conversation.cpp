#include "Conversation.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace morvex::test {

QByteArray testBlob(qsizetype offset, qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char(((offset + i) * 31 + 7) % 256);
    return out;
}

QString conversationDir()
{
    return QStringLiteral(MORVEX_TEST_DATA_DIR) + u"/conversations"_s;
}

QByteArray Conversation::parseBytes(const QString &tokens)
{
    QByteArray out;
    qsizetype i = 0;
    const qsizetype n = tokens.size();
    while (i < n) {
        const QChar c = tokens[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'\'') {
            const qsizetype end = tokens.indexOf(u'\'', i + 1);
            if (end < 0)
                throw std::runtime_error("unterminated quote in conversation");
            out += tokens.mid(i + 1, end - i - 1).toLatin1();
            i = end + 1;
        } else if (c == u'{') {
            const qsizetype end = tokens.indexOf(u'}', i);
            const QStringList parts = tokens.mid(i + 1, end - i - 1).split(u' ', Qt::SkipEmptyParts);
            if (end < 0 || parts.size() != 3 || parts[0] != u"blob")
                throw std::runtime_error("bad blob token in conversation");
            out += testBlob(parts[1].toLongLong(), parts[2].toLongLong());
            i = end + 1;
        } else {
            bool ok = false;
            const int byte = tokens.mid(i, 2).toInt(&ok, 16);
            if (!ok || i + 2 > n)
                throw std::runtime_error("bad hex byte in conversation: " + tokens.mid(i, 8).toStdString());
            out += char(byte);
            i += 2;
        }
    }
    return out;
}

Conversation Conversation::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot open " + path.toStdString());
    Conversation conv;
    conv.name = QFileInfo(path).completeBaseName();
    const QStringList lines = QString::fromLatin1(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        if (line.startsWith(u'@')) {
            const QStringList kv = line.mid(1).split(u' ', Qt::SkipEmptyParts);
            conv.options[kv.value(0)] = kv.value(1);
        } else if (line.startsWith(u"C>") || line.startsWith(u"S>")) {
            conv.steps.push_back({line.startsWith(u'C'), parseBytes(line.mid(2))});
        } else if (line.front().isSpace() && !conv.steps.empty()) {
            conv.steps.back().bytes += parseBytes(line);
        } else {
            throw std::runtime_error("bad conversation line: " + line.toStdString());
        }
    }
    return conv;
}

} // namespace morvex::test
