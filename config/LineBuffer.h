#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The plain content of an open protected file with a read/write position:
// lines are read from the position on and changed in place. Positions are
// byte offsets from the start of the content.
class LineBuffer
{
public:
    LineBuffer() = default;
    explicit LineBuffer(QByteArray content);

    const QByteArray &content() const;
    bool isModified() const;

    bool atEnd() const;
    // The bytes up to the next LF, without the LF and a CR just before it;
    // the position moves past the LF (or to the end of the content).
    QByteArray readLine();

    qsizetype position() const;
    // Clamped to the content.
    void setPosition(qsizetype position);
    void moveToEnd();

    // Removes count bytes from the position on (no more than there are).
    void deleteBytes(qsizetype count);
    // Inserts text and CR LF at the position, which then stands after them.
    void insertLine(QByteArrayView text);

    // True when the content's last line has no line break after it.
    bool lastLineOpen() const;

private:
    QByteArray m_content;
    qsizetype m_position = 0;
    bool m_modified = false;
};
