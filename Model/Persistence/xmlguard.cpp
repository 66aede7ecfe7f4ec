#include "Model/Persistence/xmlguard.h"

#include <QXmlStreamReader>

#include <cstring>

namespace Model {
namespace Persistence {

namespace {

// Inserted into long texts so that the reader hands them over in pieces.
const char textBreak[] = "<!---->";
// Bytes read from the source at a time.
const qint64 pieceBytes = 1 << 16;
// A text longer than this is broken; the reader's strings hold at most 2^30 characters.
const qint64 maxTextRun = 1 << 20;
// Anything longer than this in one piece (a text that cannot be broken, a tag, a comment) is
// refused before the reader builds a string of it.
const qint64 maxRun = qint64(1) << 26;

const char declarationRefused[] =
    "it declares a document type or entities, which no file of this program holds";

} // namespace

XmlGuard::XmlGuard(QIODevice &source)
    : source(source), state(Text), quote(0), attributes(0), previous{0, 0}, run(0), wide(false)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 XmlGuard::readData(char *data, qint64 maxSize)
{
    if (!reason.isEmpty())
        return -1;
    // Room for one break in the text (see scan); small pieces keep it to one per piece.
    const qint64 room = sizeof(textBreak) - 1;
    const bool canBreak = maxSize > room;
    const qint64 n = source.read(data, qMin(canBreak ? maxSize - room : maxSize, pieceBytes));
    if (n <= 0)
        return n;
    qint64 size = n;
    return scan(data, size, canBreak) ? size : -1;
}

bool XmlGuard::scan(char *data, qint64 &size, bool canBreak)
{
    char *p = data;
    char *end = data + size;
    bool broken = !canBreak;
    while (p < end) {
        if (state == Text) {
            // The bulk of a document is text: skip it at memchr speed.
            void *lt = std::memchr(p, '<', size_t(end - p));
            char *stop = lt ? static_cast<char *>(lt) : end;
            if (run + (stop - p) >= maxTextRun && !broken && !wide) {
                // Qt hands a text over as one string, whatever its length: break a long one
                // with an empty comment after a blank (never inside a number or a reference).
                char *blank = p + qMax<qint64>(0, maxTextRun - run);
                while (blank < stop && *blank != ' ' && *blank != '\n')
                    ++blank;
                if (blank < stop) {
                    const qint64 insert = sizeof(textBreak) - 1;
                    std::memmove(blank + 1 + insert, blank + 1, size_t(end - blank - 1));
                    std::memcpy(blank + 1, textBreak, size_t(insert));
                    end += insert;
                    size += insert;
                    stop += insert;
                    p = blank + 1 + insert;
                    run = 0;
                    broken = true;
                    continue;
                }
            }
            run += stop - p;
            if (run > maxRun)
                return refuse(QStringLiteral("it holds a text too long to read"));
            if (!lt)
                return true;
            p = stop + 1;
            state = Open;
            run = 0;
            continue;
        }
        if (++run > maxRun)
            return refuse(QStringLiteral("it holds a tag, comment or section too long to read"));
        const char c = *p++;
        if (c == 0) {
            wide = true; // UTF-16 and UTF-32 files: the markup bytes are the same
            continue;
        }
        switch (state) {
        case Text:
            break;
        case Open:
            if (c == '!') {
                state = Bang;
            } else if (c == '?') {
                state = Instruction;
                previous[0] = previous[1] = 0;
            } else if (c == '/') {
                state = OtherTag;
            } else {
                state = StartTag;
                quote = 0;
                attributes = 0;
            }
            break;
        case Bang:
            // Comments and CDATA sections are all that may follow "<!" in our files.
            if (c == '-') {
                state = Comment;
            } else if (c == '[') {
                state = CData;
            } else {
                return refuse(QString::fromLatin1(declarationRefused));
            }
            previous[0] = previous[1] = 0;
            break;
        case StartTag:
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '=') {
                if (++attributes > maxAttributes) {
                    reason =
                        QStringLiteral("an element has more than %1 attributes").arg(maxAttributes);
                    return false;
                }
            } else if (c == '>') {
                state = Text;
                run = 0;
            }
            break;
        case OtherTag:
            if (c == '>') {
                state = Text;
                run = 0;
            }
            break;
        case Comment:
        case CData:
        case Instruction: {
            const bool closes =
                c == '>' && ((state == Comment && previous[0] == '-' && previous[1] == '-') ||
                             (state == CData && previous[0] == ']' && previous[1] == ']') ||
                             (state == Instruction && previous[1] == '?'));
            previous[0] = previous[1];
            previous[1] = c;
            if (closes) {
                state = Text;
                run = 0;
            }
            break;
        }
        }
    }
    return true;
}

bool XmlGuard::refuse(const QString &why)
{
    reason = why;
    return false;
}

bool XmlGuard::readToRoot(QXmlStreamReader &reader, QString *error)
{
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.tokenType() == QXmlStreamReader::DTD) {
            // The byte check misses a declaration only in an encoding it cannot see through.
            reason = QString::fromLatin1(declarationRefused);
            if (error)
                *error = reason;
            return false;
        }
        if (reader.isStartElement())
            return true;
    }
    if (error)
        *error = errorString(reader);
    return false;
}

QString XmlGuard::errorString(const QXmlStreamReader &reader) const
{
    if (!reason.isEmpty())
        return reason;
    return reader.hasError() ? reader.errorString() : QStringLiteral("it holds no element");
}

} // namespace Persistence
} // namespace Model
