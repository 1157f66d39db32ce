#pragma once

// One parameter of a model's input report: its key in the parameter map and its byte offset
// in the report buffer (report id at offset 0).
struct ParameterByte
{
    const char *key;
    int offset;
};
