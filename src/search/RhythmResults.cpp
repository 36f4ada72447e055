#include "search/RhythmResults.h"

#include "app/ControllerRequest.h"
#include "art/ProgramArt.h"
#include "engine/Synchronizer.h"
#include "rhythm/SongManager.h"
#include "ui/ControllerLink.h"
#include "ui/OxFonts.h"
#include "ui/ToolTipEx.h"

namespace T730
{

//==============================================================================
TransparentComp::TransparentComp (juce::Component& c, TransparentCompListener* l) : covered (&c), listener (l)
{
    setBounds (c.getLocalBounds());
    setAlwaysOnTop (true);
    c.addAndMakeVisible (this);
    toFront (false);
    c.addComponentListener (this);
}

TransparentComp::~TransparentComp()
{
    if (covered != nullptr)
        covered->removeComponentListener (this);
}

void TransparentComp::componentMovedOrResized (juce::Component& component, bool, bool)
{
    setBounds (component.getLocalBounds());
}

void TransparentComp::dismiss()
{
    if (dismissed)
        return;
    dismissed = true;
    listener = nullptr;
    setVisible (false);
    if (auto* parent = getParentComponent())
        parent->removeChildComponent (this);

    juce::Component::SafePointer<TransparentComp> self (this);
    juce::MessageManager::callAsync ([self] { delete self.getComponent(); });
}

void TransparentComp::mouseUp (const juce::MouseEvent& event)
{
    // The listener may dismiss the catcher while it is told (which takes it
    // out of its parent): the event is taken to the covered component first,
    // and the listener told is the one there was when the click came.
    const auto relative = covered != nullptr ? event.getEventRelativeTo (covered.getComponent()) : event;
    juce::Component::SafePointer<TransparentComp> self (this);
    auto* told = listener;
    if (told != nullptr)
        told->overlayClicked (*this);
    // A listener deleted while told deletes the catcher too.
    if (self != nullptr && told != nullptr)
        told->overlayMouseUp (relative);
    if (self != nullptr)
        dismiss();
}

//==============================================================================
SS_RhythmListItem::SS_RhythmListItem (int row, int column, const Pictures& p)
    : SS_VScrollingUIItem (row, column), pictures (p)
{
}

void SS_RhythmListItem::setPreviewState (int state, int frame)
{
    if (state != previewState || frame != animationFrame)
    {
        previewState = state;
        animationFrame = frame;
        repaint();
    }
}

void SS_RhythmListItem::paint (juce::Graphics& g)
{
    if (song == nullptr)
        return;

    if (pictures.numberFrame.isValid())
        g.drawImageAt (pictures.numberFrame, 4, 1);
    if (pictures.tempoMark.isValid())
        g.drawImageAt (pictures.tempoMark, 47, 2);

    if (previewState == 0)
    {
        if (pictures.play.isValid())
            g.drawImageAt (pictures.play, 76, 1);
    }
    else
    {
        if (pictures.stop.isValid())
            g.drawImageAt (pictures.stop, 76, 1);
        const auto& frame = pictures.animation[juce::jlimit (0, 2, animationFrame)];
        if (frame.isValid())
            g.drawImageAt (frame, 76, 20);
    }

    g.setColour (getTextColour());
    g.setFont (arialFont (10.0f));
    g.drawSingleLineText (juce::String::formatted ("%03d", (int) song->resultPosition), 12, 10);
    g.drawSingleLineText (juce::String::formatted ("%3d", song->BPM), 58, 10);

    const auto font = nameFont();
    const auto name = shortened (song->SongName, font, nameWidth);
    if (isHighlighted())
    {
        g.setColour (getTextColour());
        g.fillRoundedRectangle (3.0f, 12.0f, 70.0f, 18.0f, 5.0f);
    }
    g.setColour (isHighlighted() ? getSelectedTextColour() : getTextColour());
    g.setFont (font);
    g.drawSingleLineText (name, 5, 28);
}

//==============================================================================
SS_RhythmList::SS_RhythmList (ControllerLink* c) : controller (c)
{
    using art::Picture;
    pictures.numberFrame = art::getImage (Picture::searchNumberFrame);
    pictures.tempoMark = art::getImage (Picture::searchTempoMark);
    pictures.play = art::getImage (Picture::searchPlay);
    pictures.stop = art::getImage (Picture::searchStop);
    pictures.animation[0] = art::getImage (Picture::searchPlaying1);
    pictures.animation[1] = art::getImage (Picture::searchPlaying2);
    pictures.animation[2] = art::getImage (Picture::searchPlaying3);
}

SS_RhythmList::~SS_RhythmList()
{
    animation.stopTimer();
    if (auto* c = catcher.getComponent())
    {
        c->detachListener();
        delete c;
    }
}

std::unique_ptr<ModalEditLabel> SS_RhythmList::createCell (int row, int column)
{
    return std::make_unique<SS_RhythmListItem> (row, column, pictures);
}

SearchTarget* SS_RhythmList::getTarget (int index)
{
    return index >= 0 && index < (int) targets.size() ? &targets[(size_t) index] : nullptr;
}

const Song* SS_RhythmList::getSongTarget (int index) const
{
    return index >= 0 && index < (int) targets.size() ? &targets[(size_t) index] : nullptr;
}

void SS_RhythmList::fill (const SongManager* songs, bool firstFill)
{
    stopPreview();
    targets.clear();

    if (songs != nullptr)
    {
        targets.reserve ((size_t) songs->getNumSongs());
        for (int i = 0; i < songs->getNumSongs(); ++i)
            if (const auto* song = songs->getSong (i))
            {
                // The list needs only what it shows, searches and loads.
                Song copy;
                copy.keywords = song->keywords;
                copy.tooltip = song->tooltip;
                copy.SongName = song->SongName;
                copy.BPM = song->BPM;
                copy.filePath = song->filePath;
                targets.push_back (std::move (copy));
            }
    }

    showAllTargets();
    if (firstFill)
        clearResults();
}

void SS_RhythmList::search (const juce::String& freeText, const juce::StringArray& selectedWords)
{
    stopPreview();
    runSearch (SearchQuery (freeText, selectedWords));
}

void SS_RhythmList::assignCell (SS_VScrollingUIItem& cell, int row)
{
    if (auto* rhythmCell = dynamic_cast<SS_RhythmListItem*> (&cell))
    {
        rhythmCell->setSong (getSongTarget (getResultIndex (row)));
        const bool previewed = row >= 0 && row == previewedRow;
        rhythmCell->setPreviewState (previewed ? 1 : 0, previewed ? animationFrame : 0);
    }
}

//==============================================================================
PlayState& SS_RhythmList::getTransport()
{
    return transport != nullptr ? *transport : Synchronizer::getInstance()->getMaster();
}

juce::Component* SS_RhythmList::mainComponent()
{
    // The main component is the window's drag-and-drop container; without one, the top level.
    for (auto* c = getParentComponent(); c != nullptr; c = c->getParentComponent())
        if (dynamic_cast<juce::DragAndDropContainer*> (c) != nullptr)
            return c;
    return getTopLevelComponent();
}

void SS_RhythmList::pressAt (juce::Point<int> position)
{
    const int row = rowAt (position);
    if (row < 0)
        return;

    highlightRow (row);

    const auto inCell = position - getRowBounds (row).getPosition();
    if (! SS_RhythmListItem::playSpot().contains (inCell))
        return;

    const int wasPreviewed = previewedRow;
    if (previewedRow >= 0)
    {
        if (controller != nullptr)
        {
            controller->request (StopRhythmPreview);
            controller->request (EndRhythmPreview);
        }
        previewedRow = -1;
        assignCells();
    }

    if (row == wasPreviewed)
    {
        animation.stopTimer();
        dismissCatcher();
        return;
    }

    auto& playState = getTransport();
    if (! playState.isStopped())
    {
        animation.stopTimer();
        dismissCatcher();
        playState.pause();
        return;
    }

    const auto* song = getSongTarget (getResultIndex (row));
    previewedRow = row;
    animationFrame = 0;
    dismissCatcher();
    if (auto* main = mainComponent(); main != nullptr && main != this)
        catcher = new TransparentComp (*main, this);

    if (controller != nullptr && song != nullptr)
    {
        const auto path = song->filePath.getFullPathName();
        controller->request (BeginRhythmPreview);
        controller->request (LoadSong, 0, 0, const_cast<juce::String*> (&path));
        controller->request (StartRhythmPreview);
    }
    animation.startTimer (animationMs);
    assignCells();
}

void SS_RhythmList::stopPreview()
{
    if (previewedRow < 0)
        return;

    if (controller != nullptr)
    {
        controller->request (StopRhythmPreview);
        controller->request (EndRhythmPreview);
    }
    previewedRow = -1;
    animation.stopTimer();
    dismissCatcher();
    assignCells();
}

void SS_RhythmList::dismissCatcher()
{
    if (auto* c = catcher.getComponent())
        c->dismiss();
    catcher = nullptr;
}

void SS_RhythmList::animationTick()
{
    if (previewedRow < 0)
    {
        animation.stopTimer();
        return;
    }
    animationFrame = (animationFrame + 1) % 3;
    if (auto* cell = getRhythmCell (previewedRow))
        cell->setPreviewState (1, animationFrame);
    repaint();
}

void SS_RhythmList::overlayClicked (TransparentComp&)
{
    previouslyPreviewedRow = previewedRow;
    stopPreview();
}

void SS_RhythmList::overlayMouseUp (const juce::MouseEvent& event)
{
    const auto position = event.getEventRelativeTo (this).getPosition();
    const int row = rowAt (position);
    if (row >= 0 && row != previouslyPreviewedRow)
        pressAt (position);
}

//==============================================================================
void SS_RhythmList::loadSong (const Song& song)
{
    if (controller == nullptr)
        return;
    const auto path = song.filePath.getFullPathName();
    controller->request (LoadSong, 0, 0, const_cast<juce::String*> (&path));
}

void SS_RhythmList::loadHighlighted()
{
    if (const auto* song = getSongTarget (getResultIndex (getHighlightedRow())))
        loadSong (*song);
    if (controller != nullptr)
        controller->request (RecordUndoAndMarkEdited);
}

void SS_RhythmList::mouseDown (const juce::MouseEvent& event)
{
    pressAt (event.getPosition());
}

void SS_RhythmList::mouseDoubleClick (const juce::MouseEvent& event)
{
    const int row = rowAt (event.getPosition());
    if (row < 0)
        return;
    stopPreview();
    if (const auto* song = getSongTarget (getResultIndex (row)))
        loadSong (*song);
    if (controller != nullptr)
        controller->request (RecordUndoAndMarkEdited);
}

void SS_RhythmList::mouseMove (const juce::MouseEvent& event)
{
    auto* tip = ToolTipEx::getInstance();
    const auto* song = getSongTarget (getResultIndex (rowAt (event.getPosition())));
    if (song == nullptr)
    {
        tip->hideTip();
        return;
    }
    if (song->tooltip.isEmpty())
        return;
    tip->setText (song->tooltip);
    const auto screen = event.getScreenPosition();
    tip->placeAt (screen.x, screen.y);
    tip->showTip();
}

void SS_RhythmList::mouseExit (const juce::MouseEvent&)
{
    ToolTipEx::getInstance()->hideTip();
}

} // namespace T730
