#pragma once

#include <juce_core/juce_core.h>
#include <functional>

namespace T730
{

/** An error the user must see. Creating one writes its message to the log at
    once; show() opens the message box titled "OXA Tools". Subclasses only fix
    the message. Used on the stack (create, show, destroy) or thrown as a pointer
    and shown and deleted by the catching code. May be created on any thread;
    shown on the message thread only. */
class OxException
{
public:
    explicit OxException (const juce::String& message);
    virtual ~OxException() = default;

    const juce::String& getMessage() const noexcept { return message; }

    /** Opens the message box with the message and an OK button; returns when it is closed. */
    void show() const;

    /** Replaces the message box (tests). An empty function restores the
        program's error box. Returns the previous one. */
    using Presenter = std::function<void (const juce::String& title, const juce::String& message)>;
    static Presenter setPresenter (Presenter presenter);

private:
    juce::String message;
};

#define OXA_DECLARE_EXCEPTION(Name, Text)                                 \
    class Name : public OxException                                       \
    {                                                                     \
    public:                                                               \
        Name() : OxException (Text) {}                                    \
    };

OXA_DECLARE_EXCEPTION (OxExceptionInvalidProjData, "Toolset load error.")
OXA_DECLARE_EXCEPTION (OxExceptionAccessDenied, "File error.")
OXA_DECLARE_EXCEPTION (OxExceptionRecorderFileWrite, "Recorder file error.")
OXA_DECLARE_EXCEPTION (OxExceptionSongFileWrite, "Rhythm file error.")
OXA_DECLARE_EXCEPTION (OxExceptionProjectFolderNeeded, "No toolset.")
OXA_DECLARE_EXCEPTION (OxExceptionWavWrite, "Backup/Restore error.")
OXA_DECLARE_EXCEPTION (OxExceptionZipImpNoSong, "Rhythm import error.")
OXA_DECLARE_EXCEPTION (OxExceptionZipImpNoToolSet, "Toolset import error.")
OXA_DECLARE_EXCEPTION (OxExceptionPatchListWrite, "File error.")
OXA_DECLARE_EXCEPTION (OxExceptionWavImport, "WAV import error.")

#undef OXA_DECLARE_EXCEPTION

/** A failed device backup or restore: the fixed text followed by the worker's
    detail (such as "\nTimeout at the identity request."). */
class OxExceptionBackupRestore : public OxException
{
public:
    explicit OxExceptionBackupRestore (const juce::String& detail)
        : OxException ("Error occurred during backup/restore process." + detail) {}
};

} // namespace T730
