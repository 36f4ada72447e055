#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** Told which kind of item the user asked the adder for. */
class JamItemAdderListener
{
public:
    virtual ~JamItemAdderListener() = default;

    /** kind 0: a rhythm machine, 1: a recorder. */
    virtual void addJamItem (int kind) = 0;
};

/** The picture under the jam's panels with which the user adds an item. With
    two choices (the jam has no rhythm machine) its left part adds a rhythm
    machine and its right part a recorder, with a small dead gap between; with
    one choice every click adds a recorder. Its size is its picture's. */
class JamItemAdder : public juce::Component, public juce::SettableTooltipClient
{
public:
    JamItemAdder();

    void setListener (JamItemAdderListener* newListener) noexcept { listener = newListener; }

    /** 1: two choices, 0: one (a recorder). */
    void setChoiceMode (int mode);
    int getChoiceMode() const noexcept      { return choiceMode; }

    int getYOffset() const noexcept         { return yOffset; }
    void setYOffset (int y) noexcept        { yOffset = y; }

    /** The kind a click at x asks for, or -1 for none (the gap of the two-choice picture). */
    int kindAt (int x) const noexcept;

    void paint (juce::Graphics& g) override;
    void mouseUp (const juce::MouseEvent& event) override;

private:
    juce::Image singleImage, doubleImage;
    int choiceMode = 1;
    JamItemAdderListener* listener = nullptr;
    int yOffset = 0;

    JUCE_DECLARE_NON_COPYABLE (JamItemAdder)
};

} // namespace T730
