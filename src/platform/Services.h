#pragma once

namespace mirvo {

class Dialogs;
class PageLoader;
class ProgramEnd;
class RandomSource;
class SettingsStore;
class Shell;
class Speech;
class SystemInfoTool;

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
    SystemInfoTool &systemInfo;
    Speech &speech;
};

} // namespace mirvo
