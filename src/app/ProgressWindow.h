#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** What a worker offers to the progress window. Called on the message thread
    while the worker's own thread runs. */
class ProgressWindowListener
{
public:
    /** Called on every tick: moves the displayed progress on and returns it (0..1). */
    virtual float advance() = 0;

    /** The dialog was closed (not at start-up): the worker stops its thread. */
    virtual void cancel() = 0;

    /** True once the worker has finished. */
    virtual bool isDone() = 0;

protected:
    ~ProgressWindowListener() = default;
};

/** The content of the modal progress dialog: a background with an animated bar
    that polls its listener every 40 ms and closes the dialog once the listener
    is done. Message thread only. */
class ProgressWindow : public juce::Component, public juce::Timer
{
public:
    /** The three pictures: background (gives the window's size), bar texture and bar overlay. */
    struct Pictures
    {
        juce::Image background, texture, overlay;
    };

    /** The program's own progress pictures. */
    static Pictures getProgramPictures();

    /** Starts the 40 ms timer. The listener is not owned and must outlive the window. */
    explicit ProgressWindow (ProgressWindowListener* listener, Pictures pictures = getProgramPictures());
    ~ProgressWindow() override;

    void paint (juce::Graphics& g) override;
    void timerCallback() override;

    float getProgress() const noexcept { return progress; }

    /** Where the bar is drawn inside the window. */
    static constexpr int barX = 28, barY = 24;
    static constexpr int tickMs = 40;

    /** One piece of the bar: texture columns from sourceX, width columns, drawn at barX + destOffset. */
    struct Span
    {
        int sourceX, destOffset, width;
    };

    /** The texture pieces for a bar of `filled` columns out of `width` at animation `phase`:
        up to two texture spans, then the overlay span. */
    static juce::Array<Span> layoutBar (int width, int filled, int phase);

private:
    ProgressWindowListener* listener; // not owned
    float progress = 0.0f;
    Pictures pictures;

    JUCE_DECLARE_NON_COPYABLE (ProgressWindow)
};

/** Runs a progress window modally for the listener. At start-up the dialog is
    titled "Initializing OXA Tools..."; otherwise "Processing...", centred over
    the parent, and the listener's cancel is called when the dialog returns. */
void runProgress (ProgressWindowListener* listener, juce::Component* parent, bool atStartup);

} // namespace T730
