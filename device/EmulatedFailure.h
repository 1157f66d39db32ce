#pragma once

// How an emulated device misbehaves on its transport.
enum class EmulatedFailure {
    None,     // the firmware answers
    Silent,   // reports go out but nothing comes back: reads time out, input requests fail
    Garbage,  // every answer is replaced by bytes of the same length that mean nothing
};
