#pragma once

// The machine's registry: the real one on Windows, a stand-in elsewhere. CMake builds only
// the chosen platform's file.
#ifdef Q_OS_WIN
#include "platform/WindowsRegistry.h"
namespace mirvo { using SystemRegistry = WindowsRegistry; }
#else
#include "platform/UnixRegistry.h"
namespace mirvo { using SystemRegistry = UnixRegistry; }
#endif
