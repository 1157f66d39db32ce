#pragma once

// A value of one parameter, by key: the emulated devices' start-up state.
struct ParameterValue
{
    const char *key;
    int value;
};
