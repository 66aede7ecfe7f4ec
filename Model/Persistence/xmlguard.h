#ifndef CELVANE_MODEL_PERSISTENCE_XMLGUARD_H
#define CELVANE_MODEL_PERSISTENCE_XMLGUARD_H

#include <QIODevice>
#include <QString>

class QXmlStreamReader;

namespace Model {
namespace Persistence {

/// Shields an XML reader from crafted files: sits between the file and QXmlStreamReader and
/// checks the bytes as they stream through, before the reader parses them. Our files never
/// declare a document type, so any declaration (the way in for entity expansion) ends the
/// input; so does a start tag with more attributes than any of our elements could carry,
/// because the reader checks attribute names against each other in quadratic time, and any
/// tag or comment too long for one of the reader's strings. A long text, which the reader
/// would hand over as one string, is broken into pieces by empty comments, so a reader that
/// takes text token by token never holds it whole. Every reader of our files (documents,
/// catalogues, process lists) reads through one.
class XmlGuard : public QIODevice
{
public:
    /// More attributes than any element of ours carries, far fewer than make Qt slow.
    static const int maxAttributes = 256;

    /// Reads from source, which must be open; the guard opens itself.
    explicit XmlGuard(QIODevice &source);

    /// Why the input was cut short; empty while it is sound.
    QString refusal() const { return reason; }

    /// Moves the reader to its first start element. False, with the reason, when there is
    /// none, when the guard refused the input or a document type declaration comes first.
    bool readToRoot(QXmlStreamReader &reader, QString *error = nullptr);
    /// Why a read through this guard stopped: the guard's refusal, else the reader's error.
    QString errorString(const QXmlStreamReader &reader) const;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    enum State
    {
        Text,        ///< character data, looking for '<'
        Open,        ///< just after '<'
        Bang,        ///< just after "<!"
        StartTag,    ///< inside a start tag
        OtherTag,    ///< inside an end tag, up to '>'
        Comment,     ///< up to "-->"
        CData,       ///< up to "]]>"
        Instruction, ///< up to "?>"
    };

    /// False, with the reason set, when the bytes must not reach the reader. When canBreak,
    /// may insert one break into a long text, growing size by the break's length.
    bool scan(char *data, qint64 &size, bool canBreak);
    bool refuse(const QString &why);

    QIODevice &source;
    QString reason;
    State state;
    char quote;       ///< the open quote of an attribute value, or 0
    int attributes;   ///< attributes seen in the current start tag
    char previous[2]; ///< the last two bytes, for the ends of comments, CDATA and instructions
    qint64 run;       ///< bytes of the current text (since its last break) or markup
    bool wide;        ///< zero bytes seen: UTF-16 or UTF-32, where no break can be inserted
};

} // namespace Persistence
} // namespace Model

#endif
