#include "search/SectionSearch.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "editor/ModuleNameLoader.h"
#include "ui/ControllerLink.h"
#include "ui/OxButtons.h"

namespace T730
{

namespace
{
    namespace L = layout;
    using art::Picture;

    constexpr int sectionEditor = 0x08;

    struct ButtonPlan
    {
        const char* name;
        Picture plain, lit;
        L::Box bounds;
        const char* tooltip;
    };

    const ButtonPlan buttonPlans[SectionSearch::numButtons] = {
        { "RHYTHM LOAD", Picture::searchRhythmLoad, Picture::searchRhythmLoadLit, L::searchRhythmLoadButton,
          "Load the highlighted rhythm into the rhythm machine" },
        { "PATCH LOAD", Picture::searchPatchLoad, Picture::searchPatchLoadLit, L::searchPatchLoadButton,
          "Load the highlighted patch and send it to the M7c" },
        { "CLEAR", Picture::searchClear, Picture::searchClearLit, L::searchClearButton,
          "Forget the picked words and the free text" },
    };

    void place (juce::Component& c, const L::Box& b) { c.setBounds (b.x, b.y, b.w, b.h); }
} // namespace

SectionSearch::SectionSearch (ControllerLink& c)
    : controller (c), rhythmList (&c), patchList (&c),
      background (art::getImage (Picture::searchBackground)),
      freeTextFrame (art::getImage (Picture::searchFreeTextFrame))
{
    controller.request (GetPatchManager, 0, 0, &patchManager);
    controller.request (GetSongManager, 0, 0, &songManager);

    // The character charts read the value tables of the module catalogue, made once.
    if (auto* catalogue = ModuleNameLoader::getInstance())
    {
        buildCatalogueValueTables (*catalogue);
        chart = CharacterChart::fromCatalogue (*catalogue);
    }
    patchList.setChart (&chart);

    place (freeText, L::searchFreeTextField);
    freeText.addListener (&wordList);
    addAndMakeVisible (freeText);

    for (int i = 0; i < numButtons; ++i)
    {
        const auto& plan = buttonPlans[i];
        auto& button = buttons[i];
        button = std::make_unique<juce::DrawableButton> ("", juce::DrawableButton::ImageRaw);
        button->setName (plan.name);
        const auto plain = makeDrawable (art::getImage (plan.plain));
        const auto lit = makeDrawable (art::getImage (plan.lit));
        // Plain while idle and under the pointer, lit while pressed; the
        // pictures keep their size (the load buttons show their upper left part).
        button->setImages (plain.get(), plain.get(), lit.get());
        button->setColour (juce::DrawableButton::backgroundColourId, juce::Colours::transparentBlack);
        button->setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
        button->setTooltip (plan.tooltip);
        button->setWantsKeyboardFocus (false);
        button->setMouseClickGrabsKeyboardFocus (false);
        place (*button, plan.bounds);
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    place (wordList, L::searchWordGrid);
    place (patchList, L::searchPatchList);
    place (rhythmList, L::searchRhythmList);
    patchList.setUpResultList (SS_PatchList::columnWidth, SS_PatchList::rowHeight);
    rhythmList.setUpResultList (SS_RhythmList::columnWidth, SS_RhythmList::rowHeight);
    wordList.setListListeners (&rhythmList, &patchList);
    for (auto* list : std::initializer_list<EditableTable*> { &wordList, &rhythmList, &patchList })
    {
        list->setListener (this);
        addAndMakeVisible (*list);
    }

    setSize (L::searchWidth, L::searchHeight);

    // The first fill: every word, nothing picked, no results until the first search.
    rebuildWords();
    wordList.fill (words, true);
    rhythmList.fill (songManager, true);
    patchList.fill (patchManager, true);
}

SectionSearch::~SectionSearch()
{
    freeText.removeListener (&wordList);
    for (auto& button : buttons)
        button->removeListener (this);
    for (auto* list : std::initializer_list<EditableTable*> { &wordList, &rhythmList, &patchList })
        list->setListener (nullptr);
}

void SectionSearch::rebuildWords()
{
    words = buildKeywordWords (patchManager, songManager);
}

void SectionSearch::refresh()
{
    rebuildWords();
    wordList.fill (words, false);

    const int rhythmRow = rhythmList.getHighlightedRow();
    const int patchRow = patchList.getHighlightedRow();

    rhythmList.fill (songManager, false);
    patchList.fill (patchManager, false);

    wordList.searchAll();

    rhythmList.highlightRow (rhythmRow);
    patchList.highlightRow (patchRow);

    controller.postRepaint (sectionEditor);
    OxSection::updateSection();
}

void SectionSearch::paint (juce::Graphics& g)
{
    if (background.isValid())
        g.drawImageAt (background, 0, 0);
    if (freeTextFrame.isValid())
        g.drawImageAt (freeTextFrame, L::searchFreeTextFrame.x, L::searchFreeTextFrame.y);
}

void SectionSearch::buttonClicked (juce::Button* button)
{
    if (button == buttons[rhythmLoadButton].get())
        rhythmList.loadHighlighted();
    else if (button == buttons[patchLoadButton].get())
        patchList.loadHighlighted();
    else if (button == buttons[clearButton].get())
    {
        freeText.setText ({}, juce::dontSendNotification);
        wordList.clearAll();
    }
}

} // namespace T730
