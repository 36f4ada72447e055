#pragma once

#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;

/** The jam section right of the tab section: it holds the rhythm machine's
    panel and the recorders' panels, one under the other, as the engine's jam
    list has them. Until those panels exist the section shows the empty rack of
    the background. Message thread only. */
class SectionJam : public OxSection
{
public:
    explicit SectionJam (ControllerLink& controller);

    /** Rebuilds the panels from the engine's jam list (once the panels exist), then repaints. */
    void updateSection() override;

    /** Live drawing: the panels follow the transport (play positions, meters). It
        is stopped while the main component is busy, where the panels are drawn in
        their resting state. */
    void setLiveDrawing (bool shouldDraw);
    bool isLiveDrawing() const noexcept { return liveDrawing; }

    /** Shows or hides the drummer and bassist of the rhythm panel. */
    void setPlayersShown (bool shouldShow);
    bool arePlayersShown() const noexcept { return playersShown; }

    /** The rhythm panel takes its rhythm machine item out of the jam, closing
        the players with it (the controller asks this when the program quits).
        There is nothing to take out until the rhythm panel exists. */
    void removeRhythmItem();

    /** A recorder reached its punch-out point: its panel finishes the take.
        Handled by the recorder panels once they exist. */
    void recorderPunchedOut (void* recorderItem);

private:
    ControllerLink& controller;
    bool liveDrawing = true;
    bool playersShown = true;

    JUCE_DECLARE_NON_COPYABLE (SectionJam)
};

} // namespace T730
