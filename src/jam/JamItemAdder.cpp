#include "jam/JamItemAdder.h"

#include "art/ArtLayout.h"
#include "art/ProgramArt.h"

namespace T730
{

JamItemAdder::JamItemAdder()
    : singleImage (art::getImage (art::Picture::jamAdderSingle)), doubleImage (art::getImage (art::Picture::jamAdderDouble))
{
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    setChoiceMode (1);
}

void JamItemAdder::setChoiceMode (int mode)
{
    choiceMode = mode != 0 ? 1 : 0;
    const auto& image = choiceMode == 1 ? doubleImage : singleImage;
    if (image.isValid())
        setSize (image.getWidth(), image.getHeight());
    else
        setSize (layout::jamAdderWidth, layout::jamAdderHeight);

    setTooltip (choiceMode == 1 ? "Add a rhythm machine (left) or a recorder (right)" : "Add a recorder");
    repaint();
}

int JamItemAdder::kindAt (int x) const noexcept
{
    if (choiceMode == 0)
        return 1;
    if (x <= layout::jamAdderRhythmRight)
        return 0;
    if (x >= layout::jamAdderRecorderLeft)
        return 1;
    return -1;
}

void JamItemAdder::paint (juce::Graphics& g)
{
    const auto& image = choiceMode == 1 ? doubleImage : singleImage;
    if (image.isValid())
        g.drawImageAt (image, 0, 0);
}

void JamItemAdder::mouseUp (const juce::MouseEvent& event)
{
    if (! event.mouseWasClicked() || ! contains (event.getPosition()))
        return;

    if (const int kind = kindAt (event.x); kind >= 0 && listener != nullptr)
        listener->addJamItem (kind);
}

} // namespace T730
