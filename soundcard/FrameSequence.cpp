#include "soundcard/FrameSequence.h"

quint16 FrameSequence::take()
{
    return m_next.fetch_add(1);
}

quint16 FrameSequence::peek() const
{
    return m_next.load();
}

FrameSequence &FrameSequence::processWide()
{
    static FrameSequence counter;
    return counter;
}
