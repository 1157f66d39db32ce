#pragma once

#include <QtGlobal>

#include <atomic>

// The frame sequence counter: each command frame carries the current value, then the counter
// moves on by one, wrapping from 65535 to 0. The program uses one counter for the whole process
// (both models, every device that comes and goes); it is never reset. The device session's
// thread and vorletctl's take numbers from it, so taking one is atomic.
class FrameSequence
{
public:
    // The value for the next frame; advances the counter.
    quint16 take();
    // The value the next frame will carry; does not advance.
    quint16 peek() const;

    static FrameSequence &processWide();

private:
    std::atomic<quint16> m_next{0};
};
