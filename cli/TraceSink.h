#pragma once

#include <QString>

#include <functional>

// Where the tracing transport writes its lines.
using TraceSink = std::function<void(const QString &line)>;
