#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** A small chooser of two picture buttons, run in a modal window: the upper
    button ends the window's modal loop with 1000, the lower one with 2000;
    closing the window gives 0. The librarian builds three of them: the patch
    group wizard (IMPORT, EXPORT), the backup wizard (BACKUP, RESTORE) and the
    patch wizard (IMPORT, EXPORT). Message thread only. */
class SL_ModalWindow : public juce::Component, private juce::Button::Listener
{
public:
    /** The background (199 x 82, the chooser's size) and the normal and
        pointer-over pictures of the two buttons (87 x 44). */
    struct Pictures
    {
        juce::Image background, upper, upperOver, lower, lowerOver;
    };

    static Pictures patchGroupWizard();
    static Pictures backupWizard();
    static Pictures patchWizard();

    explicit SL_ModalWindow (Pictures pictures);
    ~SL_ModalWindow() override;

    void paint (juce::Graphics& g) override;

    juce::ImageButton& getUpperButton() noexcept { return upper; }
    juce::ImageButton& getLowerButton() noexcept { return lower; }

    /** What the last click chose (0 before any). */
    int getResult() const noexcept { return result; }

    static constexpr int upperResult = 1000, lowerResult = 2000;

private:
    void buttonClicked (juce::Button* button) override;

    juce::ImageButton upper { "upper" }, lower { "lower" };
    Pictures pictures;
    int result = 0;

    JUCE_DECLARE_NON_COPYABLE (SL_ModalWindow)
};

} // namespace T730
