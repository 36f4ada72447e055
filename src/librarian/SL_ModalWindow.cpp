#include "librarian/SL_ModalWindow.h"

#include "art/ArtLayout.h"
#include "art/ProgramArt.h"

namespace T730
{

namespace
{
    namespace L = layout;
    using art::Picture;

    SL_ModalWindow::Pictures picturesOf (Picture background, Picture upper, Picture upperOver, Picture lower,
                                         Picture lowerOver)
    {
        return { art::getImage (background), art::getImage (upper), art::getImage (upperOver), art::getImage (lower),
                 art::getImage (lowerOver) };
    }

    void setUp (juce::ImageButton& button, const juce::Image& normal, const juce::Image& over)
    {
        // The buttons overlap: only the drawn part of a picture takes clicks.
        button.setImages (false, false, true, normal, 1.0f, {}, over, 1.0f, {}, over, 1.0f, {}, 0.3f);
        const auto& size = over.isValid() ? over : normal;
        button.setSize (size.isValid() ? size.getWidth() : L::wizardButtonWidth,
                        size.isValid() ? size.getHeight() : L::wizardButtonHeight);
        button.setWantsKeyboardFocus (false);
    }
} // namespace

SL_ModalWindow::Pictures SL_ModalWindow::patchGroupWizard()
{
    return picturesOf (Picture::wizardPatchGroup, Picture::wizardImport, Picture::wizardImportOver,
                       Picture::wizardExport, Picture::wizardExportOver);
}

SL_ModalWindow::Pictures SL_ModalWindow::backupWizard()
{
    return picturesOf (Picture::wizardBackup, Picture::wizardBackupButton, Picture::wizardBackupButtonOver,
                       Picture::wizardRestore, Picture::wizardRestoreOver);
}

SL_ModalWindow::Pictures SL_ModalWindow::patchWizard()
{
    return picturesOf (Picture::wizardPatch, Picture::wizardImport, Picture::wizardImportOver, Picture::wizardExport,
                       Picture::wizardExportOver);
}

SL_ModalWindow::SL_ModalWindow (Pictures p) : pictures (std::move (p))
{
    setUp (upper, pictures.upper, pictures.upperOver);
    setUp (lower, pictures.lower, pictures.lowerOver);
    upper.setTopLeftPosition (L::wizardButtonX, L::wizardUpperY);
    lower.setTopLeftPosition (L::wizardButtonX, L::wizardLowerY);
    upper.addListener (this);
    lower.addListener (this);
    addAndMakeVisible (upper);
    addAndMakeVisible (lower);

    if (pictures.background.isValid())
        setSize (pictures.background.getWidth(), pictures.background.getHeight());
    else
        setSize (L::wizardWidth, L::wizardHeight);
}

SL_ModalWindow::~SL_ModalWindow()
{
    upper.removeListener (this);
    lower.removeListener (this);
}

void SL_ModalWindow::paint (juce::Graphics& g)
{
    if (pictures.background.isValid())
        g.drawImageAt (pictures.background, 0, 0);
    else
        g.fillAll (juce::Colours::black);
}

void SL_ModalWindow::buttonClicked (juce::Button* button)
{
    result = button == &upper ? upperResult : lowerResult;

    // The window that holds the chooser runs the modal loop.
    if (auto* window = getTopLevelComponent(); window != nullptr && window->isCurrentlyModal (false))
        window->exitModalState (result);
    else if (isCurrentlyModal (false))
        exitModalState (result);
}

} // namespace T730
