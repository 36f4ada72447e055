#include "ui/OxButtons.h"

#include "ui/OxFonts.h"

namespace T730
{

void OxDrawableButton::mouseExit (const juce::MouseEvent& event)
{
    if (exitListener != nullptr)
    {
        auto* parent = getParentComponent();
        const auto position = parent != nullptr ? event.getEventRelativeTo (parent).getPosition()
                                                : event.getPosition() + getPosition();
        exitListener->pointerLeft (*this, position);
    }

    juce::DrawableButton::mouseExit (event);
}

EditButton::EditButton (const juce::String& name) : juce::Button (name)
{
}

void EditButton::setColours (juce::Colour normal, juce::Colour underPointer)
{
    normalColour = normal;
    overColour = underPointer;
    repaint();
}

void EditButton::paintButton (juce::Graphics& g, bool isMouseOverButton, bool)
{
    g.setColour (isMouseOverButton ? overColour : normalColour);
    g.setFont (arialFont (10.0f));
    g.drawText (getName(), getLocalBounds(), juce::Justification::centredRight, true);
}

std::unique_ptr<juce::Drawable> makeDrawable (const juce::Image& picture)
{
    if (! picture.isValid())
        return nullptr;

    auto drawable = std::make_unique<juce::DrawableImage>();
    drawable->setImage (picture);
    return drawable;
}

} // namespace T730
