#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace T730
{

class ABPoints;

/** What a range bar tells its owner. */
class ABPointsListener
{
public:
    virtual ~ABPointsListener() = default;

    /** A point moved through the mouse or the arrow keys. */
    virtual void abPointsChanged (ABPoints& bar) = 0;

    /** The text shown while a point is moved (nothing is shown while it is empty). */
    virtual void abPointsTextRequested (ABPoints& bar, juce::String& text) = 0;
};

/** A range bar: a start and an end point over 0..maximum, each with a handle;
    the span between the handles is painted in the kind's colour with its
    letters in the middle.

    A press within 18 pixels right of the start handle's left edge grabs the
    start, within 18 pixels left of the end handle's right edge the end (the
    nearer one when both qualify). Dragging sets the point to
    (x - 9) × maximum / (width - 18), clamped; with Shift held it moves one
    step per f pixels (f as for SliderEx); it snaps to the beat while snapping
    is on; the start never passes the end nor the end the start. The left and
    right arrow keys move the point grabbed last by 0.01 × the sample rate.
    Every change is told to the listener and shown in the tooltip window.
    Positions are 64-bit. Message thread only. */
class ABPoints : public juce::Component
{
public:
    enum Grab
    {
        grabNone = 0,
        grabStart = 1,
        grabEnd = 2
    };

    static constexpr juce::int64 defaultMaximum = 4095;
    static constexpr int grabReach = 18;

    ABPoints (juce::Colour spanColour, int maxLetters);
    ~ABPoints() override;

    void setListener (ABPointsListener* newListener) noexcept { listener = newListener; }

    void setMaximum (juce::int64 newMaximum);
    juce::int64 getMaximum() const noexcept  { return maximum; }

    /** Sets both points (held inside 0..maximum, start not after end) without telling the listener. */
    void setPoints (juce::int64 start, juce::int64 end);
    juce::int64 getStart() const noexcept    { return start; }
    juce::int64 getEnd() const noexcept      { return end; }

    /** While on, dragged points move to the start of their beat; the function gives the beat length. */
    void setSnapping (bool on) noexcept      { snapping = on; }
    bool isSnapping() const noexcept         { return snapping; }
    void setBeatLength (std::function<juce::int64()> beatInSamples) { beatLength = std::move (beatInSamples); }

    /** The rate the arrow keys step by (0.01 of it; 44100 when it gives 0 or is not set). */
    void setSampleRate (std::function<double()> rate) { sampleRate = std::move (rate); }

    /** The pictures: the handles at the points and the letters shown in the span. */
    void setImages (const juce::Image& startHandle, const juce::Image& endHandle, std::vector<juce::Image> letters);

    juce::Colour getSpanColour() const noexcept { return colour; }

    // The bar's geometry (for tests and painting) ------------------------------
    int getHandleWidth() const noexcept;
    /** The handle's left edge for a point, before it is kept inside the bar. */
    int handleXFor (juce::int64 point) const noexcept;
    int getStartHandleX() const noexcept;
    int getEndHandleX() const noexcept;
    /** The point a drag to x gives (clamped, before snapping and ordering). */
    juce::int64 pointAtX (int x) const noexcept;
    /** How many letters fit the span between the handles. */
    int getLetterCount() const noexcept;

    /** The point grabbed now and the one grabbed last (the arrow keys move that one). */
    Grab getGrabbed() const noexcept         { return grabbed; }
    Grab getLastGrabbed() const noexcept     { return lastGrabbed; }
    bool isGrabbed() const noexcept          { return grabbed != grabNone; }

    /** Which point a press at x would grab. */
    Grab grabAt (int x) const noexcept;

    /** Moves a point as a drag to the value would: snapped while snapping is
        on, held in order, told to the listener; it becomes the point the arrow
        keys move. True when it moved. */
    bool dragPointTo (Grab which, juce::int64 value);

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key) override;

private:
    /** Moves the point to the value (snapped when asked, clamped, ordered); true when it changed. */
    bool movePoint (Grab which, juce::int64 value, bool snap);
    void showText (juce::Point<int> screenPosition);
    void hideText();

    ABPointsListener* listener = nullptr;
    const juce::Colour colour;
    const int maxLetters;
    juce::int64 maximum = defaultMaximum, start = 0, end = defaultMaximum;
    bool snapping = false;
    std::function<juce::int64()> beatLength;
    std::function<double()> sampleRate;
    juce::Image startHandle, endHandle;
    std::vector<juce::Image> letters;

    Grab grabbed = grabNone, lastGrabbed = grabNone;
    bool fine = false, tipShown = false;
    int anchorX = 0;
    juce::int64 anchorValue = 0;

    JUCE_DECLARE_NON_COPYABLE (ABPoints)
};

/** The punch-in/out range bar: blue, up to three letters. */
class ABPointsPIO : public ABPoints
{
public:
    ABPointsPIO();
    static inline const juce::Colour spanColour { 7, 50, 105 };
};

/** The loop range bar: teal, its one letter picture. */
class ABPointsLoop : public ABPoints
{
public:
    ABPointsLoop();
    static inline const juce::Colour spanColour { 7, 89, 95 };
};

} // namespace T730
