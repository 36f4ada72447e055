#include "ui/T730LookAndFeel.h"

#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "ui/OxFonts.h"

namespace T730
{

namespace
{
    const juce::Colour orange (255, 155, 0);

    /** A title bar button of two pictures: normal, and under the pointer or pressed. */
    juce::Button* makeTitleButton (const juce::String& name, art::Picture normal, art::Picture over)
    {
        auto* button = new juce::ImageButton (name);
        const auto normalImage = art::getImage (normal);
        const auto overImage = art::getImage (over);
        button->setImages (false, true, true, normalImage, 1.0f, {}, overImage, 1.0f, {}, overImage, 1.0f, {});
        button->setSize (layout::titleButtonWidth, layout::titleButtonHeight);
        button->setTooltip (name);
        return button;
    }
} // namespace

juce::LookAndFeel_V4::ColourScheme T730LookAndFeel::getProgramColourScheme()
{
    return { 0xff141416,   // window background
             0xff1f1f23,   // widget background
             0xff1a1a1d,   // menu background
             0xff3c3c44,   // outline
             0xffff9b00,   // default text
             0xff2e2e34,   // default fill
             0xff000000,   // highlighted text
             0xffff9b00,   // highlighted fill
             0xffff9b00 }; // menu text
}

T730LookAndFeel::T730LookAndFeel()
    : juce::LookAndFeel_V4 (getProgramColourScheme()),
      titleBar (art::getImage (art::Picture::titleBar))
{
    setDefaultSansSerifTypefaceName (arialTypefaceName());

    setColour (juce::DocumentWindow::textColourId, juce::Colours::black);
    setColour (juce::ResizableWindow::backgroundColourId, juce::Colours::black);
    setColour (juce::TooltipWindow::backgroundColourId, juce::Colour (0xffeeeebb));
    setColour (juce::TooltipWindow::textColourId, juce::Colours::black);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, orange);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::black);
    setColour (juce::TextEditor::backgroundColourId, juce::Colours::black);
    setColour (juce::TextEditor::textColourId, orange);
    setColour (juce::TextEditor::highlightColourId, orange);
    setColour (juce::TextEditor::highlightedTextColourId, juce::Colours::black);
    setColour (juce::CaretComponent::caretColourId, orange);
    setColour (juce::Label::textColourId, orange);
    setColour (juce::TextButton::buttonColourId, juce::Colour (0xff2e2e34));
    setColour (juce::TextButton::textColourOffId, orange);
}

void T730LookAndFeel::drawDocumentWindowTitleBar (juce::DocumentWindow& window, juce::Graphics& g, int w, int h,
                                                  int titleSpaceX, int titleSpaceW, const juce::Image* icon,
                                                  bool drawTitleTextOnLeft)
{
    if (w * h == 0)
        return;

    const bool isActive = window.isActiveWindow();

    if (titleBar.isValid())
        g.drawImageAt (titleBar, 0, 0);
    else
        g.fillAll (juce::Colour (0xff2a2a2e));

    const auto font = arialFont ((float) h * 0.65f, juce::Font::bold);
    g.setFont (font);

    int textW = font.getStringWidth (window.getName());
    int iconW = 0, iconH = 0;

    if (icon != nullptr && icon->isValid())
    {
        iconH = h;
        iconW = icon->getWidth() * iconH / juce::jmax (1, icon->getHeight()) + 4;
    }

    textW = juce::jmin (titleSpaceW, textW + iconW);
    int textX = drawTitleTextOnLeft ? titleSpaceX : juce::jmax (titleSpaceX, (w - textW) / 2);

    if (textX + textW > titleSpaceX + titleSpaceW)
        textX = titleSpaceX + titleSpaceW - textW;

    if (iconW > 0)
    {
        g.setOpacity (isActive ? 1.0f : 0.6f);
        g.drawImageWithin (*icon, textX, (h - iconH) / 2, iconW - 4, iconH, juce::RectanglePlacement::centred, false);
        textX += iconW;
        textW -= iconW;
    }

    g.setColour (juce::Colours::black.withAlpha (isActive ? 1.0f : 0.7f));
    g.drawText (window.getName(), textX, 0, textW, h, juce::Justification::centredLeft, true);
}

juce::Button* T730LookAndFeel::createDocumentWindowButton (int buttonType)
{
    if (buttonType == juce::DocumentWindow::closeButton)
        return makeTitleButton ("close", art::Picture::titleClose, art::Picture::titleCloseOver);

    if (buttonType == juce::DocumentWindow::minimiseButton)
        return makeTitleButton ("minimise", art::Picture::titleMinimise, art::Picture::titleMinimiseOver);

    return juce::LookAndFeel_V4::createDocumentWindowButton (buttonType);
}

void T730LookAndFeel::positionDocumentWindowButtons (juce::DocumentWindow&, int titleBarX, int titleBarY,
                                                     int titleBarW, int titleBarH, juce::Button* minimiseButton,
                                                     juce::Button* maximiseButton, juce::Button* closeButton,
                                                     bool positionTitleBarButtonsOnLeft)
{
    constexpr int gap = 4;
    const int w = layout::titleButtonWidth, h = layout::titleButtonHeight;
    const int y = titleBarY + (titleBarH - h) / 2 - 1;
    int x = positionTitleBarButtonsOnLeft ? titleBarX + gap : titleBarX + titleBarW - gap - w;
    const int step = positionTitleBarButtonsOnLeft ? w + gap : -(w + gap);

    for (auto* b : { closeButton, maximiseButton, minimiseButton })
    {
        if (b == nullptr)
            continue;

        b->setBounds (x, y, w, h);
        x += step;
    }
}

void T730LookAndFeel::drawScrollbar (juce::Graphics& g, juce::ScrollBar&, int x, int y, int width, int height,
                                     bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool, bool)
{
    const float thickness = (float) (isScrollbarVertical ? width : height);
    const float inset = juce::jmin (width, height) < 16 ? 0.0f : 1.0f;

    juce::Rectangle<float> track ((float) x, (float) y, (float) width, (float) height);
    track = track.reduced (inset);
    const float trackRadius = (isScrollbarVertical ? track.getWidth() : track.getHeight()) * 0.5f;

    // The track: a gradient across the bar over the base grey.
    g.setColour (juce::Colour (0xffa0a0a0));
    g.fillRoundedRectangle (track, trackRadius);
    const auto across = isScrollbarVertical
                            ? juce::ColourGradient (juce::Colour (0x19000000), track.getX(), 0.0f,
                                                    juce::Colour (0x44000000), track.getRight(), 0.0f, false)
                            : juce::ColourGradient (juce::Colour (0x19000000), 0.0f, track.getY(),
                                                    juce::Colour (0x44000000), 0.0f, track.getBottom(), false);
    g.setGradientFill (across);
    g.fillRoundedRectangle (track, trackRadius);
    g.setColour (juce::Colour (0x4c000000));
    g.drawRoundedRectangle (track, trackRadius, 0.4f);

    if (thumbSize <= 0)
        return;

    // The thumb: 0.7 of the thickness, centred across the bar.
    const float thumbThickness = (thickness - inset * 2.0f) * 0.7f;
    juce::Rectangle<float> thumb = isScrollbarVertical
        ? juce::Rectangle<float> (track.getCentreX() - thumbThickness * 0.5f, (float) thumbStartPosition,
                                  thumbThickness, (float) thumbSize)
        : juce::Rectangle<float> ((float) thumbStartPosition, track.getCentreY() - thumbThickness * 0.5f,
                                  (float) thumbSize, thumbThickness);
    const float thumbRadius = thumbThickness * 0.5f;

    const auto fill = isScrollbarVertical
                          ? juce::ColourGradient (juce::Colours::transparentBlack, thumb.getX(), 0.0f,
                                                  juce::Colour (0x19000000), thumb.getRight(), 0.0f, false)
                          : juce::ColourGradient (juce::Colours::transparentBlack, 0.0f, thumb.getY(),
                                                  juce::Colour (0x19000000), 0.0f, thumb.getBottom(), false);
    g.setColour (juce::Colour (0xffd8d8d8));
    g.fillRoundedRectangle (thumb, thumbRadius);
    g.setGradientFill (fill);
    g.fillRoundedRectangle (thumb, thumbRadius);

    {
        // The highlight over the thumb's first half.
        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion ((isScrollbarVertical ? thumb.withWidth (thumb.getWidth() * 0.5f)
                                                 : thumb.withHeight (thumb.getHeight() * 0.5f)).toNearestInt());
        g.setColour (juce::Colour (0x10000000));
        g.fillRoundedRectangle (thumb, thumbRadius);
    }

    g.setColour (juce::Colour (0x4c000000));
    g.drawRoundedRectangle (thumb, thumbRadius, 0.4f);
}

juce::Label* T730LookAndFeel::createSliderTextBox (juce::Slider& slider)
{
    auto* label = juce::LookAndFeel_V4::createSliderTextBox (slider);
    label->setFont (arialFont (10.0f));
    label->setJustificationType (juce::Justification::centred);
    return label;
}

juce::Typeface::Ptr T730LookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    if (font.getTypefaceName() == "Arial" && arialTypefaceName() != "Arial")
    {
        auto mapped = font;
        mapped.setTypefaceName (arialTypefaceName());
        return juce::LookAndFeel_V4::getTypefaceForFont (mapped);
    }

    return juce::LookAndFeel_V4::getTypefaceForFont (font);
}

juce::Font T730LookAndFeel::getMenuBarFont (juce::MenuBarComponent& bar, int, const juce::String&)
{
    return arialFont ((float) bar.getHeight() * 0.6f);
}

juce::Font T730LookAndFeel::getPopupMenuFont()
{
    return arialFont (14.0f);
}

void T730LookAndFeel::drawMenuBarBackground (juce::Graphics& g, int width, int height, bool, juce::MenuBarComponent&)
{
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff26262b), 0.0f, 0.0f, juce::Colour (0xff141416), 0.0f,
                                             (float) height, false));
    g.fillRect (0, 0, width, height);
    g.setColour (juce::Colours::black);
    g.drawHorizontalLine (height - 1, 0.0f, (float) width);
}

} // namespace T730
