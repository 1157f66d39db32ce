#pragma once

// The one time base of recording and editing: the window records at this rate, the reader
// makes one column of this many frames, and the view draws this many columns per second.
// Recording at another rate would stretch the drawn waveform against the ruler and the cuts.
namespace RecordingFormat {

constexpr int sampleRate = 48000;
constexpr int columnsPerSecond = 25;
constexpr int framesPerColumn = sampleRate / columnsPerSecond; // 1920: 40 ms

} // namespace RecordingFormat
