#include "ui/OxCursors.h"

#include "art/ProgramArt.h"
#include "platform/SharedInstance.h"

namespace T730
{

namespace
{
    constexpr art::Picture pictures[] = { art::Picture::cursor1, art::Picture::cursor2, art::Picture::cursor3,
                                          art::Picture::cursor4, art::Picture::cursor5, art::Picture::cursor6 };
    constexpr juce::Point<int> hotSpots[] = { { 2, 2 }, { 12, 12 }, { 12, 12 }, { 6, 0 }, { 0, 0 }, { 10, 10 } };
} // namespace

OxCursors* OxCursors::getInstance()
{
    return SharedInstance<OxCursors>::get ([] { return std::make_unique<OxCursors>(); });
}

void OxCursors::deleteInstance()
{
    SharedInstance<OxCursors>::destroy();
}

OxCursors::OxCursors()
{
    cursors[0] = juce::MouseCursor (juce::MouseCursor::NormalCursor);

    for (int i = 1; i <= 6; ++i)
    {
        const auto image = art::getImage (pictures[i - 1]);
        const auto hot = hotSpots[i - 1];
        cursors[i] = image.isValid() ? juce::MouseCursor (image, hot.x, hot.y)
                                     : juce::MouseCursor (juce::MouseCursor::NormalCursor);
    }
}

juce::MouseCursor OxCursors::getCursor (int number) const
{
    if (number < 1 || number > 6)
        return cursors[0];

    return cursors[number];
}

juce::Point<int> OxCursors::getHotSpot (int number)
{
    if (number < 1 || number > 6)
        return {};

    return hotSpots[number - 1];
}

} // namespace T730
