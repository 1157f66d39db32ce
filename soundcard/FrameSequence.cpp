#include "soundcard/FrameSequence.h"

quint16 FrameSequence::take()
{
    return m_next++;
}

quint16 FrameSequence::peek() const
{
    return m_next;
}

FrameSequence &FrameSequence::processWide()
{
    static FrameSequence counter;
    return counter;
}
