#pragma once

#include "rhythm/Song.h"
#include "search/SearchLists.h"

namespace T730
{

class ControllerLink;
class PlayState;
class SongManager;
class TransparentComp;

/** What a click catcher tells its listener, in this order, when it is clicked. */
class TransparentCompListener
{
public:
    virtual ~TransparentCompListener() = default;
    virtual void overlayClicked (TransparentComp& catcher) = 0;
    virtual void overlayMouseUp (const juce::MouseEvent& event) = 0;
};

/** An invisible component over another one (as its topmost child, as large
    as it) that catches one click: on mouse-up it tells its listener, then
    leaves and is deleted from the message loop (never inside its own mouse
    handler). Message thread only. */
class TransparentComp : public juce::Component, private juce::ComponentListener
{
public:
    /** Made with new; it deletes itself after its click or after dismiss. */
    TransparentComp (juce::Component& covered, TransparentCompListener* listener);
    ~TransparentComp() override;

    /** Hidden, out of its parent, and deleted from the message loop (once). */
    void dismiss();
    /** From now on nothing is told (its listener is going). */
    void detachListener() noexcept { listener = nullptr; }

    void mouseUp (const juce::MouseEvent& event) override;

private:
    void componentMovedOrResized (juce::Component& component, bool moved, bool resized) override;

    juce::Component::SafePointer<juce::Component> covered;
    TransparentCompListener* listener;   // not owned
    bool dismissed = false;
};

/** A rhythm result: number, tempo, name and the play spot (the stop picture
    and a running light while its song is previewed). */
class SS_RhythmListItem : public SS_VScrollingUIItem
{
public:
    struct Pictures
    {
        juce::Image numberFrame, tempoMark, play, stop, animation[3];
    };

    SS_RhythmListItem (int row, int column, const Pictures& pictures);

    /** The song shown (a copy the list owns; null: nothing shown). */
    void setSong (const Song* newSong) noexcept { song = newSong; repaint(); }
    const Song* getSong() const noexcept { return song; }

    /** 0 idle, 1 previewing; the animation frame 0..2. */
    void setPreviewState (int state, int frame);
    int getPreviewState() const noexcept { return previewState; }
    int getAnimationFrame() const noexcept { return animationFrame; }

    void paint (juce::Graphics& g) override;

    /** The play spot in cell coordinates. */
    static juce::Rectangle<int> playSpot() { return { 76, 1, 18, 19 }; }
    static constexpr int width = 99, height = 32, nameWidth = 70;

private:
    const Pictures& pictures;
    const Song* song = nullptr;   // owned by the list
    int previewState = 0, animationFrame = 0;
};

/** The rhythm results: copies of every song of the catalogue (keywords,
    tooltip, name, tempo and file), scored by the word grid's searches. A press
    on a result's play spot previews its song through the preview rhythm
    machine; while it plays a click catcher over the main component turns the
    next click anywhere into a stop (a click on another rhythm result also
    acts there). A double click (or the page's load button) loads a song into
    the jam's rhythm machine. Message thread only. */
class SS_RhythmList : public SS_VScrollingUI,
                      public SS_ListListener,
                      public TransparentCompListener
{
public:
    explicit SS_RhythmList (ControllerLink* controller);
    ~SS_RhythmList() override;

    /** Copies the catalogue's songs (none without one); stops a preview first. */
    void fill (const SongManager* songs, bool firstFill);

    void search (const juce::String& freeText, const juce::StringArray& selectedWords) override;

    /** A press at a point of the list, as a mouse press makes it. */
    void pressAt (juce::Point<int> position);
    /** Stops a running preview (nothing when none runs). */
    void stopPreview();
    /** Loads the highlighted song (the load button). */
    void loadHighlighted();

    int getPreviewedRow() const noexcept { return previewedRow; }
    bool isPreviewing() const noexcept { return previewedRow >= 0; }
    bool isAnimating() const noexcept { return animation.isTimerRunning(); }
    TransparentComp* getCatcher() const noexcept { return catcher.getComponent(); }

    /** The transport a press on the play spot checks (null: the shared one). */
    void setTransport (PlayState* newTransport) noexcept { transport = newTransport; }

    int getNumTargets() const override { return (int) targets.size(); }
    SearchTarget* getTarget (int index) override;
    const Song* getSongTarget (int index) const;
    SS_RhythmListItem* getRhythmCell (int row) const { return dynamic_cast<SS_RhythmListItem*> (cellOfRow (row)); }

    void overlayClicked (TransparentComp& catcher) override;
    void overlayMouseUp (const juce::MouseEvent& event) override;

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDoubleClick (const juce::MouseEvent& event) override;
    void mouseMove (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;

    static constexpr int columnWidth = 99, rowHeight = 32, animationMs = 333;

protected:
    std::unique_ptr<ModalEditLabel> createCell (int row, int column) override;
    void assignCell (SS_VScrollingUIItem& cell, int row) override;

private:
    /** The table is a timer of its own already (for its drags): the running light has its own. */
    struct Animation : public juce::Timer
    {
        explicit Animation (SS_RhythmList& l) : list (l) {}
        void timerCallback() override { list.animationTick(); }
        SS_RhythmList& list;
    };

    void animationTick();
    void loadSong (const Song& song);
    void dismissCatcher();
    juce::Component* mainComponent();
    PlayState& getTransport();

    ControllerLink* controller;   // not owned; may be null
    std::vector<Song> targets;
    SS_RhythmListItem::Pictures pictures;
    int previewedRow = -1, previouslyPreviewedRow = -1;
    int animationFrame = 0;
    juce::Component::SafePointer<TransparentComp> catcher;
    PlayState* transport = nullptr;   // not owned
    Animation animation { *this };
};

} // namespace T730
