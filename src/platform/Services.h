#pragma once

namespace mirvo {

class Dialogs;
class PageLoader;
class ProgramEnd;
class RandomSource;
class Registry;
class SettingsStore;
class Shell;
class Speech;

/// The platform services the windows and handlers use, passed by reference so that
/// tests can drive the real windows with fakes.
struct Services
{
    Dialogs &dialogs;
    Shell &shell;
    SettingsStore &settings;
    RandomSource &random;
    ProgramEnd &programEnd;
    PageLoader &pageLoader;
    Registry &registry;
    Speech &speech;
};

} // namespace mirvo
