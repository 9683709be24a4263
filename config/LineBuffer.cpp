#include "config/LineBuffer.h"

#include <algorithm>

LineBuffer::LineBuffer(QByteArray content)
    : m_content(std::move(content))
{
}

const QByteArray &LineBuffer::content() const
{
    return m_content;
}

bool LineBuffer::isModified() const
{
    return m_modified;
}

bool LineBuffer::atEnd() const
{
    return m_position >= m_content.size();
}

QByteArray LineBuffer::readLine()
{
    const qsizetype start = m_position;
    const qsizetype lineFeed = m_content.indexOf('\n', start);
    if (lineFeed < 0) {
        m_position = m_content.size();
        return m_content.sliced(start);
    }
    m_position = lineFeed + 1;
    const qsizetype end = (lineFeed > start && m_content[lineFeed - 1] == '\r') ? lineFeed - 1 : lineFeed;
    return m_content.sliced(start, end - start);
}

qsizetype LineBuffer::position() const
{
    return m_position;
}

void LineBuffer::setPosition(qsizetype position)
{
    m_position = std::clamp<qsizetype>(position, 0, m_content.size());
}

void LineBuffer::moveToEnd()
{
    m_position = m_content.size();
}

void LineBuffer::deleteBytes(qsizetype count)
{
    const qsizetype removed = std::clamp<qsizetype>(count, 0, m_content.size() - m_position);
    if (removed == 0)
        return;
    m_content.remove(m_position, removed);
    m_modified = true;
}

void LineBuffer::insertLine(QByteArrayView text)
{
    QByteArray line = text.toByteArray();
    line.append("\r\n");
    m_content.insert(m_position, line);
    m_position += line.size();
    m_modified = true;
}

bool LineBuffer::lastLineOpen() const
{
    return !m_content.isEmpty() && !m_content.endsWith('\n');
}
