#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** The program's look: the title bar picture (700 x 26) behind the window title
    and the program's own title bar buttons, rounded scroll bars, small centred
    slider text boxes, dark menus with orange lettering, and "Arial" taken from
    the metric-compatible face of this system. Built on JUCE's fourth look and
    feel, which still offers every drawing hook used here. */
class T730LookAndFeel : public juce::LookAndFeel_V4
{
public:
    T730LookAndFeel();

    void drawDocumentWindowTitleBar (juce::DocumentWindow& window, juce::Graphics& g, int w, int h,
                                     int titleSpaceX, int titleSpaceW, const juce::Image* icon,
                                     bool drawTitleTextOnLeft) override;

    juce::Button* createDocumentWindowButton (int buttonType) override;

    void positionDocumentWindowButtons (juce::DocumentWindow& window, int titleBarX, int titleBarY, int titleBarW,
                                        int titleBarH, juce::Button* minimiseButton, juce::Button* maximiseButton,
                                        juce::Button* closeButton, bool positionTitleBarButtonsOnLeft) override;

    void drawScrollbar (juce::Graphics& g, juce::ScrollBar& bar, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool isMouseOver,
                        bool isMouseDown) override;

    juce::Label* createSliderTextBox (juce::Slider& slider) override;

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    juce::Font getMenuBarFont (juce::MenuBarComponent& bar, int itemIndex, const juce::String& itemText) override;
    juce::Font getPopupMenuFont() override;
    void drawMenuBarBackground (juce::Graphics& g, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent& bar) override;

    /** The title bar picture (invalid when it is missing: the bar is then filled dark). */
    const juce::Image& getTitleBarPicture() const noexcept { return titleBar; }

    /** The colours of the program's dark scheme. */
    static juce::LookAndFeel_V4::ColourScheme getProgramColourScheme();

private:
    juce::Image titleBar;

    JUCE_DECLARE_NON_COPYABLE (T730LookAndFeel)
};

} // namespace T730
