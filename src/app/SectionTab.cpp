#include "app/SectionTab.h"

#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "ui/OxButtons.h"

namespace T730
{

namespace
{
    namespace L = layout;

    struct TabSpec
    {
        const char* name;
        art::Picture off, on;
        const char* tooltip;
    };

    constexpr TabSpec tabSpecs[4] = {
        { "TAB_BTN_SEARCH", art::Picture::tabSearchOff, art::Picture::tabSearchOn, "Search patches and songs" },
        { "TAB_BTN_LIBRARIAN", art::Picture::tabLibrarianOff, art::Picture::tabLibrarianOn, "Patch groups and the device's patches" },
        { "TAB_BTN_TUNER", art::Picture::tabTunerOff, art::Picture::tabTunerOn, "Tuner" },
        { "TAB_BTN_DOWNLOAD", art::Picture::tabDownloadOff, art::Picture::tabDownloadOn, "Download patch sets and rhythms" },
    };
} // namespace

SectionTab::SectionTab (ControllerLink& controller)
    : search (controller), librarian (controller), tuner (controller), download (controller)
{
    setBounds (L::tabSection.x, L::tabSection.y, L::tabSection.w, L::tabSection.h);

    for (int i = 0; i < 4; ++i)
    {
        auto& tab = tabs[i];
        tab = std::make_unique<juce::DrawableButton> (tabSpecs[i].name, juce::DrawableButton::ImageRaw);
        const auto off = makeDrawable (art::getImage (tabSpecs[i].off));
        const auto on = makeDrawable (art::getImage (tabSpecs[i].on));
        // Off: the off picture, also while pressed. On: the on picture, also under the pointer and pressed.
        tab->setImages (off.get(), nullptr, off.get(), nullptr, on.get(), on.get(), on.get());
        tab->setBounds (L::tabX[i], L::tabY, L::tabWidth, L::tabHeight);
        tab->setClickingTogglesState (true);
        tab->setRadioGroupId (radioGroup);
        tab->setWantsKeyboardFocus (false);
        tab->setMouseClickGrabsKeyboardFocus (false);
        tab->setColour (juce::DrawableButton::backgroundColourId, juce::Colours::transparentBlack);
        tab->setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
        tab->setTooltip (tabSpecs[i].tooltip);
        tab->addListener (this);
        addAndMakeVisible (*tab);
    }

    for (auto* page : std::initializer_list<juce::Component*> { &search, &librarian, &tuner, &download })
        page->setBounds ({});

    download.setListener (this);
    selectPage (&search);
    tabs[0]->setToggleState (true, juce::dontSendNotification);
}

SectionTab::~SectionTab()
{
    download.setListener (nullptr);
    for (auto& tab : tabs)
        tab->removeListener (this);
}

juce::Component* SectionTab::pageOf (int tabIndex) noexcept
{
    switch (tabIndex)
    {
        case 0: return &search;
        case 1: return &librarian;
        case 2: return &tuner;
        case 3: return &download;
        default: return nullptr;
    }
}

void SectionTab::buttonClicked (juce::Button* button)
{
    // The radio group turning the other tabs off reports those as clicks too.
    if (! button->getToggleState())
        return;

    for (int i = 0; i < 4; ++i)
    {
        if (button == tabs[i].get())
        {
            tabs[i]->setToggleState (true, juce::dontSendNotification);
            selectPage (pageOf (i));
            return;
        }
    }
}

void SectionTab::selectPage (juce::Component* page)
{
    if (page == nullptr || page == currentPage)
        return;

    if (currentPage != nullptr)
    {
        currentPage->setVisible (false);
        currentPage->setBounds ({});
        removeChildComponent (currentPage);
    }

    page->setBounds (L::pageArea.x, L::pageArea.y, L::pageArea.w, L::pageArea.h);
    addAndMakeVisible (page);
    page->repaint();
    currentPage = page;
    const bool shown = page == &tuner;
    if (tunerShown.exchange (shown) != shown && onTunerShownChanged)
        onTunerShownChanged (shown);
    repaint();
}

void SectionTab::updateSection()
{
    librarian.refresh();
    search.updateLists();
    OxSection::updateSection();
}

} // namespace T730
