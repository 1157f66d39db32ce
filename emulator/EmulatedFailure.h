#pragma once

// How an emulated device misbehaves.
enum class EmulatedFailure {
    None,         // the firmware answers
    Silent,       // reports go out but nothing comes back: reads time out, input requests fail
    Garbage,      // every answer is replaced by bytes of the same length that mean nothing
    ShortReports, // the device declares reports shorter than its layouts need (vx01: 34 bytes
                  // instead of at least 35, vx02: 31 instead of 32) and moves only that many;
                  // seen by collections opened from then on
};
